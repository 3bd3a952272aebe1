#include "web/connection_gate.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "web/request_guard.h"

namespace web {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadPiece = 16384;
constexpr int kEventsAtOnce = 64;
constexpr int kWaitMilliseconds = 50;  // also how often the time limits are looked at
constexpr auto kLingerAfterAnswer = std::chrono::milliseconds(1000);
constexpr auto kAcceptPause = std::chrono::milliseconds(100);
constexpr std::uint64_t kListenerId = 0;
constexpr std::uint64_t kWakeId = 1;

std::string AddressText(const sockaddr_storage& address, int& port) {
    char text[INET6_ADDRSTRLEN] = "";
    port = 0;
    if (address.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
        inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
        port = ntohs(v4.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
        inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
        port = ntohs(v6.sin6_port);
    }
    return text;
}

std::string Seconds(std::chrono::milliseconds duration) {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", static_cast<double>(duration.count()) / 1000.0);
    return text;
}

}  // namespace

class ConnectionGate::Loop {
public:
    Loop(GateSettings settings, Answerer answer, Readiness ready)
        : settings_(std::move(settings)), answer_(std::move(answer)), ready_(std::move(ready)) {}

    ~Loop() {
        for (auto& [id, connection] : connections_)
            if (connection->fd >= 0) ::close(connection->fd);
        for (const int fd : {listener_, wake_, epoll_})
            if (fd >= 0) ::close(fd);
    }

