// POSIX back end of the named kernel objects.
//
// Each named object is a file in one directory, the objects table. Every
// holder keeps its own open file description of that file with a shared flock
// on it, so a holder that can take the exclusive lock knows nobody else holds
// the object. The kernel drops a dead process's flocks, so a crash leaves no
// reference, and a file nobody holds is a leftover to discard or reinitialise.
//
// No call ever waits on another process. Every lock is taken without
// blocking; where another holder is in the middle of creating, initialising
// or discarding the file, the open is tried again a few times and then fails,
// as a busy slot does, and the caller's next access tries again. A holder only
// discards (unlinks) a file while it holds the exclusive lock, and an opener
// that has its lock checks that the name still leads to the file it locked:
// so no two holders are ever left with two files under one name, without any
// lock on the directory itself.
//
// Within one process, a second open of an object the process already holds
// shares the first handle's file and lock, and every view of a mapping is one
// shared map of the whole block, counted and released with the last: a module
// that opens, maps and closes the slot block around every access while a
// sibling in the same process holds it makes no system call at all.

#include "platform/kernel_objects.h"

#include <pthread.h>
#include <sched.h>

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
#include <string_view>
#include <unordered_map>

#include "posix/host_lookup.h"
#include "platform/kernel_objects_table.h"

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

// How often an open that meets another holder in the middle of creating or
// discarding the file tries again. Each retry yields the processor once, so
// the budget is microseconds; a holder stopped in that moment makes the open
// fail instead of wait.
constexpr int kOpenAttempts = 16;

std::atomic<bool> separateViews{false};

}  // namespace

// One open file of a named object, shared by every handle and view this
// process holds of it.
struct HeldFile {
    int fd = -1;
    Kind kind = Kind::Event;
    pid_t owner = 0;  // process that opened it; see Release
    dev_t dev = 0;    // identity of the file, so we never unlink
    ino_t ino = 0;    // a newer object that reused the name
    std::string path;
    std::size_t size = 0;    // mapping: size of the block
    void* header = nullptr;  // event: shared view of the EventHeader
    void* view = nullptr;    // mapping: the one view of the whole block
    int handles = 0;         // open handles of the owner sharing this file
    int views = 0;           // shared views handed out and not yet unmapped

    void CloseFile() {
        if (header) ::munmap(header, sizeof(EventHeader));
        if (view) ::munmap(view, size);
        if (fd >= 0) ::close(fd);
        header = view = nullptr;
        fd = -1;
    }
    ~HeldFile() { CloseFile(); }
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

// The files this process holds, by path, and its shared views. Entries made
// before a fork belong to the parent: their descriptions share the parent's
// locks.
struct HeldFiles {
    std::mutex mutex;
    std::unordered_map<std::string, HeldFile*> byPath;
    std::unordered_map<void*, HeldFile*> byView;
    std::string path;  // scratch for lookups, so that finding a held file allocates nothing
    std::string directory, prefix;
};
HeldFiles& Held() {
    static HeldFiles* held = new HeldFiles;  // outlives handles closed by other statics' destructors
    return *held;
}

// The directory of the objects table, as the variable names it now.
std::string_view Directory() {
    const char* env = std::getenv(kKernelObjectsVariable);
    if (env && *env) return env;
    static const std::string fallback = [] {
        struct stat st;
        return (::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode)) ? "/dev/shm" : "/tmp";
    }();
    return fallback;
}

// The path of an object's file, into the scratch string. The uid keeps users
// sharing /dev/shm or /tmp apart. Called with the mutex held.
void ObjectPath(HeldFiles& held, const char* name, Kind kind) {
    const std::string_view directory = Directory();
    if (held.prefix.empty() || directory != held.directory) {
        held.directory = directory;
        held.prefix = held.directory + "/kesta-avrion." + std::to_string(ThisUser()) + ".";
    }
    std::string& path = held.path;
    path.assign(held.prefix);
    const std::size_t start = path.size();
    path.append(name);
    for (std::size_t i = start; i < path.size(); ++i)
        if (path[i] == '/' || path[i] == '\\') path[i] = '_';
    path.append(kind == Kind::Event ? ".event" : ".map");
}

// Whether the name still leads to the file we opened, with its state now:
// once we hold a lock on it nobody can discard it, but it may have been
// discarded before.
bool StillNamed(const HeldFile& obj, struct stat& st) {
    return ::lstat(obj.path.c_str(), &st) == 0 && st.st_dev == obj.dev && st.st_ino == obj.ino;
}

enum class Attempt { Done, Failed, Retry };

