// Named events and mappings shared between handles and processes, with the
// lifetime rules of Windows named objects.

#include "platform/kernel_objects.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace platform;

constexpr std::size_t kBytes = 4096;

// Each test gets its own object directory, so parallel runs never meet.
class KernelObjectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string dir = (fs::temp_directory_path() / "kernel-objects-XXXXXX").string();
        ASSERT_NE(::mkdtemp(dir.data()), nullptr);
        dir_ = dir;
        ::setenv("AVRION_KERNEL_OBJECTS", dir_.c_str(), 1);
        fdsAtStart_ = OpenFds().size();
    }

    void TearDown() override {
        // Every test closes what it opened; a file left behind is a leak.
        EXPECT_EQ(ObjectFiles(), std::vector<std::string>{});
        EXPECT_EQ(OpenFds().size(), fdsAtStart_) << "descriptors leaked";
        ::unsetenv("AVRION_KERNEL_OBJECTS");
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // Object files in the directory, leaving out the directory's lock file.
    std::vector<std::string> ObjectFiles() const {
        std::vector<std::string> files;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dir_, ec))
            if (entry.path().extension() != ".lock") files.push_back(entry.path().string());
        return files;
    }

    // Path of the one object file now present, to plant junk in later.
    std::string OnlyObjectFile() const {
        const auto files = ObjectFiles();
        return files.size() == 1 ? files[0] : std::string();
    }

    // Files this process has open, by descriptor, leaving out the directory
    // lock file that stays open for the life of the process.
    static std::vector<std::pair<int, fs::path>> OpenFds() {
        std::vector<std::pair<int, fs::path>> fds;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator("/proc/self/fd", ec)) {
            fs::path target = fs::read_symlink(entry, ec);
            if (target.filename().string().find(".lock") == std::string::npos)
                fds.emplace_back(std::stoi(entry.path().filename().string()), std::move(target));
        }
        return fds;
    }

    fs::path dir_;
    std::size_t fdsAtStart_ = 0;
};

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A child process that is killed and reaped however the test ends.
struct Child {
    explicit Child(const std::function<int(int readyFd, int goFd)>& body) {
        int ready[2], go[2];
        if (::pipe(ready) != 0 || ::pipe(go) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            ::close(ready[0]);
            ::close(go[1]);
            ::_exit(body(ready[1], go[0]));
        }
        ::close(ready[1]);
        ::close(go[0]);
        readyFd = ready[0];
        goFd = go[1];
    }
    ~Child() {
        if (pid > 0) Kill();
        ::close(readyFd);
        ::close(goFd);
    }
    // Waits for the child to report a step done.
    bool Ready() {
        char c;
        return ::read(readyFd, &c, 1) == 1;
    }
    void Go() { (void)!::write(goFd, "g", 1); }
    int Kill() {
        ::kill(pid, SIGKILL);
        return Wait();
    }
    // Exit code of the child, or -1 if it did not exit normally.
    int Wait() {
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    pid_t pid = -1;
    int readyFd = -1;
    int goFd = -1;
};

// Child-side steps of the pipe handshake.
void Signal(int fd) { (void)!::write(fd, "r", 1); }
void Await(int fd) {
    char c;
    (void)!::read(fd, &c, 1);
}

// What "fresh" and "used" mean for each kind of object.
struct KindOps {
    const char* label;
    Handle (*create)(const char* name);
    Handle (*open)(const char* name);
    bool (*dirty)(Handle);    // leaves the object visibly not fresh
    bool (*isFresh)(Handle);  // called once per handle: tests may consume state
};

void PrintTo(const KindOps& k, std::ostream* os) { *os << k.label; }

bool DirtyMapping(Handle h) {
    auto* view = static_cast<unsigned char*>(MapView(h, kBytes));
    if (!view) return false;
    view[0] = 0x5A;
    view[kBytes - 1] = 0xA5;
    UnmapView(view, kBytes);
    return true;
}

bool MappingIsZero(Handle h) {
    auto* view = static_cast<unsigned char*>(MapView(h, kBytes));
    if (!view) return false;
    bool zero = true;
    for (std::size_t i = 0; i < kBytes; ++i) zero = zero && view[i] == 0;
    UnmapView(view, kBytes);
    return zero;
}

const KindOps kKinds[] = {
    {"Mapping", [](const char* n) { return CreateNamedMapping(n, kBytes); }, OpenNamedMapping, DirtyMapping,
     MappingIsZero},
    {"ManualEventInitiallyClear", [](const char* n) { return CreateNamedEvent(n, true, false); }, OpenNamedEvent,
     SetNamedEvent, [](Handle h) { return h && !TestEvent(h); }},
    {"AutoEventInitiallySet", [](const char* n) { return CreateNamedEvent(n, false, true); }, OpenNamedEvent,
     ResetNamedEvent, TestEvent},
};

class KindTest : public KernelObjectsTest, public ::testing::WithParamInterface<KindOps> {};

INSTANTIATE_TEST_SUITE_P(Kinds, KindTest, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_P(KindTest, LivesWhileAnyHandleIsOpen) {
    const KindOps& k = GetParam();
    EXPECT_EQ(k.open("obj"), nullptr);
    Handle first = k.create("obj");
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(k.dirty(first));
    Handle second = k.open("obj");
    ASSERT_NE(second, nullptr);

    CloseNamedObject(first);
    Handle third = k.open("obj");
    ASSERT_NE(third, nullptr);
    EXPECT_FALSE(k.isFresh(third)) << "closing one of several handles lost the object";
    CloseNamedObject(second);
    CloseNamedObject(third);

    EXPECT_EQ(k.open("obj"), nullptr);
    Handle again = k.create("obj");
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(k.isFresh(again));
    CloseNamedObject(again);
}

TEST_P(KindTest, CreateOfExistingObjectOpensItUnchanged) {
    const KindOps& k = GetParam();
    Handle first = k.create("obj");
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(k.dirty(first));
    Handle second = k.create("obj");
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(k.isFresh(second));
    CloseNamedObject(first);
    CloseNamedObject(second);
}

// The child opens the object while the parent holds it: a handle inherited
// through fork would not show that the objects meet across processes.
TEST_P(KindTest, ChangesAreSeenAcrossProcesses) {
    const KindOps& k = GetParam();
    Handle mine = k.create("obj");
    ASSERT_NE(mine, nullptr);
    Child child([&](int, int) {
        Handle h = k.open("obj");
        const bool ok = h && k.dirty(h);
        CloseNamedObject(h);
        return ok ? 0 : 1;
    });
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_FALSE(k.isFresh(mine));
    CloseNamedObject(mine);
}

TEST_P(KindTest, ChildClosingAnInheritedHandleLeavesTheObjectAlive) {
    const KindOps& k = GetParam();
    Handle mine = k.create("obj");
    ASSERT_NE(mine, nullptr);
    Child child([&](int, int) {
        const bool ok = k.dirty(mine);
        CloseNamedObject(mine);
        return ok ? 0 : 1;
    });
    EXPECT_EQ(child.Wait(), 0);
    Handle other = k.open("obj");
    ASSERT_NE(other, nullptr) << "the child's close destroyed the parent's object";
    EXPECT_FALSE(k.isFresh(other));
    CloseNamedObject(other);
    CloseNamedObject(mine);
}

// Who looks at the object after its holder was killed, and how.
enum class AfterKill { ParentHoldsIt, ParentOpens, ParentCreates };

const char* Label(AfterKill after) {
    switch (after) {
        case AfterKill::ParentHoldsIt:
            return "ParentHoldsIt";
        case AfterKill::ParentOpens:
            return "ParentOpens";
        case AfterKill::ParentCreates:
            return "ParentCreates";
    }
    return "";
}

class KilledHolderTest : public KernelObjectsTest,
                         public ::testing::WithParamInterface<std::tuple<KindOps, AfterKill>> {};

INSTANTIATE_TEST_SUITE_P(
    Kinds, KilledHolderTest,
    ::testing::Combine(::testing::ValuesIn(kKinds),
                       ::testing::Values(AfterKill::ParentHoldsIt, AfterKill::ParentOpens, AfterKill::ParentCreates)),
    [](const auto& info) { return std::string(std::get<0>(info.param).label) + "_" + Label(std::get<1>(info.param)); });

TEST_P(KilledHolderTest, KillLeavesNoReference) {
    const auto& [k, after] = GetParam();
    Handle mine = nullptr;
    if (after == AfterKill::ParentHoldsIt) {
        mine = k.create("obj");
        ASSERT_NE(mine, nullptr);
    }
    {
        Child child([&](int ready, int) {
            Handle h = k.create("obj");
            if (!h || !k.dirty(h)) return 1;
            Signal(ready);
            for (;;) ::pause();
        });
        ASSERT_TRUE(child.Ready());
        EXPECT_EQ(child.Kill(), -1);
    }
    switch (after) {
        case AfterKill::ParentHoldsIt: {
            Handle other = k.open("obj");
            ASSERT_NE(other, nullptr);
            EXPECT_FALSE(k.isFresh(other)) << "data lost with the killed holder";
            CloseNamedObject(other);
            CloseNamedObject(mine);
            break;
        }
        case AfterKill::ParentOpens:
            EXPECT_EQ(k.open("obj"), nullptr) << "the killed holder left a reference";
            break;
        case AfterKill::ParentCreates: {
            Handle fresh = k.create("obj");
            ASSERT_NE(fresh, nullptr);
            EXPECT_TRUE(k.isFresh(fresh)) << "the killed holder's data survived";
            CloseNamedObject(fresh);
            EXPECT_EQ(k.open("obj"), nullptr);
            break;
        }
    }
}

TEST_F(KernelObjectsTest, EventStateChangesAreSeenByOtherProcesses) {
    Handle mine = CreateNamedEvent("$$$AVRIONSECUREEVENT_5", true, false);
    ASSERT_NE(mine, nullptr);
    Child child([](int ready, int go) {
        Handle h = OpenNamedEvent("$$$AVRIONSECUREEVENT_5");
        if (!h) return 1;
        SetNamedEvent(h);
        Signal(ready);
        Await(go);
        ResetNamedEvent(h);
        Signal(ready);
        Await(go);
        const bool ok = TestEvent(h);  // set by the parent meanwhile
        CloseNamedObject(h);
        return ok ? 0 : 2;
    });
    ASSERT_TRUE(child.Ready());
    EXPECT_TRUE(TestEvent(mine));
    child.Go();
    ASSERT_TRUE(child.Ready());
    EXPECT_FALSE(TestEvent(mine));
    SetNamedEvent(mine);
    child.Go();
    EXPECT_EQ(child.Wait(), 0);
    CloseNamedObject(mine);
}

struct EventCase {
    const char* label;
    bool manualReset;
    bool initiallySignalled;
    std::vector<bool> testsAfterCreate;  // successive TestEvent results
    std::vector<bool> testsAfterSet;
};

class EventModeTest : public KernelObjectsTest, public ::testing::WithParamInterface<EventCase> {};

INSTANTIATE_TEST_SUITE_P(Modes, EventModeTest,
                         ::testing::Values(EventCase{"ManualSet", true, true, {true, true}, {true, true}},
                                           EventCase{"ManualClear", true, false, {false, false}, {true, true}},
                                           EventCase{"AutoSet", false, true, {true, false}, {true, false}},
                                           EventCase{"AutoClear", false, false, {false, false}, {true, false}}),
                         [](const auto& info) { return std::string(info.param.label); });

// An auto-reset event is consumed by whichever holder tests it first.
TEST_P(EventModeTest, TestResetsOnlyAutoResetEvents) {
    const EventCase& c = GetParam();
    Handle a = CreateNamedEvent("ev", c.manualReset, c.initiallySignalled);
    Handle b = OpenNamedEvent("ev");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    for (std::size_t i = 0; i < c.testsAfterCreate.size(); ++i)
        EXPECT_EQ(TestEvent(i % 2 ? b : a), c.testsAfterCreate[i]) << "test " << i;
    EXPECT_TRUE(SetNamedEvent(b));
    for (std::size_t i = 0; i < c.testsAfterSet.size(); ++i)
        EXPECT_EQ(TestEvent(i % 2 ? a : b), c.testsAfterSet[i]) << "test " << i << " after set";
    EXPECT_TRUE(SetNamedEvent(a));
    EXPECT_TRUE(ResetNamedEvent(b));
    EXPECT_FALSE(TestEvent(a));
    CloseNamedObject(a);
    CloseNamedObject(b);
}

class JunkEventFileTest : public KernelObjectsTest, public ::testing::WithParamInterface<std::string> {};

INSTANTIATE_TEST_SUITE_P(Junk, JunkEventFileTest,
                         ::testing::Values(std::string(), std::string("abc"), std::string(16, '\xff'),
                                           std::string(4096, 'x')),
                         [](const auto& info) { return "Bytes" + std::to_string(info.param.size()); });

TEST_P(JunkEventFileTest, StaleFileIsDiscardedOrReplaced) {
    Handle h = CreateNamedEvent("ev", true, false);
    ASSERT_NE(h, nullptr);
    const std::string path = OnlyObjectFile();
    ASSERT_FALSE(path.empty());
    CloseNamedObject(h);
    ASSERT_FALSE(fs::exists(path));

    WriteFile(path, GetParam());
    EXPECT_EQ(OpenNamedEvent("ev"), nullptr);
    EXPECT_FALSE(fs::exists(path)) << "stale file left behind";

    WriteFile(path, GetParam());
    h = CreateNamedEvent("ev", true, true);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(TestEvent(h));
    EXPECT_TRUE(TestEvent(h)) << "manual reset lost";
    CloseNamedObject(h);
}

// Someone else's bug holds a file we cannot read as an event: refuse it,
// and never reinitialise what another holder may be using.
TEST_P(JunkEventFileTest, HeldFileWithBadHeaderIsRefused) {
    Handle h = CreateNamedEvent("ev", true, false);
    ASSERT_NE(h, nullptr);
    const std::string path = OnlyObjectFile();
    CloseNamedObject(h);

    WriteFile(path, GetParam());
    const int holder = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_SH), 0);
    EXPECT_EQ(OpenNamedEvent("ev"), nullptr);
    EXPECT_EQ(CreateNamedEvent("ev", true, true), nullptr);
    EXPECT_EQ(fs::file_size(path), GetParam().size());
    ::close(holder);

