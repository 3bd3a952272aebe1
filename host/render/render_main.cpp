// avrion-render: loads the gauge module as the simulator does, runs it for some frames and draws what the panel
// would show: every window of a panel layout and a contact sheet of all the module's gauges, as PNG files.
#include <cctype>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/click_schedule.h"
#include "loader/module_host.h"
#include "render/bitmap_store.h"
#include "render/contact_sheet.h"
#include "render/gauge_renderer.h"
#include "render/label.h"
#include "render/panel_layout.h"
#include "render/window_drawing.h"
#include "sim/host_desktop.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"
#include "sim/variable_settings.h"

namespace {

constexpr const char* kUsage =
    "usage: avrion-render MODULE SIM_ROOT BITMAP_FOLDER LAYOUT FRAMES OUTPUT_FOLDER [options]\n"
    "  MODULE          the gauge module (Kesta_Avrion_0_018.so)\n"
    "  SIM_ROOT        simulator root folder with Gauges/ and Aircraft/\n"
    "  BITMAP_FOLDER   the module's bitmaps as <id>.bmp\n"
    "  LAYOUT          panel.cfg naming the windows and where their gauges go\n"
    "  FRAMES          simulator frames to run before drawing\n"
    "  OUTPUT_FOLDER   where windowNN.png and contact-sheet.png are written\n"
    "options:\n"
    "  --slot N=VALUE  set shared slot N as a sibling module would (repeatable; the bus, slot 109, is powered\n"
    "                  unless given here)\n"
    "  --var NAME=VALUE  set a simulator variable, by name or token (repeatable)\n"
    "  --vars FILE     read NAME = VALUE lines from a file\n"
    "  --click F:GAUGE:N[:left|right|hold=K]\n"
    "                  at frame F click mouse area N of GAUGE (hold: press, hold K frames, release)\n"
    "  --all-windows   draw the hidden windows too\n"
    "  --each-gauge    also write every gauge alone, as gauge-NAME.png\n";

constexpr int kBusPowerSlot = 109;
constexpr int kMostFrames = 1'000'000;

struct Options {
    std::string modulePath, simRoot, bitmapFolder, layoutPath, outputFolder;
    int frames = 0;
    std::vector<SlotSetting> slots;
    std::vector<VariableSetting> variables;
    ClickSchedule clicks;
    bool allWindows = false;
    bool eachGauge = false;
};

std::string Absolute(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

// Empty on success, else the fault.
std::string ParseOptions(int argc, char** argv, Options& options) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--all-windows") {
            options.allWindows = true;
        } else if (arg == "--each-gauge") {
            options.eachGauge = true;
        } else if (arg == "--slot") {
            if (!value(text)) return "--slot needs N=VALUE";
            SlotSetting slot;
            if (std::string error = ParseSlotSetting(text, slot); !error.empty()) return error;
            options.slots.push_back(slot);
        } else if (arg == "--click") {
            if (!value(text)) return "--click needs FRAME:GAUGE:AREA";
            ScheduledClick click;
            if (std::string error = ParseClick(text, click); !error.empty()) return error;
            options.clicks.Add(click);
        } else if (arg == "--var") {
            if (!value(text)) return "--var needs NAME=VALUE";
            VariableSetting variable;
            if (std::string error = ParseVariableSetting(text, variable); !error.empty()) return error;
            options.variables.push_back(variable);
        } else if (arg == "--vars") {
            if (!value(text)) return "--vars needs a file";
            if (std::string error = ReadVariableFile(text, options.variables); !error.empty()) return error;
        } else if (arg.starts_with("--")) {
            return "unknown option " + std::string(arg);
        } else {
            positional.emplace_back(arg);
        }
    }
    if (positional.size() != 6) return "expected six arguments, found " + std::to_string(positional.size());
    const std::string& frames = positional[4];
    const auto [end, error] = std::from_chars(frames.data(), frames.data() + frames.size(), options.frames);
    if (error != std::errc() || end != frames.data() + frames.size() || options.frames < 0 ||
        options.frames > kMostFrames)
        return "FRAMES must be a whole number from 0 to " + std::to_string(kMostFrames) + ", not " + frames;
    // Relative paths are the caller's: the module's simulator root becomes the working folder below.
    options.modulePath = Absolute(positional[0]);
    options.simRoot = Absolute(positional[1]);
    options.bitmapFolder = Absolute(positional[2]);
    options.layoutPath = Absolute(positional[3]);
    options.outputFolder = Absolute(positional[5]);
    return std::string();
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

    Simulator simulator;
    for (const VariableSetting& variable : options.variables) Apply(variable, simulator);
    SiblingModules siblings;
    if (!siblings.valid()) std::cerr << "avrion-render: warning: cannot hold the shared slot block open\n";
    bool busGiven = false;
    for (const SlotSetting& slot : options.slots) busGiven = busGiven || slot.slot == kBusPowerSlot;
    if (!busGiven) options.slots.insert(options.slots.begin(), SlotSetting{kBusPowerSlot, 1.0});
    for (const SlotSetting& slot : options.slots)
        if (!siblings.SetSlot(slot.slot, slot.value))
            std::cerr << "avrion-render: warning: could not set shared slot " << slot.slot << "\n";

    if (std::string error = ModuleHost::SetSimRoot(options.simRoot); !error.empty()) {
        std::cerr << "avrion-render: " << error << "\n";
        return 2;
    }
    ModuleHost host(simulator);
    if (std::string error = host.Load(options.modulePath); !error.empty()) {
        std::cerr << "avrion-render: " << error << "\n";
        return 1;
    }
    for (std::uint32_t ident : render::InitiallyVisibleIdents(layout)) simulator.ShowWindow(ident, true);

    render::BitmapStore bitmaps(options.bitmapFolder);
    render::GaugeRenderer renderer(bitmaps);
    const render::GaugeDirectory directory(host.gauges(), std::filesystem::path(options.modulePath).stem().string());
    for (int frame = 0; frame < options.frames; ++frame) {
        for (const std::string& problem : options.clicks.Deliver(frame, host))
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
    host.Unload();
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    Options options;
    if (std::string error = ParseOptions(argc, argv, options); !error.empty()) {
        std::cerr << "avrion-render: " << error << "\n" << kUsage;
        return 2;
    }
    const int status = Run(options);
    render::ReleaseFontCaches();
    return status;
}
