// avrion-panel: the module running live behind a page in the browser. Every
// panel window drawn by the renderer and clickable, a side panel for the
// simulator's variables, the sibling modules' slots and scenarios. Runs until
// interrupted, then shuts the module down.
#include <pthread.h>
#include <signal.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include "cli/command_line.h"
#include "cli/host_paths.h"
#include "sim/objects_table.h"
#include "render/label.h"
#include "web/panel_server.h"
#include "web/panel_session.h"
#include "web/sound_tap.h"

namespace {

struct Options {
    std::string sound = "host";
    std::string objects;
    web::PanelSettings panel;
    web::ServerSettings server;
};

std::optional<int> ParseOptions(int argc, char** argv, Options& options) {
    web::PanelSettings& panel = options.panel;
    panel.simRoot = AVRION_SOURCE_DIR "/sim";
    panel.bitmapFolder = AVRION_SOURCE_DIR "/module/resources/bitmaps";
    options.server.pageFolder = AVRION_SOURCE_DIR "/host/web/page";
    CLI::App app{"The module running live behind a page in the browser: every panel window drawn and clickable, a "
                 "side panel for the simulator's variables, the sibling modules' slots and scenarios. Stop with "
                 "Ctrl-C.",
                 "avrion-panel"};
    command_line::Describe(app);
    app.add_option("--port", options.server.port, "port to serve on (0: any free port)")
        ->type_name("N")
        ->check(CLI::Range(0, 65535))
        ->capture_default_str();
    app.add_option_function<std::string>(
           "--listen",
           [&options](const std::string& address) {
               options.server.listenAddress = address;
               options.server.loopbackOnly = false;
           },
           "address to listen on (default 127.0.0.1; any other lets other machines in)")
        ->type_name("ADDR");
    command_line::AddModule(app, panel.modulePath);
    command_line::AddSimRoot(app, panel.simRoot, "the shipped sim/");
    command_line::AddObjects(app, options.objects, ObjectsTable::DefaultFolder() + ", claimed for this panel");
    app.add_option("--layout", panel.layoutPath, "panel layout (default: SIM_ROOT/panel/panel.cfg)")->type_name("FILE");
    app.add_option("--bitmaps", panel.bitmapFolder, "the gauges' bitmaps")->type_name("DIR")->capture_default_str();
    app.add_option("--flights", panel.flightsFolder, "scenarios the page may start (default: SIM_ROOT/flights)")
        ->type_name("DIR");
    app.add_option("--page", options.server.pageFolder, "the page's files")->type_name("DIR")->capture_default_str();
    command_line::AddFrameRate(app, panel.frameRate)->description(
        "frames per second of simulator time until a scenario sets its own");
    command_line::AddSlots(app, panel.slots, "; the bus, slot 109, is powered unless given");
    command_line::AddVariables(app, panel.variables, false);
    app.add_option("--sound", options.sound,
                   "host (this machine's speakers), browser (the page plays it) or off")
        ->type_name("WHERE")
        ->check(CLI::IsMember({"host", "browser", "off"}))
        ->capture_default_str();
    command_line::AddSwitchOff(app, "--no-reload", panel.reloadOnChange,
                 "keep the module loaded at start when its file is rebuilt (default: load it again at a frame "
                 "boundary)");
    app.add_option("--record-to", panel.recordFolder,
                   "write the scenarios recorded on the page into DIR too (default: download only)")
        ->type_name("DIR");
    if (auto status = command_line::Parse(app, argc, argv)) return status;

    // Every path is fixed before the simulator root becomes the working folder.
    if (panel.modulePath.empty()) panel.modulePath = host_paths::ProgramFolder() + "/" + host_paths::kModuleFileName;
    panel.simRoot = host_paths::Absolute(panel.simRoot);
    panel.modulePath = host_paths::Absolute(panel.modulePath);
    panel.bitmapFolder = host_paths::Absolute(panel.bitmapFolder);
    panel.layoutPath = host_paths::Absolute(
        panel.layoutPath.empty() ? (std::filesystem::path(panel.simRoot) / "panel" / "panel.cfg").string()
                                 : panel.layoutPath);
    panel.flightsFolder = host_paths::Absolute(
        panel.flightsFolder.empty() ? (std::filesystem::path(panel.simRoot) / "flights").string()
                                    : panel.flightsFolder);
    options.server.pageFolder = host_paths::Absolute(options.server.pageFolder);
    if (!panel.recordFolder.empty()) panel.recordFolder = host_paths::Absolute(panel.recordFolder);
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const auto status = ParseOptions(argc, argv, options)) return *status;

    // Interrupts are taken by a thread of their own, which may stop the server (a signal handler may not).
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    // The module's sound device reads ALSOFT_CONF when it opens, so it is set before the module loads.
    web::SoundTap soundTap;
    std::string soundError;
    if (options.sound == "browser")
        soundError = soundTap.Open();
    else if (options.sound == "off")
        soundError = soundTap.Silence();
    if (!soundError.empty()) {
        std::cerr << "avrion-panel: " << soundError << "\n";
        return 1;
    }

    int status = 0;
    {
        web::PanelSession session;
        // The table avrion-slots attaches to, claimed before anything opens an object in it.
        options.panel.table = RunSetup::Table::kClaimed;
        options.panel.objects = options.objects;
        options.panel.soundOutput = options.sound;
        if (options.sound == "browser") options.panel.soundTap = &soundTap;
        if (std::string error = session.Open(options.panel); !error.empty()) {
            std::cerr << "avrion-panel: " << error << "\n";
            return 1;
        }
        web::PanelServer server(session);
        std::thread signals([&] {
            int signal = 0;
            sigwait(&stopSignals, &signal);
            server.Stop();
        });
        const std::string error = server.Serve(options.server, [](const std::string& address) {
            std::cout << "avrion-panel: the panel is at " << address << " (Ctrl-C stops it)" << std::endl;
        });
        if (!error.empty()) {
            std::cerr << "avrion-panel: " << error << "\n";
            status = 1;
        }
        // Wakes the signal thread when the server stopped for another reason.
        pthread_kill(signals.native_handle(), SIGTERM);
        signals.join();
        session.Close();
        std::cout << "avrion-panel: stopped; the module was shut down" << std::endl;
    }
    render::ReleaseFontCaches();
    return status;
}