    h = CreateNamedEvent("ev", false, true);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(TestEvent(h));
    EXPECT_FALSE(TestEvent(h));
    CloseNamedObject(h);
}

TEST_F(KernelObjectsTest, StaleMappingFileIsZeroedOnCreate) {
    Handle h = CreateNamedMapping("map", kBytes);
    ASSERT_NE(h, nullptr);
    const std::string path = OnlyObjectFile();
    CloseNamedObject(h);

    WriteFile(path, std::string(2 * kBytes, '\x7f'));
    EXPECT_EQ(OpenNamedMapping("map"), nullptr);
    WriteFile(path, std::string(2 * kBytes, '\x7f'));
    h = CreateNamedMapping("map", kBytes);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(MappingIsZero(h));
    EXPECT_EQ(MapView(h, kBytes + 1), nullptr) << "old size survived";
    CloseNamedObject(h);
}

// A view keeps its block alive after the last handle is closed, as on Windows,
// and the block goes with the last view.
TEST_F(KernelObjectsTest, AViewOutlivesItsHandle) {
    Handle h = CreateNamedMapping("map", kBytes);
    auto* view = static_cast<unsigned char*>(MapView(h, kBytes));
    ASSERT_NE(view, nullptr);
    auto* second = static_cast<unsigned char*>(MapView(h, 16));
    CloseNamedObject(h);
    view[7] = 42;
    Handle again = OpenNamedMapping("map");
    ASSERT_NE(again, nullptr) << "the views keep it";
    auto* third = static_cast<unsigned char*>(MapView(again, kBytes));
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third[7], 42);
    UnmapView(third, kBytes);
    CloseNamedObject(again);
    UnmapView(second, 16);
    EXPECT_EQ(view[7], 42) << "still mapped while a view is out";
    UnmapView(view, kBytes);
    EXPECT_EQ(OpenNamedMapping("map"), nullptr);
}

