// Tells when the module file has been rebuilt: changed on disk and then left
// alone, whole. A build may write it through a temporary file and a rename,
// truncate and rewrite it in place, or delete it and make it anew; it counts
// as rebuilt only once its writer has closed it (or renamed it into place),
// nothing has touched it for a quiet while, and it holds all of the ELF image
// its header describes. The folder is watched with inotify; when that is not
// to be had (or the folder itself went away) the file's identity (inode, size,
// times) alone tells, after the quiet while.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

namespace web {

class ModuleWatcher {
public:
    using Clock = std::chrono::steady_clock;

    // The file as it is now counts as the one loaded.
    ModuleWatcher(std::string path, std::chrono::milliseconds quiet);
    ~ModuleWatcher();
    ModuleWatcher(const ModuleWatcher&) = delete;
    ModuleWatcher& operator=(const ModuleWatcher&) = delete;

    // Looks at what happened since the last call. True once a rebuilt file is
    // ready to load; then not again until it changes once more (so a file that
    // fails to load is tried again at its next change).
    bool Rebuilt(Clock::time_point now);

    // How complete a file is as an ELF image: whole, cut short, or no ELF at
    // all (left for the loader to refuse with its own words).
    enum class Completeness { kWhole, kCutShort, kNotElf };
    static Completeness ElfCompleteness(const std::string& path);

private:
    struct Identity {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long long modified = 0, changed = 0;  // nanoseconds
        bool operator==(const Identity&) const = default;
    };
    Identity Look() const;
    void WatchFolder();
    void TakeEvents(Clock::time_point now);

    std::string path_, folder_, name_;
    std::chrono::milliseconds quiet_;
    int inotify_ = -1;
    int watch_ = -1;
    bool writing_ = false;  // opened for writing and not yet closed, as far as inotify tells
    bool eventsSinceAccepted_ = false, eventsSinceJudged_ = false;
    Clock::time_point touched_;
    Identity seen_, accepted_, judgedCutShort_;
};

}  // namespace web
