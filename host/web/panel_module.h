// The module as the live panel runs it: one run (the simulator stand-in, the
// sibling modules and the loaded library), loaded through a private copy of
// the module file so that a build rewriting the file cannot change the running
// module under it, and the watch on that file that tells when it was rebuilt.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "sim/module_run.h"
#include "web/module_watcher.h"

namespace web {

// The module as loaded now, for the page.
struct ModuleStatus {
    int loads = 0;  // every load, whether it worked or not
    bool loaded = false;
    std::string error;                // why the last load failed
    std::string loadedAt;             // the local time of the last load, "10:32:05"
    double reloadMilliseconds = 0.0;  // the last reload: old module shut down to the new one's first pictures
    bool watching = false;
};

class PanelModule {
public:
    // The run, without the module loaded yet; watched when a quiet time is
    // given. Empty on success, else why not.
    std::string Open(const RunSetup& setup, std::optional<std::chrono::milliseconds> watchQuiet);
    // The module before shut down, the file loaded again; noted for the page.
    std::string Load();
    void Unload() {
        if (run_) run_->Unload();
    }
    void Close();
    // The watched file was rebuilt and has been left alone since.
    bool Rebuilt() { return watcher_ && watcher_->Rebuilt(ModuleWatcher::Clock::now()); }

    bool loaded() const { return run_ && run_->host().loaded(); }
    const ModuleStatus& status() const { return status_; }
    void NoteReload(double milliseconds) { status_.reloadMilliseconds = milliseconds; }
    const std::string& path() const { return run_->setup().modulePath; }
    ModuleRun& run() { return *run_; }

private:
    std::string LoadCopy();

    std::unique_ptr<ModuleRun> run_;
    std::unique_ptr<ModuleWatcher> watcher_;
    ModuleStatus status_;
};

std::string LocalTime(const char* format);

}  // namespace web