// A folder with no room left and a file planted under our name by another
// user: the create fails cleanly, leaves nothing and touches nothing.
TEST_F(KernelObjectsTest, AFullFolderAndAnotherUsersFileFailCleanly) {
    Child full([](int, int) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit room{64, 64};  // an event's 16 bytes fit, a block does not
        if (::setrlimit(RLIMIT_FSIZE, &room) != 0) return 3;
        if (CreateNamedMapping("map", kBytes) != nullptr) return 1;
        Handle event = CreateNamedEvent("ev", true, true);
        if (event == nullptr || !TestEvent(event)) return 2;
        CloseNamedObject(event);
        return 0;
    });
    EXPECT_EQ(full.Wait(), 0);

    if (::geteuid() != 0) GTEST_SKIP() << "only root can plant another user's file";
    Handle h = CreateNamedEvent("ev", true, true);
    const std::string path = OnlyObjectFile();
    CloseNamedObject(h);
    WriteFile(path, std::string(16, 'u'));
    ASSERT_EQ(::chown(path.c_str(), 4242, 4242), 0);
    EXPECT_EQ(CreateNamedEvent("ev", true, true), nullptr);
    EXPECT_EQ(OpenNamedEvent("ev"), nullptr);
    struct stat st{};
    ASSERT_EQ(::stat(path.c_str(), &st), 0) << "another user's file removed";
    EXPECT_EQ(st.st_uid, 4242u);
    EXPECT_EQ(st.st_size, 16);
    fs::remove(path);
}

