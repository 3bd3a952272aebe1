// The connection gate's loop (see connection_gate.h): its connections and
// their states, the workers' jobs and answers. Its members are defined in
// connection_gate.cpp (listening, the loop, the workers) and connection_io.cpp
// (each connection's reading, framing, writing and time limits).
#pragma once

#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "web/connection_gate.h"

namespace web {

using Clock = std::chrono::steady_clock;

inline constexpr std::size_t kReadPiece = 16384;
inline constexpr int kEventsAtOnce = 64;
inline constexpr int kWaitMilliseconds = 50;  // also how often the time limits are looked at
inline constexpr auto kLingerAfterAnswer = std::chrono::milliseconds(1000);
inline constexpr auto kAcceptPause = std::chrono::milliseconds(100);
inline constexpr std::uint64_t kListenerId = 0;
inline constexpr std::uint64_t kWakeId = 1;

std::string AddressText(const sockaddr_storage& address, int& port);

class ConnectionGate::Loop {
public:
    Loop(GateSettings settings, Answerer answer, Readiness ready)
        : settings_(std::move(settings)), answer_(std::move(answer)), ready_(std::move(ready)) {}

    ~Loop();

    std::string Listen();
    int port() const;
    void Run();
    void Stop();
    void Wake();
    GateCounts counts() const;
private:
    struct Connection {
        enum class State { kReading, kHeld, kWorking, kWriting, kDraining };
        std::uint64_t id = 0;
        int fd = -1;
        std::string peer;
        State state = State::kReading;
        std::uint32_t interest = 0;
        std::string in;
        std::string out;
        std::size_t sent = 0;
        bool peerDone = false;    // the peer sent its last byte
        bool closeAfter = false;  // after the answer being sent
        bool requestUnderWay = false;
        Clock::time_point requestStarted, lastActivity, since;
        RequestFrame held;  // a request waiting until the answerer is ready for it
        bool closed = false;
    };
    struct Job {
        std::uint64_t id;
        RequestFrame request;
    };
    struct Answer {
        std::uint64_t id;
        std::string response;
        bool close;
    };
    void Watch(int fd, std::uint64_t id, std::uint32_t events, int operation);
    void SetInterest(Connection& connection, std::uint32_t events);
    void Signal();
    void Work();
    void AcceptAll(Clock::time_point now);
    // A refusal sent on a connection that is not taken in, as far as the socket takes it at once.
    void RefuseAtOnce(int fd, int status, const std::string& reason);
    void Admit(int fd, const sockaddr_storage& address, Clock::time_point now);
    // The connection (of one peer, or of any) with nothing under way for longest; none when every one is busy.
    Connection* Idlest(const std::string* peer);
    void OnEvent(Connection& connection, std::uint32_t events, Clock::time_point now);
    void Read(Connection& connection, Clock::time_point now);
    // Takes every whole request already read, one at a time: each waits for the answer to the one before.
    void Frame(Connection& connection, Clock::time_point now);
    // The next request's time starts with its first byte, which may be here already.
    static void RequestDone(Connection& connection, Clock::time_point now);
    void Dispatch(Connection& connection, RequestFrame request);
    void ReleaseHeld(Clock::time_point now);
    void TakeAnswers(Clock::time_point now);
    void Send(Connection& connection, std::string response, bool close, Clock::time_point now);
    void Write(Connection& connection, Clock::time_point now);
    void Drain(Connection& connection);
    void LookAtTimes(Clock::time_point now);
    // Closed at once; forgotten by Sweep, so that no one holding it is left with nothing.
    void Close(Connection& connection);
    void Sweep();
    const GateSettings settings_;
    const Answerer answer_;
    const Readiness ready_;
    int listener_ = -1, epoll_ = -1, wake_ = -1;
    bool acceptPaused_ = false;
    Clock::time_point acceptAgain_;
    std::map<std::uint64_t, std::unique_ptr<Connection>> connections_;
    std::map<std::string, std::size_t> perPeer_;
    std::uint64_t nextId_ = 2;  // after the listener's and the wake-up's

    std::atomic<bool> stopping_{false};
    std::atomic<bool> woken_{false};
    std::atomic<std::size_t> open_{0}, answered_{0}, refused_{0}, timedOut_{0}, evicted_{0};
    std::mutex jobsLock_;
    std::condition_variable jobsReady_;
    std::deque<Job> jobs_;
    bool workersStop_ = false;
    std::mutex answersLock_;
    std::vector<Answer> answers_;
};

}  // namespace web
