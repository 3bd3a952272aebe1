#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "web/connection_loop.h"
#include "web/request_guard.h"

namespace web {
namespace {

std::string Seconds(std::chrono::milliseconds duration) {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", static_cast<double>(duration.count()) / 1000.0);
    return text;
}

}  // namespace

void ConnectionGate::Loop::AcceptAll(Clock::time_point now) {
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
void ConnectionGate::Loop::RefuseAtOnce(int fd, int status, const std::string& reason) {
    ++refused_;
    const std::string response = RefusalResponse(status, reason, true);
    [[maybe_unused]] const ssize_t sent = ::send(fd, response.data(), response.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    ::close(fd);
}

void ConnectionGate::Loop::Admit(int fd, const sockaddr_storage& address, Clock::time_point now) {
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
    connection->lastActivity = now;
    connection->interest = EPOLLIN | EPOLLRDHUP;
    Watch(fd, connection->id, connection->interest, EPOLL_CTL_ADD);
    ++perPeer_[peer];
    ++open_;
    connections_.emplace(connection->id, std::move(connection));
}

// The connection (of one peer, or of any) with nothing under way for longest; none when every one is busy.
ConnectionGate::Loop::Connection* ConnectionGate::Loop::Idlest(const std::string* peer) {
    Connection* idlest = nullptr;
    for (auto& [id, connection] : connections_) {
        if (connection->closed || connection->state != Connection::State::kReading) continue;
        if (peer != nullptr && connection->peer != *peer) continue;
        if (idlest == nullptr || connection->lastActivity < idlest->lastActivity) idlest = connection.get();
    }
    return idlest;
}

void ConnectionGate::Loop::OnEvent(Connection& connection, std::uint32_t events, Clock::time_point now) {
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

void ConnectionGate::Loop::Read(Connection& connection, Clock::time_point now) {
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
void ConnectionGate::Loop::Frame(Connection& connection, Clock::time_point now) {
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
                connection.in.erase(0, frame.size);
                RequestDone(connection, now);
                connection.closeAfter = frame.closeAfter || connection.peerDone;
                // Another machine never got this far; a request another page sends, or one to a host name not
                // this machine's, is refused here.
                if (const std::string refusal = settings_.loopbackOnly ? RefusalOf({frame.host, frame.origin}) : "";
                    !refusal.empty()) {
                    ++refused_;
                    const bool close = connection.closeAfter;
                    Send(connection, RefusalResponse(403, refusal, close, frame.method == "HEAD"), close, now);
                    continue;
                }
                SetInterest(connection, 0);
                if (ready_ && !ready_(frame)) {
                    connection.state = Connection::State::kHeld;
                    connection.since = now;
                    connection.held = std::move(frame);
                } else {
                    Dispatch(connection, std::move(frame));
                }
                return;
            }
        }
    }
}

// The next request's time starts with its first byte, which may be here already.
void ConnectionGate::Loop::RequestDone(Connection& connection, Clock::time_point now) {
    connection.requestUnderWay = !connection.in.empty();
    connection.requestStarted = now;
}

void ConnectionGate::Loop::Send(Connection& connection, std::string response, bool close, Clock::time_point now) {
    connection.out = std::move(response);
    connection.sent = 0;
    connection.closeAfter = close;
    connection.state = Connection::State::kWriting;
    connection.since = now;
    Write(connection, now);
}

void ConnectionGate::Loop::Write(Connection& connection, Clock::time_point now) {
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

void ConnectionGate::Loop::Drain(Connection& connection) {
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

void ConnectionGate::Loop::LookAtTimes(Clock::time_point now) {
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
                    Dispatch(connection, std::move(connection.held));
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
void ConnectionGate::Loop::Close(Connection& connection) {
    if (connection.closed) return;
    connection.closed = true;
    epoll_ctl(epoll_, EPOLL_CTL_DEL, connection.fd, nullptr);
    ::close(connection.fd);
    connection.fd = -1;
    if (const auto peer = perPeer_.find(connection.peer); peer != perPeer_.end() && --peer->second == 0)
        perPeer_.erase(peer);
    --open_;
}

void ConnectionGate::Loop::Sweep() {
    for (auto entry = connections_.begin(); entry != connections_.end();)
        entry = entry->second->closed ? connections_.erase(entry) : std::next(entry);
}

}  // namespace web
