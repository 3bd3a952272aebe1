// POSIX back end of the named kernel objects.
//
// Each named object is a file in one directory. Every holder keeps its own
// open file description of that file with a shared flock on it, so a holder
// that can take the exclusive lock knows nobody else holds the object. The
// kernel drops a dead process's flocks, so a crash leaves no reference, and a
// file nobody holds is a leftover to discard or reinitialise. Opens, creates
// and closes are serialised across processes by an exclusive flock on a lock
// file in the same directory, so a create cannot slip in between a last close
// and its unlink.

#include "platform/kernel_objects.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace platform {

namespace {

struct EventHeader {
    std::uint32_t magic;
    std::uint32_t manualReset;  // 0 or 1
    std::uint32_t signalled;    // 0 or 1, changed atomically by any holder
    std::uint32_t reserved;
};
constexpr std::uint32_t kEventMagic = 0x31564541;  // "AEV1"
static_assert(std::atomic_ref<std::uint32_t>::is_always_lock_free, "event state is shared between processes");

enum class Kind { Event, Mapping };

}  // namespace

struct KernelObject {
    int fd = -1;
    Kind kind = Kind::Event;
    pid_t owner = 0;  // process that opened it; see CloseNamedObject
    dev_t dev = 0;    // identity of the file, so we never unlink
    ino_t ino = 0;    // a newer object that reused the name
    std::string path;
    std::string lockPath;
    std::size_t size = 0;    // mapping: size of the block
    void* header = nullptr;  // event: shared view of the EventHeader

    ~KernelObject() {
        if (header) ::munmap(header, sizeof(EventHeader));
        if (fd >= 0) ::close(fd);
    }
};

namespace {

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&&) = delete;
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

int Flock(int fd, int op) {
    int r;
    do {
        r = ::flock(fd, op);
    } while (r != 0 && errno == EINTR);
    return r;
}

enum class Holders { Alone, Others, Error };

// Takes the exclusive lock if nobody else holds the file. Call it only on a
// description holding no lock yet, or about to be closed: Linux drops a
// shared lock whose upgrade is refused.
Holders TryExclusive(int fd) {
    if (Flock(fd, LOCK_EX | LOCK_NB) == 0) return Holders::Alone;
    return errno == EWOULDBLOCK ? Holders::Others : Holders::Error;
}

std::string Directory() {
    const char* env = std::getenv("AVRION_KERNEL_OBJECTS");
    if (env && *env) return env;
    static const std::string fallback = [] {
        struct stat st;
        return (::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode)) ? "/dev/shm" : "/tmp";
    }();
    return fallback;
}

// The uid keeps users sharing /dev/shm or /tmp apart: our files are 0600,
// so another user's lock file would otherwise lock us out altogether.
std::string FilePrefix(const std::string& dir) { return dir + "/kesta-avrion." + std::to_string(::geteuid()) + "."; }

// Holds the directory's lock file exclusively for one open, create or close.
// The lock file stays open for the life of the process (opening it on every
// access would double the cost of one); a forked child opens its own, since
// an inherited description shares the parent's lock. The mutex keeps the
// threads of one process apart, as flock on a shared description cannot.
class DirectoryLock {
public:
    explicit DirectoryLock(const std::string& lockPath) : guard_(Mutex()) {
        Cache& cache = Cached();
        if (cache.fd >= 0 && (cache.pid != ::getpid() || cache.path != lockPath)) {
            ::close(cache.fd);
            cache.fd = -1;
        }
        if (cache.fd < 0) {
            cache.fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
            cache.pid = ::getpid();
            cache.path = lockPath;
        }
        if (cache.fd >= 0 && Flock(cache.fd, LOCK_EX) == 0) fd_ = cache.fd;
    }
    ~DirectoryLock() {
        if (fd_ >= 0) Flock(fd_, LOCK_UN);
    }
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

    bool held() const { return fd_ >= 0; }

private:
    struct Cache {
        int fd = -1;
        pid_t pid = 0;
        std::string path;
    };
    static Cache& Cached() {
        static Cache cache;
        return cache;
    }
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }

    std::lock_guard<std::mutex> guard_;
    int fd_ = -1;
};

void UnlinkIfSame(const std::string& path, dev_t dev, ino_t ino) {
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && st.st_dev == dev && st.st_ino == ino) ::unlink(path.c_str());
}

bool Initialise(int fd, Kind kind, std::size_t bytes, bool manualReset, bool signalled) {
    if (::ftruncate(fd, 0) != 0) return false;
    if (kind == Kind::Event) {
        const EventHeader h{kEventMagic, manualReset ? 1u : 0u, signalled ? 1u : 0u, 0};
        return ::pwrite(fd, &h, sizeof h, 0) == static_cast<ssize_t>(sizeof h);
    }
    // Reserve the backing store now: a full /dev/shm then fails the create
    // instead of raising SIGBUS on first touch of the view.
    if (bytes > static_cast<std::size_t>(std::numeric_limits<off_t>::max())) return false;
    return ::posix_fallocate(fd, 0, static_cast<off_t>(bytes)) == 0;
}

