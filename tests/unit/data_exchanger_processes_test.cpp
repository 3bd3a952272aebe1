// The shared block across real processes: a sibling module in a child process.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "sim/sibling_modules.h"
#include "state/data_exchanger.h"

namespace {

// A child process with a pipe each way, for lock-step handshakes.
class Child {
public:
    template <typename Body>
    explicit Child(Body body) {
        if (pipe(toChild_) != 0 || pipe(toParent_) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(toChild_[1]);
            close(toParent_[0]);
            _exit(body(*this) ? 0 : 1);
        }
        close(toChild_[0]);
        close(toParent_[1]);
    }
    ~Child() {
        if (pid_ > 0) Kill();
    }
    bool started() const { return pid_ > 0; }

    // Either side: tell the other one to go on, or wait until told.
    void SignalParent() { Send(toParent_[1]); }
    bool WaitForParent() { return Receive(toChild_[0]); }
    void SignalChild() { Send(toChild_[1]); }
    bool WaitForChild() { return Receive(toParent_[0]); }

    int Join() {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void Kill() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    static void Send(int fd) {
        const char byte = 1;
        [[maybe_unused]] auto written = write(fd, &byte, 1);
    }
    static bool Receive(int fd) {
        char byte = 0;
        return read(fd, &byte, 1) == 1;
    }
    int toChild_[2] = {-1, -1};
    int toParent_[2] = {-1, -1};
    pid_t pid_ = -1;
};

TEST(DataExchangerProcesses, ValuesCrossBetweenProcessesBothWays) {
    Child sibling([](Child& self) {
        SiblingModules block;
        if (!block.SetSlot(29, 1.0)) return false;
        self.SignalParent();
        self.WaitForParent();
        double value = 0.0;
        return block.ReadSlot(10, value) && value == 760.0;
    });
    ASSERT_TRUE(sibling.started());
    ASSERT_TRUE(sibling.WaitForChild());
    EXPECT_EQ(DataExchanger().Read(29), 1.0);
    EXPECT_TRUE(DataExchanger().Write(10, 760.0));
    sibling.SignalChild();
    EXPECT_EQ(sibling.Join(), 0);
}

TEST(DataExchangerProcesses, ASlotHeldInAnotherProcessIsBusy) {
    Child sibling([](Child& self) {
        SiblingModules block;
        block.SetSlot(109, 1.0);
        block.HoldSlot(109);
        self.SignalParent();
        self.WaitForParent();
        block.ReleaseSlot(109);
        self.SignalParent();
        self.WaitForParent();
        return true;
    });
    ASSERT_TRUE(sibling.WaitForChild());
    EXPECT_EQ(DataExchanger().Read(109), -1.0);
    sibling.SignalChild();
    ASSERT_TRUE(sibling.WaitForChild());
    EXPECT_EQ(DataExchanger().Read(109), 1.0);
    sibling.SignalChild();
    EXPECT_EQ(sibling.Join(), 0);
}

TEST(DataExchangerProcesses, AKilledHolderLeavesNothingBehind) {
    Child sibling([](Child& self) {
        SiblingModules block;
        block.SetSlot(103, 7.5);
        block.HoldSlot(5);  // killed in the middle of an access
        self.SignalParent();
        self.WaitForParent();
        return true;
    });
    ASSERT_TRUE(sibling.WaitForChild());
    EXPECT_EQ(DataExchanger().Read(103), 7.5);
    sibling.Kill();

    EXPECT_EQ(DataExchanger().Read(103), 0.0) << "the block went with its last holder";
    EXPECT_EQ(DataExchanger().Read(5), 0.0) << "the dead holder's guard is gone too";
}

TEST(DataExchangerProcesses, AKilledHolderLeavesTheBlockToTheOthersStillHoldingIt) {
    SiblingModules survivor;
    Child sibling([](Child& self) {
        SiblingModules block;
        block.SetSlot(103, 7.5);
        self.SignalParent();
        self.WaitForParent();
        return true;
    });
    ASSERT_TRUE(sibling.WaitForChild());
    sibling.Kill();
    EXPECT_EQ(DataExchanger().Read(103), 7.5);
}

}  // namespace
