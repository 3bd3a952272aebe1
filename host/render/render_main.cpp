// avrion-render: loads the gauge module as the simulator does, runs it for some frames and draws what the panel
// would show: every window of a panel layout and a contact sheet of all the module's gauges, as PNG files.
#include <cctype>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "cli/host_paths.h"
#include "loader/module_host.h"
#include "render/bitmap_store.h"
#include "render/contact_sheet.h"
#include "render/gauge_renderer.h"
#include "render/label.h"
#include "render/panel_layout.h"
#include "render/window_drawing.h"
#include "sim/host_desktop.h"
#include "sim/click_schedule.h"
#include "sim/module_run.h"
#include "sim/variable_settings.h"

namespace {

constexpr int kMostFrames = 1'000'000;

struct Options {
    std::string modulePath, simRoot, bitmapFolder, layoutPath, outputFolder, objects;
    int frames = 0;
    std::vector<SlotSetting> slots;
    std::vector<VariableSetting> variables;
    ClickSchedule clicks;
    bool allWindows = false;
    bool eachGauge = false;
};

std::optional<int> ParseOptions(int argc, char** argv, Options& options) {
    CLI::App app{"Loads the gauge module as the simulator does, runs it for some frames and draws what the panel "
                 "would show: every window of a panel layout and a contact sheet of all the module's gauges, as PNG "
                 "files.",
                 "avrion-render"};
    command_line::Describe(app);
    app.add_option("MODULE", options.modulePath, "the gauge module (Kesta_Avrion_0_018.so)")->required();
    app.add_option("SIM_ROOT", options.simRoot, "simulator root folder with Gauges/ and Aircraft/")->required();
    app.add_option("BITMAP_FOLDER", options.bitmapFolder, "the module's bitmaps as <id>.bmp")->required();
    app.add_option("LAYOUT", options.layoutPath, "panel.cfg naming the windows and where their gauges go")->required();
    app.add_option("FRAMES", options.frames, "simulator frames to run before drawing")
        ->required()
        ->check(CLI::Range(0, kMostFrames));
    app.add_option("OUTPUT_FOLDER", options.outputFolder, "where windowNN.png and contact-sheet.png are written")
        ->required();
    command_line::AddSlots(app, options.slots, "; the bus, slot 109, is powered unless given here");
    command_line::AddVariables(app, options.variables);
    command_line::AddClicks(app, options.clicks);
    app.add_flag("--all-windows", options.allWindows, "draw the hidden windows too");
    app.add_flag("--each-gauge", options.eachGauge, "also write every gauge alone, as gauge-NAME.png");
    command_line::AddObjects(app, options.objects, "a table of the run's own, removed when it ends");
    if (auto status = command_line::Parse(app, argc, argv)) return status;
    // Relative paths are the caller's: the module's simulator root becomes the working folder below.
    for (std::string* path :
         {&options.modulePath, &options.simRoot, &options.bitmapFolder, &options.layoutPath, &options.outputFolder})
        *path = host_paths::Absolute(*path);
    if (!options.objects.empty()) options.objects = host_paths::Absolute(options.objects);
    return std::nullopt;
}

// A gauge name as part of a file name: the module's own text, kept from leaving the output folder.
std::string FileNamePart(std::string_view name) {
    std::string part(name);
    for (char& c : part)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') c = '_';
    return part;
}

std::string WindowFileName(const render::PanelWindow& window) {
    std::string number = std::to_string(window.number);
    if (number.size() < 2) number.insert(0, 2 - number.size(), '0');
    return "window" + number + ".png";
}

// Loads, runs and draws; the exit status.
int Run(Options& options) {
    render::PanelLayout layout;
    if (std::string error = render::ReadPanelLayout(options.layoutPath, layout); !error.empty()) {
        std::cerr << "avrion-render: " << error << "\n";
        return 2;
    }
    std::error_code folderError;
    std::filesystem::create_directories(options.outputFolder, folderError);
    if (folderError) {
        std::cerr << "avrion-render: cannot make " << options.outputFolder << ": " << folderError.message() << "\n";
        return 2;
    }

    RunSetup setup;
    setup.simRoot = options.simRoot;
    setup.modulePath = options.modulePath;
    setup.objects = options.objects;
    setup.variables = options.variables;
    setup.slots = options.slots;
    setup.powerTheBus = true;
    std::string error;
    std::vector<std::string> warnings;
    const auto run = ModuleRun::Open(setup, error, &warnings);
    if (!run) {
        std::cerr << "avrion-render: " << error << "\n";
        return 2;
    }
    if (!run->siblings().valid()) std::cerr << "avrion-render: warning: cannot hold the shared slot block open\n";
    for (const std::string& warning : warnings) std::cerr << "avrion-render: warning: " << warning << "\n";
    if (std::string fault = run->Load(); !fault.empty()) {
        std::cerr << "avrion-render: " << fault << "\n";
        return 1;
    }
    Simulator& simulator = run->simulator();
    ModuleHost& host = run->host();
    for (std::uint32_t ident : render::InitiallyVisibleIdents(layout)) simulator.ShowWindow(ident, true);

    render::BitmapStore bitmaps(options.bitmapFolder);
    render::GaugeRenderer renderer(bitmaps);
    const render::GaugeDirectory directory(host.gauges(), std::filesystem::path(options.modulePath).stem().string());
    render::PlaceGauges(layout, directory, renderer, host);
    for (int frame = 0; frame < options.frames; ++frame) {
        for (const std::string& problem : options.clicks.BeforeFrame(frame, host))
            std::cerr << "avrion-render: warning: " << problem << "\n";
        host.RunFrame();
        renderer.BeginFrame();
        for (const render::PanelWindow* window : render::ShownWindows(layout, simulator))
            render::UpdateWindow(*window, directory, renderer);
    }

    int failures = 0;
    auto write = [&](cairo_surface_t* picture, const std::string& name, const std::string& what) {
        const std::string path = (std::filesystem::path(options.outputFolder) / name).string();
        if (std::string error = render::WritePng(picture, path); !error.empty()) {
            std::cerr << "avrion-render: " << error << "\n";
            ++failures;
            return;
        }
        std::cout << path << ": " << what << "\n";
    };
    for (const render::PanelWindow& window : layout.windows) {
        const bool shown = simulator.IsWindowShown(window.ident);
        if (!shown && !options.allWindows) {
            std::cout << "window " << window.ident << " (" << window.title << ") is hidden; not drawn\n";
            continue;
        }
        render::Surface picture = render::DrawWindow(window, directory, renderer);
        write(picture.get(), WindowFileName(window),
              "window " + std::to_string(window.ident) + " (" + window.title + ")" + (shown ? "" : ", hidden"));
    }
    if (options.eachGauge)
        for (const GAUGEHDR* gauge : host.gauges()) {
            if (gauge->name == nullptr) continue;
            render::Surface picture = renderer.DrawGauge(gauge);
            write(picture.get(), "gauge-" + FileNamePart(gauge->name) + ".png", "gauge " + std::string(gauge->name));
        }
    render::Surface sheet = render::DrawContactSheet(host.gauges(), renderer);
    write(sheet.get(), "contact-sheet.png", std::to_string(host.gauges().size()) + " gauges");

    for (const HostDesktop::Message& message : HostDesktop::Instance().messages())
        std::cerr << "avrion-render: the module showed a message box: " << message.caption << ": " << message.text
                  << "\n";
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const auto status = ParseOptions(argc, argv, options)) return *status;
    const int status = Run(options);
    render::ReleaseFontCaches();
    return status;
}
