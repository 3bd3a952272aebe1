// avrion-panel: the module running live behind a page in the browser. Every
// panel window drawn by the renderer and clickable, a side panel for the
// simulator's variables, the sibling modules' slots and scenarios. Runs until
// interrupted, then shuts the module down.
#include <pthread.h>
#include <signal.h>

#include <charconv>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>

#include "cli/host_paths.h"
#include "render/label.h"
#include "web/panel_server.h"
#include "web/panel_session.h"
#include "web/sound_tap.h"

namespace {

const char* Usage() {
    return "usage: avrion-panel [options]\n"
           "  --port N          port to serve on (default 8018; 0: any free port)\n"
           "  --listen ADDR     address to listen on (default 127.0.0.1; any other lets other machines in)\n"
           "  --module FILE     the gauge module (default: the one beside this program)\n"
           "  --sim-root DIR    the simulator's root folder (default: the shipped sim/)\n"
           "  --layout FILE     panel layout (default: SIM_ROOT/panel/panel.cfg)\n"
           "  --bitmaps DIR     the gauges' bitmaps (default: module/resources/bitmaps)\n"
           "  --flights DIR     scenarios the page may start (default: SIM_ROOT/flights)\n"
           "  --page DIR        the page's files (default: host/web/page)\n"
           "  --frame-rate HZ   frames per second until a scenario sets its own (default 18)\n"
           "  --slot N=VALUE    set shared slot N at start (repeatable; the bus, slot 109, is powered unless given)\n"
           "  --var NAME=VALUE  set a simulator variable at start (repeatable)\n"
           "  --sound WHERE     host (this machine's speakers, the default), browser (the page plays it) or off\n"
           "  --no-reload       keep the module loaded at start when its file is rebuilt (default: load it again)\n"
           "  --record-to DIR   write the scenarios recorded on the page into DIR too (default: download only)\n"
           "Stop with Ctrl-C.\n";
}

struct Options {
    std::string sound = "host";
    web::PanelSettings panel;
    web::ServerSettings server;
    bool help = false;
};

std::string ParseOptions(int argc, char** argv, Options& options) {
    web::PanelSettings& panel = options.panel;
    panel.modulePath = host_paths::ProgramFolder() + "/" + host_paths::kModuleFileName;
    panel.simRoot = AVRION_SOURCE_DIR "/sim";
    panel.bitmapFolder = AVRION_SOURCE_DIR "/module/resources/bitmaps";
    options.server.pageFolder = AVRION_SOURCE_DIR "/host/web/page";
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        std::string text;
        const auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--port") {
            if (!value(text)) return "--port needs a number";
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), options.server.port);
            if (error != std::errc() || end != text.data() + text.size() || options.server.port < 0 ||
                options.server.port > 65535)
                return "--port takes 0 to 65535, not " + text;
        } else if (argument == "--listen") {
            if (!value(options.server.listenAddress)) return "--listen needs an address";
            options.server.loopbackOnly = false;
        } else if (argument == "--module") {
            if (!value(panel.modulePath)) return "--module needs a file";
        } else if (argument == "--sim-root") {
            if (!value(panel.simRoot)) return "--sim-root needs a folder";
        } else if (argument == "--layout") {
            if (!value(panel.layoutPath)) return "--layout needs a file";
        } else if (argument == "--bitmaps") {
            if (!value(panel.bitmapFolder)) return "--bitmaps needs a folder";
        } else if (argument == "--flights") {
            if (!value(panel.flightsFolder)) return "--flights needs a folder";
        } else if (argument == "--page") {
            if (!value(options.server.pageFolder)) return "--page needs a folder";
        } else if (argument == "--frame-rate") {
            if (!value(text)) return "--frame-rate needs a number";
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), panel.frameRate);
            if (error != std::errc() || end != text.data() + text.size() || !(panel.frameRate >= 1.0) ||
                panel.frameRate > 1000.0)
                return "--frame-rate takes 1 to 1000, not " + text;
        } else if (argument == "--sound") {
            if (!value(options.sound) || (options.sound != "host" && options.sound != "browser" && options.sound != "off"))
                return "--sound takes host, browser or off";
        } else if (argument == "--no-reload") {
            panel.reloadOnChange = false;
        } else if (argument == "--record-to") {
            if (!value(panel.recordFolder)) return "--record-to needs a folder";
        } else if (argument == "--slot") {
            if (!value(text)) return "--slot needs N=VALUE";
            SlotSetting slot;
            if (std::string error = ParseSlotSetting(text, slot); !error.empty()) return error;
            panel.slots.push_back(slot);
        } else if (argument == "--var") {
            if (!value(text)) return "--var needs NAME=VALUE";
            VariableSetting variable;
            if (std::string error = ParseVariableSetting(text, variable); !error.empty()) return error;
            panel.variables.push_back(variable);
        } else {
            return "unknown argument " + argument;
        }
    }
    // Every path is fixed before the simulator root becomes the working folder.
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
    return std::string();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (std::string error = ParseOptions(argc, argv, options); !error.empty()) {
        std::cerr << "avrion-panel: " << error << "\n" << Usage();
        return 2;
    }
    if (options.help) {
        std::cout << Usage();
        return 0;
    }

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
        session.soundOutput = options.sound;
        if (options.sound == "browser") session.soundTap = &soundTap;
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