    std::string Listen() {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_PASSIVE;
        addrinfo* found = nullptr;
        const std::string where = settings_.address + " port " + std::to_string(settings_.port);
        const std::string port = std::to_string(settings_.port);
        if (const int error = getaddrinfo(settings_.address.c_str(), port.c_str(), &hints, &found); error != 0)
            return "cannot listen on " + where + ": " + gai_strerror(error);
        std::string failure = "cannot listen on " + where;
        for (addrinfo* candidate = found; candidate != nullptr && listener_ < 0; candidate = candidate->ai_next) {
            const int fd = ::socket(candidate->ai_family, candidate->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (fd < 0) continue;
            const int on = 1;
            setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
            if (::bind(fd, candidate->ai_addr, candidate->ai_addrlen) == 0 && ::listen(fd, SOMAXCONN) == 0) {
                listener_ = fd;
            } else {
                failure += std::string(": ") + std::strerror(errno);
                ::close(fd);
            }
        }
        freeaddrinfo(found);
        if (listener_ < 0) return failure;
        epoll_ = epoll_create1(EPOLL_CLOEXEC);
        wake_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (epoll_ < 0 || wake_ < 0) return std::string("cannot watch connections: ") + std::strerror(errno);
        Watch(listener_, kListenerId, EPOLLIN, EPOLL_CTL_ADD);
        Watch(wake_, kWakeId, EPOLLIN, EPOLL_CTL_ADD);
        return std::string();
    }

    int port() const {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        if (listener_ < 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
        int port = 0;
        AddressText(address, port);
        return port;
    }

    void Run() {
        std::vector<std::thread> workers;
        for (std::size_t i = 0; i < std::max<std::size_t>(1, settings_.workers); ++i)
            workers.emplace_back([this] { Work(); });
        epoll_event events[kEventsAtOnce];
        auto lastLook = Clock::now();
        while (!stopping_) {
            const int count = epoll_wait(epoll_, events, kEventsAtOnce, kWaitMilliseconds);
            const auto now = Clock::now();
            for (int i = 0; i < count; ++i) {
                const std::uint64_t id = events[i].data.u64;
                if (id == kListenerId) {
                    AcceptAll(now);
                } else if (id == kWakeId) {
                    std::uint64_t signals = 0;
                    [[maybe_unused]] const ssize_t got = ::read(wake_, &signals, sizeof signals);
                    TakeAnswers(now);
                    if (woken_.exchange(false)) ReleaseHeld(now);
                } else if (const auto found = connections_.find(id); found != connections_.end()) {
                    OnEvent(*found->second, events[i].events, now);
                }
            }
            if (now - lastLook >= std::chrono::milliseconds(kWaitMilliseconds)) {
                LookAtTimes(now);
                lastLook = now;
            }
            if (acceptPaused_ && now >= acceptAgain_) {
                acceptPaused_ = false;
                Watch(listener_, kListenerId, EPOLLIN, EPOLL_CTL_ADD);
            }
            Sweep();
        }
        {
            std::lock_guard<std::mutex> hold(jobsLock_);
            workersStop_ = true;
        }
        jobsReady_.notify_all();
        for (std::thread& worker : workers) worker.join();
        for (auto& [id, connection] : connections_) Close(*connection);
        Sweep();
    }

    void Stop() {
        stopping_ = true;
        Signal();
    }
    void Wake() {
        woken_ = true;
        Signal();
    }

    GateCounts counts() const {
        return {open_.load(), answered_.load(), refused_.load(), timedOut_.load(), evicted_.load()};
    }

private:
    struct Connection {
        enum class State { kReading, kHeld, kWorking, kWriting, kDraining };
        std::uint64_t id = 0;
        int fd = -1;
        std::string peer, local;
        int peerPort = 0, localPort = 0;
        State state = State::kReading;
        std::uint32_t interest = 0;
        std::string in;
        std::string out;
        std::size_t sent = 0;
        bool peerDone = false;    // the peer sent its last byte
        bool closeAfter = false;  // after the answer being sent
        bool requestUnderWay = false;
        Clock::time_point requestStarted, lastActivity, since;
        RequestFrame heldFrame;
        GateRequest heldRequest;
        bool closed = false;
    };
    struct Job {
        std::uint64_t id;
        GateRequest request;
    };
    struct Answer {
        std::uint64_t id;
        std::string response;
        bool close;
    };

    void Watch(int fd, std::uint64_t id, std::uint32_t events, int operation) {
        epoll_event event{};
        event.events = events;
        event.data.u64 = id;
        epoll_ctl(epoll_, operation, fd, &event);
    }
    void SetInterest(Connection& connection, std::uint32_t events) {
        if (connection.interest == events) return;
        connection.interest = events;
        Watch(connection.fd, connection.id, events, EPOLL_CTL_MOD);
    }
    void Signal() {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t put = ::write(wake_, &one, sizeof one);
    }

    void Work() {
        for (;;) {
            Job job;
            {
                std::unique_lock<std::mutex> hold(jobsLock_);
                jobsReady_.wait(hold, [&] { return workersStop_ || !jobs_.empty(); });
                if (workersStop_) return;
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            bool close = false;
            std::string response;
            try {
                response = answer_(job.request, close);
            } catch (const std::exception& error) {
                response = RefusalResponse(500, std::string("the answer failed: ") + error.what(), true);
                close = true;
            }
            {
                std::lock_guard<std::mutex> hold(answersLock_);
                answers_.push_back({job.id, std::move(response), close});
            }
            Signal();
        }
    }

    void AcceptAll(Clock::time_point now) {
        for (;;) {
            sockaddr_storage address{};
            socklen_t length = sizeof address;
            const int fd =
                accept4(listener_, reinterpret_cast<sockaddr*>(&address), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd >= 0) {
                Admit(fd, address, now);
                continue;
            }
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                // Out of descriptors: the idlest connection makes room, or accepting waits a moment.
                if (Connection* idlest = Idlest(nullptr)) {
                    ++evicted_;
                    Close(*idlest);
                    continue;
                }
                acceptPaused_ = true;
                acceptAgain_ = now + kAcceptPause;
                epoll_ctl(epoll_, EPOLL_CTL_DEL, listener_, nullptr);
            }
            return;
        }
    }

    // A refusal sent on a connection that is not taken in, as far as the socket takes it at once.
    void RefuseAtOnce(int fd, int status, const std::string& reason) {
        ++refused_;
        const std::string response = RefusalResponse(status, reason, true);
        [[maybe_unused]] const ssize_t sent = ::send(fd, response.data(), response.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        ::close(fd);
    }

    void Admit(int fd, const sockaddr_storage& address, Clock::time_point now) {
        int peerPort = 0;
        const std::string peer = AddressText(address, peerPort);
        if (settings_.loopbackOnly && !IsLoopbackAddress(peer)) {
            RefuseAtOnce(fd, 403, "only this machine may use the panel");
            return;
        }
        // Room is made by closing the connection that has done nothing for longest.
        if (const auto count = perPeer_.find(peer);
            count != perPeer_.end() && count->second >= settings_.connectionsPerPeer) {
            Connection* idlest = Idlest(&peer);
            if (idlest == nullptr) {
                RefuseAtOnce(fd, 503, "too many connections from " + peer);
                return;
            }
            ++evicted_;
            Close(*idlest);
        }
        if (open_ >= settings_.connections) {
            Connection* idlest = Idlest(nullptr);
            if (idlest == nullptr) {
                RefuseAtOnce(fd, 503, "the panel has too many connections open");
                return;
            }
            ++evicted_;
            Close(*idlest);
        }
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        auto connection = std::make_unique<Connection>();
        connection->id = nextId_++;
        connection->fd = fd;
        connection->peer = peer;
        connection->peerPort = peerPort;
        sockaddr_storage local{};
        socklen_t length = sizeof local;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) == 0)
            connection->local = AddressText(local, connection->localPort);
        connection->lastActivity = now;
        connection->interest = EPOLLIN | EPOLLRDHUP;
        Watch(fd, connection->id, connection->interest, EPOLL_CTL_ADD);
        ++perPeer_[peer];
        ++open_;
        connections_.emplace(connection->id, std::move(connection));
    }

    // The connection (of one peer, or of any) with nothing under way for longest; none when every one is busy.
    Connection* Idlest(const std::string* peer) {
        Connection* idlest = nullptr;
        for (auto& [id, connection] : connections_) {
            if (connection->closed || connection->state != Connection::State::kReading) continue;
            if (peer != nullptr && connection->peer != *peer) continue;
            if (idlest == nullptr || connection->lastActivity < idlest->lastActivity) idlest = connection.get();
        }
        return idlest;
    }

    void OnEvent(Connection& connection, std::uint32_t events, Clock::time_point now) {
        if (connection.closed) return;
        if (events & (EPOLLERR | EPOLLHUP)) {
            Close(connection);
            return;
        }
        switch (connection.state) {
            case Connection::State::kWriting:
                if (events & EPOLLOUT) Write(connection, now);
                if (!connection.closed && connection.state == Connection::State::kReading) Frame(connection, now);
                break;
            case Connection::State::kReading:
                if (events & (EPOLLIN | EPOLLRDHUP)) Read(connection, now);
                break;
            case Connection::State::kDraining:
                Drain(connection);
                break;
            default:
                break;
        }
    }

    void Read(Connection& connection, Clock::time_point now) {
        char buffer[kReadPiece];
        // A whole request and the start of the next; the framing refuses what would need more.
        const std::size_t most = settings_.limits.head + settings_.limits.body + kReadPiece;
        while (connection.in.size() < most) {
            const ssize_t got = ::recv(connection.fd, buffer, std::min(sizeof buffer, most - connection.in.size()), 0);
            if (got > 0) {
                if (!connection.requestUnderWay) {
                    connection.requestUnderWay = true;
                    connection.requestStarted = now;
                }
                connection.in.append(buffer, static_cast<std::size_t>(got));
                connection.lastActivity = now;
                continue;
            }
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
            if (got < 0) {
                Close(connection);
                return;
            }
            // The peer has said all it will: what it sent is still answered.
            connection.peerDone = true;
            SetInterest(connection, 0);
            break;
        }
        Frame(connection, now);
    }

    // Takes every whole request already read, one at a time: each waits for the answer to the one before.
    void Frame(Connection& connection, Clock::time_point now) {
        while (!connection.closed && connection.state == Connection::State::kReading) {
            RequestFrame frame = FrameRequest(connection.in, settings_.limits);
            connection.in.erase(0, frame.skipped);
            switch (frame.outcome) {
                case RequestFrame::Outcome::kIncomplete:
                    if (connection.peerDone) Close(connection);
                    return;
                case RequestFrame::Outcome::kRefused:
                    ++refused_;
                    if (frame.keepConnection && !connection.peerDone) {
                        connection.in.erase(0, frame.size);
                        RequestDone(connection, now);
                        Send(connection, RefusalResponse(frame.status, frame.reason, false), false, now);
                    } else {
                        connection.in.clear();
                        Send(connection, RefusalResponse(frame.status, frame.reason, true), true, now);
                    }
                    break;
                case RequestFrame::Outcome::kComplete: {
                    GateRequest request{connection.in.substr(0, frame.size), connection.peer, connection.peerPort,
                                        connection.local, connection.localPort};
                    connection.in.erase(0, frame.size);
                    RequestDone(connection, now);
                    connection.closeAfter = frame.closeAfter || connection.peerDone;
                    SetInterest(connection, 0);
                    if (ready_ && !ready_(frame)) {
                        connection.state = Connection::State::kHeld;
                        connection.since = now;
                        connection.heldFrame = std::move(frame);
                        connection.heldRequest = std::move(request);
                    } else {
                        Dispatch(connection, std::move(request));
                    }
                    return;
                }
            }
        }
    }

    // The next request's time starts with its first byte, which may be here already.
    static void RequestDone(Connection& connection, Clock::time_point now) {
        connection.requestUnderWay = !connection.in.empty();
        connection.requestStarted = now;
    }

    void Dispatch(Connection& connection, GateRequest request) {
        connection.state = Connection::State::kWorking;
        ++answered_;
        {
            std::lock_guard<std::mutex> hold(jobsLock_);
            jobs_.push_back({connection.id, std::move(request)});
        }
        jobsReady_.notify_one();
    }

    void ReleaseHeld(Clock::time_point now) {
        for (auto& [id, connection] : connections_) {
            if (connection->closed || connection->state != Connection::State::kHeld) continue;
            if (now - connection->since >= settings_.longestHold || ready_(connection->heldFrame))
                Dispatch(*connection, std::move(connection->heldRequest));
        }
    }

    void TakeAnswers(Clock::time_point now) {
        std::vector<Answer> answers;
        {
            std::lock_guard<std::mutex> hold(answersLock_);
            answers.swap(answers_);
        }
        for (Answer& answer : answers) {
            const auto found = connections_.find(answer.id);
            if (found == connections_.end()) continue;  // gone while it was answered
            Connection& connection = *found->second;
            if (connection.closed || connection.state != Connection::State::kWorking) continue;
            Send(connection, std::move(answer.response), connection.closeAfter || answer.close, now);
            if (!connection.closed && connection.state == Connection::State::kReading) Frame(connection, now);
        }
    }

    void Send(Connection& connection, std::string response, bool close, Clock::time_point now) {
        connection.out = std::move(response);
        connection.sent = 0;
        connection.closeAfter = close;
        connection.state = Connection::State::kWriting;
        connection.since = now;
        Write(connection, now);
    }

    void Write(Connection& connection, Clock::time_point now) {
        while (connection.sent < connection.out.size()) {
            const ssize_t put = ::send(connection.fd, connection.out.data() + connection.sent,
                                       connection.out.size() - connection.sent, MSG_NOSIGNAL);
            if (put > 0) {
                connection.sent += static_cast<std::size_t>(put);
                connection.lastActivity = now;
                continue;
            }
            if (put < 0 && errno == EINTR) continue;
            if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                SetInterest(connection, EPOLLOUT);
                return;
            }
            Close(connection);
            return;
        }
        connection.out = std::string();
        if (connection.closeAfter) {
            // The peer reads the answer before the connection goes: closing with its bytes unread would reset it.
            ::shutdown(connection.fd, SHUT_WR);
            connection.state = Connection::State::kDraining;
            connection.since = now;
            connection.in.clear();
            SetInterest(connection, EPOLLIN | EPOLLRDHUP);
            return;
        }
        connection.state = Connection::State::kReading;
        connection.lastActivity = now;
        SetInterest(connection, connection.peerDone ? 0 : EPOLLIN | EPOLLRDHUP);
    }