TEST_F(KernelObjectsTest, NamesAreFlatFilesAndKindsDoNotCollide) {
    const char* names[] = {"$$$AVRIONSECUREEVENT_5", "$$$AVRIONDATAEXCHANGER$$$", "Local\\avrion/panel", "../escape"};
    std::vector<Handle> handles;
    for (const char* name : names) {
        handles.push_back(CreateNamedEvent(name, true, false));
        handles.push_back(CreateNamedMapping(name, kBytes));
    }
    for (Handle h : handles) EXPECT_NE(h, nullptr);
    EXPECT_EQ(ObjectFiles().size(), handles.size());
    for (const auto& [fd, target] : OpenFds()) {
        if (target.parent_path() == dir_) {
            EXPECT_EQ(::fcntl(fd, F_GETFD) & FD_CLOEXEC, FD_CLOEXEC) << target;
        }
    }
    for (const std::string& file : ObjectFiles()) {
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
        EXPECT_EQ(fs::path(file).filename().string().rfind("kesta-avrion.", 0), 0u) << file;
    }
    EXPECT_TRUE(SetNamedEvent(handles[0]));
    EXPECT_TRUE(MappingIsZero(handles[1])) << "event and mapping share storage";

    Handle sameEvent = OpenNamedEvent("Local/avrion\\panel");
    EXPECT_NE(sameEvent, nullptr) << "separators not mapped alike";
    EXPECT_EQ(OpenNamedMapping("avrion-never-created"), nullptr);
    CloseNamedObject(sameEvent);
    for (Handle h : handles) CloseNamedObject(h);
}