// Checks the file of an object held by others and sets up the handle's view
// of it. Files written by someone else's bug must not crash us.
bool Attach(KernelObject& obj, const struct stat& st) {
    if (obj.kind == Kind::Mapping) {
        if (st.st_size <= 0) return false;
        obj.size = static_cast<std::size_t>(st.st_size);
        return true;
    }
    if (st.st_size != static_cast<off_t>(sizeof(EventHeader))) return false;
    void* p = ::mmap(nullptr, sizeof(EventHeader), PROT_READ | PROT_WRITE, MAP_SHARED, obj.fd, 0);
    if (p == MAP_FAILED) return false;
    const auto* h = static_cast<const EventHeader*>(p);
    if (h->magic != kEventMagic || h->manualReset > 1) {
        ::munmap(p, sizeof(EventHeader));
        return false;
    }
    obj.header = p;
    return true;
}

bool Acquire(KernelObject& obj, const char* name, bool create, std::size_t bytes, bool manualReset, bool signalled) {
    std::string safeName = name;
    for (char& c : safeName)
        if (c == '/' || c == '\\') c = '_';
    const std::string prefix = FilePrefix(Directory());
    obj.path = prefix + safeName + (obj.kind == Kind::Event ? ".event" : ".map");
    obj.lockPath = prefix + "lock";
    obj.owner = ::getpid();

    DirectoryLock lock(obj.lockPath);
    if (!lock.held()) return false;
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | (create ? O_CREAT : 0);
    obj.fd = ::open(obj.path.c_str(), flags, 0600);
    struct stat st;
    if (obj.fd < 0 || ::fstat(obj.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) return false;
    obj.dev = st.st_dev;
    obj.ino = st.st_ino;

    switch (TryExclusive(obj.fd)) {
        case Holders::Others:
            return Flock(obj.fd, LOCK_SH | LOCK_NB) == 0 && Attach(obj, st);
        case Holders::Alone:
            // Nobody holds it: whatever is in the file was left by the dead.
            if (create && Initialise(obj.fd, obj.kind, bytes, manualReset, signalled) && ::fstat(obj.fd, &st) == 0 &&
                Attach(obj, st) && Flock(obj.fd, LOCK_SH) == 0)
                return true;
            UnlinkIfSame(obj.path, obj.dev, obj.ino);
            return false;
        case Holders::Error:
            break;
    }
    return false;
}

Handle Acquire(const char* name, Kind kind, bool create, std::size_t bytes, bool manualReset, bool signalled) noexcept {
    if (!name || !*name || (create && kind == Kind::Mapping && bytes == 0)) return nullptr;
    try {
        auto obj = std::make_unique<KernelObject>();
        obj->kind = kind;
        return Acquire(*obj, name, create, bytes, manualReset, signalled) ? obj.release() : nullptr;
    } catch (...) {
        return nullptr;
    }
}

std::atomic_ref<std::uint32_t> State(Handle event) {
    return std::atomic_ref<std::uint32_t>(static_cast<EventHeader*>(event->header)->signalled);
}

bool IsEvent(Handle h) { return h && h->kind == Kind::Event && h->header; }

}  // namespace

Handle OpenNamedEvent(const char* name) { return Acquire(name, Kind::Event, false, 0, false, false); }

Handle CreateNamedEvent(const char* name, bool manualReset, bool initiallySignalled) {
    return Acquire(name, Kind::Event, true, 0, manualReset, initiallySignalled);
}

bool TestEvent(Handle event) {
    if (!IsEvent(event)) return false;
    if (static_cast<EventHeader*>(event->header)->manualReset) return State(event).load() != 0;
    return State(event).exchange(0) != 0;
}

bool ResetNamedEvent(Handle event) {
    if (!IsEvent(event)) return false;
    State(event).store(0);
    return true;
}

bool SetNamedEvent(Handle event) {
    if (!IsEvent(event)) return false;
    State(event).store(1);
    return true;
}

Handle OpenNamedMapping(const char* name) { return Acquire(name, Kind::Mapping, false, 0, false, false); }

Handle CreateNamedMapping(const char* name, std::size_t bytes) {
    return Acquire(name, Kind::Mapping, true, bytes, false, false);
}

void* MapView(Handle mapping, std::size_t bytes) {
    // A view past the end of the file would raise SIGBUS on access, so refuse
    // it, as Windows refuses a view larger than the mapping.
    if (!mapping || mapping->kind != Kind::Mapping || bytes == 0 || bytes > mapping->size) return nullptr;
    void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, mapping->fd, 0);
    return p == MAP_FAILED ? nullptr : p;
}

void UnmapView(void* view, std::size_t bytes) {
    if (view && bytes) ::munmap(view, bytes);
}

void CloseNamedObject(Handle object) {
    if (!object) return;
    // A handle inherited through fork shares its lock with the parent's, so
    // the child must neither count itself alone nor touch that lock.
    if (object->owner == ::getpid()) {
        DirectoryLock lock(object->lockPath);
        if (lock.held() && TryExclusive(object->fd) == Holders::Alone)
            UnlinkIfSame(object->path, object->dev, object->ino);
        delete object;  // closes while the directory is still locked
        return;
    }
    delete object;
}

}  // namespace platform