    void Drain(Connection& connection) {
        char buffer[kReadPiece];
        for (;;) {
            const ssize_t got = ::recv(connection.fd, buffer, sizeof buffer, 0);
            if (got > 0) continue;
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
            Close(connection);
            return;
        }
    }

    void LookAtTimes(Clock::time_point now) {
        for (auto& [id, entry] : connections_) {
            Connection& connection = *entry;
            if (connection.closed) continue;
            switch (connection.state) {
                case Connection::State::kReading:
                    if (connection.requestUnderWay && now - connection.requestStarted > settings_.requestArrival) {
                        ++timedOut_;
                        connection.in.clear();
                        Send(connection,
                             RefusalResponse(408,
                                             "the request did not arrive within " + Seconds(settings_.requestArrival) +
                                                 " of its first byte",
                                             true),
                             true, now);
                    } else if (!connection.requestUnderWay && now - connection.lastActivity > settings_.idle) {
                        Close(connection);
                    }
                    break;
                case Connection::State::kHeld:
                    if (now - connection.since >= settings_.longestHold)
                        Dispatch(connection, std::move(connection.heldRequest));
                    break;
                case Connection::State::kWriting:
                    if (now - connection.since > settings_.answerTaken) {
                        ++timedOut_;
                        Close(connection);
                    }
                    break;
                case Connection::State::kDraining:
                    if (now - connection.since > kLingerAfterAnswer) Close(connection);
                    break;
                case Connection::State::kWorking:
                    break;
            }
        }
    }