TEST_F(KernelObjectsTest, EventAndMappingOfOneNameAreDistinct) {
    Handle ev = CreateNamedEvent("same", true, false);
    ASSERT_NE(ev, nullptr);
    EXPECT_EQ(OpenNamedMapping("same"), nullptr);
    Handle map = CreateNamedMapping("same", kBytes);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(MapView(ev, kBytes), nullptr);
    EXPECT_FALSE(SetNamedEvent(map));
    EXPECT_FALSE(TestEvent(map));
    CloseNamedObject(ev);
    EXPECT_EQ(OpenNamedEvent("same"), nullptr);
    CloseNamedObject(map);
}

TEST_F(KernelObjectsTest, ViewsNeverReachPastTheBlock) {
    Handle small = CreateNamedMapping("map", kBytes);
    ASSERT_NE(small, nullptr);
    Handle asked = CreateNamedMapping("map", 4 * kBytes);  // opens the existing block
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(MapView(asked, 4 * kBytes), nullptr);
    EXPECT_EQ(MapView(asked, 0), nullptr);
    void* view = MapView(asked, kBytes);
    EXPECT_NE(view, nullptr);
    UnmapView(view, kBytes);
    CloseNamedObject(asked);
    CloseNamedObject(small);
}

TEST_F(KernelObjectsTest, BadArgumentsFailQuietly) {
    EXPECT_EQ(CreateNamedMapping("map", 0), nullptr);
    EXPECT_EQ(CreateNamedMapping(nullptr, kBytes), nullptr);
    EXPECT_EQ(CreateNamedEvent("", true, true), nullptr);
    EXPECT_EQ(OpenNamedEvent(nullptr), nullptr);
    EXPECT_EQ(CreateNamedEvent(std::string(300, 'n').c_str(), true, true), nullptr);
    EXPECT_FALSE(TestEvent(nullptr));
    EXPECT_FALSE(SetNamedEvent(nullptr));
    EXPECT_FALSE(ResetNamedEvent(nullptr));
    EXPECT_EQ(MapView(nullptr, kBytes), nullptr);
    UnmapView(nullptr, kBytes);
    CloseNamedObject(nullptr);
}

