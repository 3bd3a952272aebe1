#include "web/module_watcher.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace web {
namespace {

constexpr std::uint32_t kFolderEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE |
                                        IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

std::uint64_t Little(const unsigned char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace

ModuleWatcher::ModuleWatcher(std::string path, std::chrono::milliseconds quiet)
    : path_(std::move(path)), quiet_(quiet) {
    const std::filesystem::path file(path_);
    folder_ = file.has_parent_path() ? file.parent_path().string() : std::string(".");
    name_ = file.filename().string();
    inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    WatchFolder();
    seen_ = accepted_ = Look();
    touched_ = Clock::now();
}

ModuleWatcher::~ModuleWatcher() {
    if (inotify_ >= 0) ::close(inotify_);
}

void ModuleWatcher::WatchFolder() {
    if (inotify_ < 0) return;
    watch_ = inotify_add_watch(inotify_, folder_.c_str(), kFolderEvents);
    writing_ = false;
}

ModuleWatcher::Identity ModuleWatcher::Look() const {
    struct stat status {};
    Identity identity;
    if (::stat(path_.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return identity;
    identity.exists = true;
    identity.device = status.st_dev;
    identity.inode = status.st_ino;
    identity.size = status.st_size;
    identity.modified = status.st_mtim.tv_sec * 1000000000LL + status.st_mtim.tv_nsec;
    identity.changed = status.st_ctim.tv_sec * 1000000000LL + status.st_ctim.tv_nsec;
    return identity;
}

void ModuleWatcher::TakeEvents(Clock::time_point now) {
    if (inotify_ < 0) return;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(inotify_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return;
        for (ssize_t at = 0; at < got;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + sizeof(inotify_event);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
            if (event.mask & IN_Q_OVERFLOW) {
                touched_ = now;  // events lost: the file's identity and the quiet while decide
                writing_ = false;
                continue;
            }
            if (event.wd != watch_) continue;
            if (event.mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
                // The folder went away or moved: watched again once it is back.
                if (event.mask & IN_IGNORED) watch_ = -1;
                touched_ = now;
                continue;
            }
            if (event.len == 0 || name_ != name) continue;
            touched_ = now;
            eventsSinceAccepted_ = eventsSinceJudged_ = true;
            if (event.mask & (IN_CLOSE_WRITE | IN_MOVED_TO))
                writing_ = false;
            else if (event.mask & (IN_MODIFY | IN_CREATE | IN_DELETE | IN_MOVED_FROM))
                writing_ = true;
        }
    }
}

bool ModuleWatcher::Rebuilt(Clock::time_point now) {
    if (inotify_ >= 0 && watch_ < 0) WatchFolder();
    TakeEvents(now);
    const Identity current = Look();
    if (!(current == seen_)) {
        seen_ = current;
        touched_ = now;
    }
    // A file rewritten in place within one tick of the file system's clock may look the same: the events tell.
    if (!current.exists || (current == accepted_ && !eventsSinceAccepted_) || (watch_ >= 0 && writing_)) return false;
    if (now - touched_ < quiet_ || (current == judgedCutShort_ && !eventsSinceJudged_)) return false;
    eventsSinceJudged_ = false;
    if (ElfCompleteness(path_) == Completeness::kCutShort) {
        judgedCutShort_ = current;
        return false;
    }
    accepted_ = current;
    eventsSinceAccepted_ = false;
    return true;
}

ModuleWatcher::Completeness ModuleWatcher::ElfCompleteness(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return Completeness::kNotElf;
    const auto size = static_cast<std::uint64_t>(in.tellg());
    in.seekg(0);
    unsigned char header[64] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    const auto got = static_cast<std::size_t>(in.gcount());
    constexpr unsigned char kMagic[] = {0x7F, 'E', 'L', 'F'};
    // Little-endian images only, as this machine runs.
    if (got < 6 || std::memcmp(header, kMagic, sizeof kMagic) != 0 || header[5] != 1) return Completeness::kNotElf;
    const bool wide = header[4] == 2;
    if (got < (wide ? 64u : 52u)) return Completeness::kCutShort;
    const std::uint64_t programs = wide ? Little(header + 0x20, 8) : Little(header + 0x1C, 4);
    const std::uint64_t sections = wide ? Little(header + 0x28, 8) : Little(header + 0x20, 4);
    const std::uint64_t programSize = Little(header + (wide ? 0x36 : 0x2A), 2);
    const std::uint64_t programCount = Little(header + (wide ? 0x38 : 0x2C), 2);
    const std::uint64_t sectionSize = Little(header + (wide ? 0x3A : 0x2E), 2);
    const std::uint64_t sectionCount = Little(header + (wide ? 0x3C : 0x30), 2);
    // The section headers come last in a linked file; the segments say what is loaded from where.
    if (sectionCount > 0 && sections + sectionSize * sectionCount > size) return Completeness::kCutShort;
    if (programs + programSize * programCount > size) return Completeness::kCutShort;
    std::vector<unsigned char> table(static_cast<std::size_t>(programSize * programCount));
    in.seekg(static_cast<std::streamoff>(programs));
    in.read(reinterpret_cast<char*>(table.data()), static_cast<std::streamsize>(table.size()));
    if (static_cast<std::size_t>(in.gcount()) != table.size()) return Completeness::kCutShort;
    if (programSize < (wide ? 56u : 32u)) return programCount == 0 ? Completeness::kWhole : Completeness::kNotElf;
    for (std::uint64_t i = 0; i < programCount; ++i) {
        const unsigned char* entry = table.data() + i * programSize;
        const std::uint64_t offset = wide ? Little(entry + 8, 8) : Little(entry + 4, 4);
        const std::uint64_t fileSize = wide ? Little(entry + 32, 8) : Little(entry + 16, 4);
        if (offset + fileSize > size) return Completeness::kCutShort;
    }
    return Completeness::kWhole;
}

}  // namespace web
