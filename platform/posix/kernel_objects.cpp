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
//
// Within one process, a second open of an object the process already holds
// shares the first handle's file and lock: the shared lock already keeps the
// object alive, so that open and its close cost no system call. A module
// that opens and closes the slot block around every access while a sibling in
// the same process holds it relies on this being cheap.

#include "platform/kernel_objects.h"

#include <pthread.h>

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
#include <unordered_map>

#include "posix/host_lookup.h"
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

// One open file of a named object, shared by every handle this process holds
// to it.
struct HeldFile {
    int fd = -1;
    Kind kind = Kind::Event;
    pid_t owner = 0;  // process that opened it; see CloseNamedObject
    dev_t dev = 0;    // identity of the file, so we never unlink
    ino_t ino = 0;    // a newer object that reused the name
    std::string path;
    std::string lockPath;
    std::size_t size = 0;    // mapping: size of the block
    void* header = nullptr;  // event: shared view of the EventHeader
    int handles = 0;         // open handles of the owner sharing this file

    ~HeldFile() {
        if (header) ::munmap(header, sizeof(EventHeader));
        if (fd >= 0) ::close(fd);
    }
};

struct KernelObject {
    HeldFile* file = nullptr;
};

namespace {

int Flock(int fd, int op) {
    int r;
    do {
        r = ::flock(fd, op);
    } while (r != 0 && errno == EINTR);
    return r;
}

// getpid and geteuid are system calls, asked on every open and close.
pid_t ThisProcess() {
    static std::atomic<pid_t> pid = [] {
        ::pthread_atfork(nullptr, nullptr, [] { pid.store(::getpid()); });
        return ::getpid();
    }();
    return pid.load();
}

uid_t ThisUser() {
    static const uid_t uid = ::geteuid();
    return uid;
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
std::string FilePrefix(const std::string& dir) { return dir + "/kesta-avrion." + std::to_string(ThisUser()) + "."; }

// Holds the directory's lock file exclusively for one open, create or close.
// The lock file stays open for the life of the process (opening it on every
// access would double the cost of one); a forked child opens its own, since
// an inherited description shares the parent's lock. The mutex keeps the
// threads of one process apart, as flock on a shared description cannot.
class DirectoryLock {
public:
    explicit DirectoryLock(const std::string& lockPath) : guard_(Mutex()) {
        Cache& cache = Cached();
        if (cache.fd >= 0 && (cache.pid != ThisProcess() || cache.path != lockPath)) {
            ::close(cache.fd);
            cache.fd = -1;
        }
        if (cache.fd < 0) {
            cache.fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
            cache.pid = ThisProcess();
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
bool Attach(HeldFile& obj, const struct stat& st) {
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

// The files this process holds, by path. Entries made before a fork belong
// to the parent: their descriptions share the parent's locks.
struct HeldFiles {
    std::mutex mutex;
    std::unordered_map<std::string, HeldFile*> byPath;
};
HeldFiles& Held() {
    static HeldFiles* held = new HeldFiles;  // outlives handles closed by other statics' destructors
    return *held;
}

std::string ObjectPath(const std::string& prefix, const char* name, Kind kind) {
    std::string safeName = name;
    for (char& c : safeName)
        if (c == '/' || c == '\\') c = '_';
    return prefix + safeName + (kind == Kind::Event ? ".event" : ".map");
}

bool Acquire(HeldFile& obj, bool create, std::size_t bytes, bool manualReset, bool signalled) {
    DirectoryLock lock(obj.lockPath);
    if (!lock.held()) return false;
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | (create ? O_CREAT : 0);
    obj.fd = ::open(obj.path.c_str(), flags, 0600);
    struct stat st;
    if (obj.fd < 0 || ::fstat(obj.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ThisUser()) return false;
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
        const std::string prefix = FilePrefix(Directory());
        const std::string path = ObjectPath(prefix, name, kind);
        auto handle = std::make_unique<KernelObject>();
        HeldFiles& held = Held();
        std::lock_guard<std::mutex> guard(held.mutex);
        // Already held here: the object exists and nobody can discard it
        // while our shared lock stands, so the new handle shares the file.
        if (auto it = held.byPath.find(path); it != held.byPath.end() && it->second->owner == ThisProcess()) {
            handle->file = it->second;
            ++handle->file->handles;
            return handle.release();
        }
        auto file = std::make_unique<HeldFile>();
        file->kind = kind;
        file->path = path;
        file->lockPath = prefix + "lock";
        file->owner = ThisProcess();
        if (!Acquire(*file, create, bytes, manualReset, signalled)) return nullptr;
        file->handles = 1;
        held.byPath[path] = file.get();
        handle->file = file.release();
        return handle.release();
    } catch (...) {
        return nullptr;
    }
}

HeldFile* FileOf(Handle h) { return h ? h->file : nullptr; }

std::atomic_ref<std::uint32_t> State(Handle event) {
    return std::atomic_ref<std::uint32_t>(static_cast<EventHeader*>(FileOf(event)->header)->signalled);
}

bool IsEvent(Handle h) { return FileOf(h) && h->file->kind == Kind::Event && h->file->header; }

}  // namespace

namespace {

Handle OwnOpenEvent(const char* name) { return Acquire(name, Kind::Event, false, 0, false, false); }

Handle OwnCreateEvent(const char* name, bool manualReset, bool initiallySignalled) {
    return Acquire(name, Kind::Event, true, 0, manualReset, initiallySignalled);
}

bool OwnTestEvent(Handle event) {
    if (!IsEvent(event)) return false;
    if (static_cast<EventHeader*>(event->file->header)->manualReset) return State(event).load() != 0;
    return State(event).exchange(0) != 0;
}

bool OwnResetEvent(Handle event) {
    if (!IsEvent(event)) return false;
    State(event).store(0);
    return true;
}

bool OwnSetEvent(Handle event) {
    if (!IsEvent(event)) return false;
    State(event).store(1);
    return true;
}

Handle OwnOpenMapping(const char* name) { return Acquire(name, Kind::Mapping, false, 0, false, false); }

Handle OwnCreateMapping(const char* name, std::size_t bytes) {
    return Acquire(name, Kind::Mapping, true, bytes, false, false);
}

void* OwnMapView(Handle mapping, std::size_t bytes) {
    // A view past the end of the file would raise SIGBUS on access, so refuse
    // it, as Windows refuses a view larger than the mapping.
    HeldFile* file = FileOf(mapping);
    if (!file || file->kind != Kind::Mapping || bytes == 0 || bytes > file->size) return nullptr;
    void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, file->fd, 0);
    return p == MAP_FAILED ? nullptr : p;
}

void OwnUnmapView(void* view, std::size_t bytes) {
    if (view && bytes) ::munmap(view, bytes);
}

void OwnClose(Handle object) {
    if (!object) return;
    std::unique_ptr<KernelObject> handle(object);
    HeldFiles& held = Held();
    std::lock_guard<std::mutex> guard(held.mutex);
    HeldFile* file = handle->file;
    if (--file->handles > 0) return;
    if (auto it = held.byPath.find(file->path); it != held.byPath.end() && it->second == file) held.byPath.erase(it);
    // A file inherited through fork shares its lock with the parent's, so
    // the child must neither count itself alone nor touch that lock.
    if (file->owner == ThisProcess()) {
        DirectoryLock lock(file->lockPath);
        if (lock.held() && TryExclusive(file->fd) == Holders::Alone) UnlinkIfSame(file->path, file->dev, file->ino);
        delete file;  // closes while the directory is still locked
        return;
    }
    delete file;
}

constexpr AvrionKernelObjects kOwnKernelObjects{
    OwnOpenEvent,   OwnCreateEvent, OwnTestEvent, OwnResetEvent, OwnSetEvent,
    OwnOpenMapping, OwnCreateMapping, OwnMapView,  OwnUnmapView,  OwnClose,
};

// The host's table when a host program publishes another copy than this one.
const AvrionKernelObjects& ProcessKernelObjects() {
    static const AvrionKernelObjects* const table = [] {
        const AvrionHostServices* host = HostServices();
        const bool hostHasOther = host != nullptr && host->kernelObjects != nullptr && host->kernelObjects != &kOwnKernelObjects;
        return hostHasOther ? host->kernelObjects : &kOwnKernelObjects;
    }();
    return *table;
}

}  // namespace

const AvrionKernelObjects* OwnKernelObjects() { return &kOwnKernelObjects; }

Handle OpenNamedEvent(const char* name) { return ProcessKernelObjects().openEvent(name); }
Handle CreateNamedEvent(const char* name, bool manualReset, bool initiallySignalled) {
    return ProcessKernelObjects().createEvent(name, manualReset, initiallySignalled);
}
bool TestEvent(Handle event) { return ProcessKernelObjects().testEvent(event); }
bool ResetNamedEvent(Handle event) { return ProcessKernelObjects().resetEvent(event); }
bool SetNamedEvent(Handle event) { return ProcessKernelObjects().setEvent(event); }
Handle OpenNamedMapping(const char* name) { return ProcessKernelObjects().openMapping(name); }
Handle CreateNamedMapping(const char* name, std::size_t bytes) {
    return ProcessKernelObjects().createMapping(name, bytes);
}
void* MapView(Handle mapping, std::size_t bytes) { return ProcessKernelObjects().mapView(mapping, bytes); }
void UnmapView(void* view, std::size_t bytes) { ProcessKernelObjects().unmapView(view, bytes); }
void CloseNamedObject(Handle object) { ProcessKernelObjects().close(object); }

}  // namespace platform