TEST_F(KernelObjectsTest, MissingDirectoryFailsEverything) {
    const fs::path missing = dir_ / "missing";
    ::setenv("AVRION_KERNEL_OBJECTS", missing.c_str(), 1);
    EXPECT_EQ(CreateNamedEvent("ev", true, true), nullptr);
    EXPECT_EQ(OpenNamedEvent("ev"), nullptr);
    EXPECT_EQ(CreateNamedMapping("map", kBytes), nullptr);
    EXPECT_EQ(OpenNamedMapping("map"), nullptr);
    EXPECT_FALSE(fs::exists(missing));
}

// Creates and last closes racing each other must never leave two objects
// under one name: what a creator writes, an opener right after must see.
TEST_F(KernelObjectsTest, RacingCreatesAndClosesShareOneObject) {
    constexpr int kThreads = 4, kRounds = 300;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &failures] {
            for (int round = 1; round <= kRounds; ++round) {
                Handle created = CreateNamedMapping("race", kBytes);
                Handle opened = OpenNamedMapping("race");
                auto* a = static_cast<std::int32_t*>(MapView(created, kBytes));
                auto* b = static_cast<std::int32_t*>(MapView(opened, kBytes));
                if (!a || !b) {
                    ++failures;
                } else {
                    a[t] = round;
                    if (b[t] != round) ++failures;
                }
                UnmapView(a, kBytes);
                UnmapView(b, kBytes);
                CloseNamedObject(created);
                CloseNamedObject(opened);
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(failures.load(), 0);
}

}  // namespace
