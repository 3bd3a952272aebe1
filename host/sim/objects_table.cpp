#include "sim/objects_table.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "platform/kernel_objects_table.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRunFolderPrefix = "kesta-avrion-run.";
// A run's folder without a claim is one whose run died between making it and
// claiming it, unless it is this young.
constexpr auto kUnclaimedGrace = std::chrono::seconds(60);

std::string MachineDefault() {
    struct stat st;
    return ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : fs::temp_directory_path().string();
}

std::string ClaimPath(const std::string& folder) {
    return folder + "/kesta-avrion." + std::to_string(::geteuid()) + ".claim";
}

bool SameFile(const std::string& path, int fd) {
    struct stat byName, byFd;
    return ::lstat(path.c_str(), &byName) == 0 && ::fstat(fd, &byFd) == 0 && byName.st_dev == byFd.st_dev &&
           byName.st_ino == byFd.st_ino;
}

std::string Holder(int fd) {
    char text[128] = {};
    const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
    std::string holder(text, got > 0 ? static_cast<std::size_t>(got) : 0);
    while (!holder.empty() && (holder.back() == '\n' || holder.back() == ' ')) holder.pop_back();
    return holder.empty() ? "another program" : holder;
}

// Takes the folder's claim without waiting: the descriptor, or -1 with the
// holder's name (or the fault) in `holder`.
int TakeClaim(const std::string& folder, const std::string& program, std::string& holder) {
    const std::string path = ClaimPath(folder);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            holder = std::string("cannot write in it (") + std::strerror(errno) + ")";
            return -1;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            holder = errno == EWOULDBLOCK ? "it is in use by " + Holder(fd) : std::string(std::strerror(errno));
            ::close(fd);
            return -1;
        }
        if (!SameFile(path, fd)) {  // its holder let go of it and removed it meanwhile
            ::close(fd);
            continue;
        }
        const std::string text = program + " (process " + std::to_string(::getpid()) + ")\n";
        if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) {
            holder = std::string("cannot write in it (") + std::strerror(errno) + ")";
            ::close(fd);
            return -1;
        }
        return fd;
    }
    holder = "its claim keeps changing hands";
    return -1;
}

void ReleaseClaim(const std::string& folder, int fd) {
    if (fd < 0) return;
    const std::string path = ClaimPath(folder);
    if (SameFile(path, fd)) ::unlink(path.c_str());
    ::close(fd);
}

// Removes the folders of runs that died without removing their own: their
// claim is free, or they never took one and are no longer young.
void SweepDeadRuns(const fs::path& base) {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(base, ec)) {
        const std::string name = entry.path().filename().string();
        struct stat st;
        if (name.rfind(kRunFolderPrefix, 0) != 0 || ::lstat(entry.path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
            st.st_uid != ::geteuid())
            continue;
        const int fd = ::open(ClaimPath(entry.path().string()).c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        bool dead;
        if (fd < 0) {
            const auto age = fs::file_time_type::clock::now() - fs::last_write_time(entry.path(), ec);
            dead = !ec && age > kUnclaimedGrace;
        } else {
            dead = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
            ::close(fd);
        }
        if (dead) fs::remove_all(entry.path(), ec);
    }
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void Publish(const std::string& folder) { ::setenv(platform::kKernelObjectsVariable, folder.c_str(), 1); }

}  // namespace

std::string ObjectsTable::DefaultFolder() {
    const char* env = std::getenv(platform::kKernelObjectsVariable);
    return env && *env ? std::string(env) : MachineDefault();
}

ObjectsTable::ObjectsTable(std::string folder, int claimFd, bool removeFolder)
    : folder_(std::move(folder)), claimFd_(claimFd), removeFolder_(removeFolder) {
    Publish(folder_);
}

ObjectsTable::~ObjectsTable() {
    ReleaseClaim(folder_, claimFd_);
    if (removeFolder_) {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
}

std::unique_ptr<ObjectsTable> ObjectsTable::OfItsOwn(std::string& error) {
    const fs::path base = MachineDefault();
    SweepDeadRuns(base);
    std::string folder = (base / (std::string(kRunFolderPrefix) + "XXXXXX")).string();
    if (::mkdtemp(folder.data()) == nullptr) {
        error = "cannot make a table of named objects in " + base.string() + ": " + std::strerror(errno);
        return nullptr;
    }
    std::string fault;
    const int fd = TakeClaim(folder, "a run", fault);
    if (fd < 0) {
        std::error_code ec;
        fs::remove_all(folder, ec);
        error = "cannot claim the table of named objects in " + folder + ": " + fault;
        return nullptr;
    }
    return std::unique_ptr<ObjectsTable>(new ObjectsTable(folder, fd, true));
}

std::unique_ptr<ObjectsTable> ObjectsTable::Claim(const std::string& folder, const std::string& program,
                                                  std::string& error) {
    const std::string chosen = folder.empty() ? DefaultFolder() : folder;
    if (!IsFolder(chosen)) {
        error = "the objects folder " + chosen + " is not a folder";
        return nullptr;
    }
    std::string fault;
    const int fd = TakeClaim(chosen, program, fault);
    if (fd < 0) {
        error = "the table of named objects in " + chosen + " cannot be used: " + fault +
                ". Give this program a table of its own with --objects DIR (any folder), or stop the other";
        return nullptr;
    }
    return std::unique_ptr<ObjectsTable>(new ObjectsTable(chosen, fd, false));
}

std::unique_ptr<ObjectsTable> ObjectsTable::Attach(const std::string& folder, std::string& error) {
    const std::string chosen = folder.empty() ? DefaultFolder() : folder;
    if (!IsFolder(chosen)) {
        error = "the objects folder " + chosen + " is not a folder";
        return nullptr;
    }
    return std::unique_ptr<ObjectsTable>(new ObjectsTable(chosen, -1, false));
}