    // Closed at once; forgotten by Sweep, so that no one holding it is left with nothing.
    void Close(Connection& connection) {
        if (connection.closed) return;
        connection.closed = true;
        epoll_ctl(epoll_, EPOLL_CTL_DEL, connection.fd, nullptr);
        ::close(connection.fd);
        connection.fd = -1;
        if (const auto peer = perPeer_.find(connection.peer); peer != perPeer_.end() && --peer->second == 0)
            perPeer_.erase(peer);
        --open_;
    }

    void Sweep() {
        for (auto entry = connections_.begin(); entry != connections_.end();)
            entry = entry->second->closed ? connections_.erase(entry) : std::next(entry);
    }

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

ConnectionGate::ConnectionGate(GateSettings settings, Answerer answer, Readiness ready)
    : loop_(std::make_unique<Loop>(std::move(settings), std::move(answer), std::move(ready))) {}
ConnectionGate::~ConnectionGate() = default;
std::string ConnectionGate::Listen() { return loop_->Listen(); }
int ConnectionGate::port() const { return loop_->port(); }
void ConnectionGate::Run() { loop_->Run(); }
void ConnectionGate::Stop() { loop_->Stop(); }
void ConnectionGate::Wake() { loop_->Wake(); }
GateCounts ConnectionGate::counts() const { return loop_->counts(); }

}  // namespace web
