#include "web/panel_module.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "sim/host_desktop.h"

namespace web {
namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

std::string Replaced(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); !what.empty() && at != std::string::npos;
         at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

}  // namespace

std::string LocalTime(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

std::string PanelModule::Open(const RunSetup& setup, std::optional<std::chrono::milliseconds> watchQuiet) {
    std::string error;
    std::vector<std::string> faults;
    run_ = ModuleRun::Open(setup, error, &faults);
    if (!run_) return error;
    if (!run_->siblings().valid()) return "cannot hold the shared slot block open";
    if (!faults.empty()) return faults.front();
    if (watchQuiet) watcher_ = std::make_unique<ModuleWatcher>(setup.modulePath, *watchQuiet);
    status_.watching = watcher_ != nullptr;
    return std::string();
}

std::string PanelModule::Load() {
    run_->Unload();  // the module before is shut down first
    HostDesktop::Instance().ClearMessages();
    const std::string error = LoadCopy();
    ++status_.loads;
    status_.loaded = error.empty();
    status_.error = error;
    status_.loadedAt = LocalTime("%H:%M:%S");
    return error;
}

// In a folder of its own that is gone again once it is loaded; a new name makes the dynamic loader read the file
// anew even if an earlier copy were still mapped.
std::string PanelModule::LoadCopy() {
    std::string folder = (std::filesystem::temp_directory_path() / "avrion-panel-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) return run_->Load();
    const std::string& original = path();
    const std::filesystem::path copy = std::filesystem::path(folder) / std::filesystem::path(original).filename();
    std::string error;
    std::error_code fault;
    struct stat before = {};
    struct stat after = {};
    if (::stat(original.c_str(), &before) != 0) {
        error = "cannot read the module " + original + ": " + std::strerror(errno);
    } else if (std::filesystem::copy_file(original, copy, fault); fault) {
        error = "cannot copy the module " + original + ": " + fault.message();
    } else if (::stat(original.c_str(), &after) != 0 || !SameFile(before, after)) {
        error = "the module file " + original + " changed while it was read; it is loaded once it is left alone";
    } else {
        error = Replaced(run_->Load(copy.string()), copy.string(), original);
    }
    std::filesystem::remove_all(folder, fault);
    return error;
}

void PanelModule::Close() {
    watcher_.reset();
    run_.reset();
}

}  // namespace web