Attempt TryAcquire(HeldFile& obj, bool create, std::size_t bytes, bool manualReset, bool signalled) {
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | (create ? O_CREAT : 0);
    obj.fd = ::open(obj.path.c_str(), flags, 0600);
    struct stat st;
    if (obj.fd < 0 || ::fstat(obj.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ThisUser())
        return Attempt::Failed;
    obj.dev = st.st_dev;
    obj.ino = st.st_ino;

    switch (TryExclusive(obj.fd)) {
        case Holders::Others:
            // Held, or being made or discarded by someone holding it exclusively.
            if (Flock(obj.fd, LOCK_SH | LOCK_NB) != 0) return errno == EWOULDBLOCK ? Attempt::Retry : Attempt::Failed;
            if (!StillNamed(obj, st)) return Attempt::Retry;
            return Attach(obj, st) ? Attempt::Done : Attempt::Failed;
        case Holders::Alone:
            if (!StillNamed(obj, st)) return Attempt::Retry;  // its last holder discarded it before we locked it
            // Nobody holds it: whatever is in the file was left by the dead.
            if (create && Initialise(obj.fd, obj.kind, bytes, manualReset, signalled) && ::fstat(obj.fd, &st) == 0 &&
                Attach(obj, st)) {
                // Linux makes the exclusive lock shared by dropping it first;
                // whoever slips in between finds a made file.
                if (Flock(obj.fd, LOCK_SH | LOCK_NB) == 0) return Attempt::Done;
                return errno == EWOULDBLOCK ? Attempt::Retry : Attempt::Failed;
            }
            UnlinkIfSame(obj.path, obj.dev, obj.ino);
            return Attempt::Failed;
        case Holders::Error:
            break;
    }
    return Attempt::Failed;
}

bool Acquire(HeldFile& obj, bool create, std::size_t bytes, bool manualReset, bool signalled) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        const Attempt result = TryAcquire(obj, create, bytes, manualReset, signalled);
        if (result == Attempt::Done) return true;
        obj.CloseFile();
        if (result == Attempt::Failed) return false;
        ::sched_yield();
    }
    return false;
}

Handle Acquire(const char* name, Kind kind, bool create, std::size_t bytes, bool manualReset, bool signalled) noexcept {
    if (!name || !*name || (create && kind == Kind::Mapping && bytes == 0)) return nullptr;
    try {
        HeldFiles& held = Held();
        std::lock_guard<std::mutex> guard(held.mutex);
        ObjectPath(held, name, kind);
        auto handle = std::make_unique<KernelObject>();
        // Already held here: the object exists and nobody can discard it
        // while our shared lock stands, so the new handle shares the file.
        if (auto it = held.byPath.find(held.path); it != held.byPath.end() && it->second->owner == ThisProcess()) {
            handle->file = it->second;
            ++handle->file->handles;
            return handle.release();
        }
        auto file = std::make_unique<HeldFile>();
        file->kind = kind;
        file->path = held.path;
        file->owner = ThisProcess();
        if (!Acquire(*file, create, bytes, manualReset, signalled)) return nullptr;
        file->handles = 1;
        held.byPath[file->path] = file.get();
        handle->file = file.release();
        return handle.release();
    } catch (...) {
        return nullptr;
    }
}

// The last handle and the last view are gone: the file is let go, and
// discarded when no other process holds it. Called with the mutex held.
void Release(HeldFiles& held, HeldFile* file) {
    if (auto it = held.byPath.find(file->path); it != held.byPath.end() && it->second == file) held.byPath.erase(it);
    // A file inherited through fork shares its lock with the parent's, so
    // the child must neither count itself alone nor touch that lock. Holding
    // the exclusive lock, nobody else can discard or reuse the name.
    if (file->owner == ThisProcess() && TryExclusive(file->fd) == Holders::Alone)
        UnlinkIfSame(file->path, file->dev, file->ino);
    delete file;
}

HeldFile* FileOf(Handle h) { return h ? h->file : nullptr; }

std::atomic_ref<std::uint32_t> State(Handle event) {
    return std::atomic_ref<std::uint32_t>(static_cast<EventHeader*>(FileOf(event)->header)->signalled);
}

bool IsEvent(Handle h) { return FileOf(h) && h->file->kind == Kind::Event && h->file->header; }

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
    if (separateViews.load(std::memory_order_relaxed)) {
        void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, file->fd, 0);
        return p == MAP_FAILED ? nullptr : p;
    }
    HeldFiles& held = Held();
    std::lock_guard<std::mutex> guard(held.mutex);
    if (file->view == nullptr) {
        void* p = ::mmap(nullptr, file->size, PROT_READ | PROT_WRITE, MAP_SHARED, file->fd, 0);
        if (p == MAP_FAILED) return nullptr;
        try {
            held.byView[p] = file;
        } catch (...) {
            ::munmap(p, file->size);
            return nullptr;
        }
        file->view = p;
    }
    ++file->views;
    return file->view;
}

void OwnUnmapView(void* view, std::size_t bytes) {
    if (!view || !bytes) return;
    HeldFiles& held = Held();
    std::lock_guard<std::mutex> guard(held.mutex);
    const auto it = held.byView.find(view);
    if (it == held.byView.end() || it->second->owner != ThisProcess()) {
        ::munmap(view, bytes);  // a view of its own, or one inherited through fork
        return;
    }
    HeldFile* file = it->second;
    if (--file->views > 0) return;
    held.byView.erase(it);
    ::munmap(file->view, file->size);
    file->view = nullptr;
    if (file->handles == 0) Release(held, file);
}

void OwnClose(Handle object) {
    if (!object) return;
    std::unique_ptr<KernelObject> handle(object);
    HeldFiles& held = Held();
    std::lock_guard<std::mutex> guard(held.mutex);
    HeldFile* file = handle->file;
    // A view keeps its mapping alive after the last handle is closed, as on Windows.
    if (--file->handles > 0 || file->views > 0) return;
    Release(held, file);
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

namespace posix {
void UseSeparateViews(bool separate) { separateViews.store(separate); }
}  // namespace posix

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
