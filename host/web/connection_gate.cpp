#include "web/connection_loop.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "web/request_guard.h"

namespace web {

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

ConnectionGate::Loop::~Loop() {
    for (auto& [id, connection] : connections_)
        if (connection->fd >= 0) ::close(connection->fd);
    for (const int fd : {listener_, wake_, epoll_})
        if (fd >= 0) ::close(fd);
}

std::string ConnectionGate::Loop::Listen() {
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

int ConnectionGate::Loop::port() const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (listener_ < 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
    int port = 0;
    AddressText(address, port);
    return port;
}

void ConnectionGate::Loop::Run() {
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

void ConnectionGate::Loop::Stop() {
    stopping_ = true;
    Signal();
}

void ConnectionGate::Loop::Wake() {
    woken_ = true;
    Signal();
}

GateCounts ConnectionGate::Loop::counts() const {
    return {open_.load(), answered_.load(), refused_.load(), timedOut_.load(), evicted_.load()};
}

void ConnectionGate::Loop::Watch(int fd, std::uint64_t id, std::uint32_t events, int operation) {
    epoll_event event{};
    event.events = events;
    event.data.u64 = id;
    epoll_ctl(epoll_, operation, fd, &event);
}

void ConnectionGate::Loop::SetInterest(Connection& connection, std::uint32_t events) {
    if (connection.interest == events) return;
    connection.interest = events;
    Watch(connection.fd, connection.id, events, EPOLL_CTL_MOD);
}

void ConnectionGate::Loop::Signal() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t put = ::write(wake_, &one, sizeof one);
}

void ConnectionGate::Loop::Work() {
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

void ConnectionGate::Loop::Dispatch(Connection& connection, RequestFrame request) {
    connection.state = Connection::State::kWorking;
    ++answered_;
    {
        std::lock_guard<std::mutex> hold(jobsLock_);
        jobs_.push_back({connection.id, std::move(request)});
    }
    jobsReady_.notify_one();
}

void ConnectionGate::Loop::ReleaseHeld(Clock::time_point now) {
    for (auto& [id, connection] : connections_) {
        if (connection->closed || connection->state != Connection::State::kHeld) continue;
        if (now - connection->since >= settings_.longestHold || ready_(connection->held))
            Dispatch(*connection, std::move(connection->held));
    }
}

void ConnectionGate::Loop::TakeAnswers(Clock::time_point now) {
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
