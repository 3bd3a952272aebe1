// The panel's side of its sockets. One thread watches every connection (epoll)
// and hands a worker only a whole request that has arrived; so idle,
// half-sent and slow connections hold no worker, only a place in a table with
// limits per peer and in all. A request must arrive within a short time of its
// first byte, an answer must be taken within a while, and a connection with
// nothing under way is closed after a longer one. A request the answerer is
// not ready for (a long-poll for the next frame) waits here, without a
// worker, until Wake or its longest wait. Refusals are answered here, at once.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "web/http_framing.h"

namespace web {

struct GateSettings {
    std::string address = "127.0.0.1";
    int port = 0;  // 0: any free port
    bool loopbackOnly = true;
    std::size_t connectionsPerPeer = 256;  // on loopback the page shares its peer with everything else
    std::size_t connections = 512;
    std::size_t workers = 4;
    std::chrono::milliseconds requestArrival{2000};  // from a request's first byte to its last
    std::chrono::milliseconds idle{30000};           // with nothing under way
    std::chrono::milliseconds answerTaken{10000};    // for the peer to take a whole answer
    std::chrono::milliseconds longestHold{1000};     // a request not ready is answered after this anyway
    FramingLimits limits;
};


// What the gate has done so far, for tests and the curious.
struct GateCounts {
    std::size_t open = 0;      // connections open now
    std::size_t answered = 0;  // requests handed to a worker
    std::size_t refused = 0;   // requests and connections refused by the gate itself
    std::size_t timedOut = 0;  // requests that did not arrive in time, answers not taken in time
    std::size_t evicted = 0;   // idle connections closed to make room
};

class ConnectionGate {
public:
    // Makes the whole HTTP response to a request, on a worker thread; sets
    // close when the connection is to end after it.
    using Answerer = std::function<std::string(const RequestFrame&, bool& close)>;
    // Whether a request (its head framed) may be answered now; false holds it.
    using Readiness = std::function<bool(const RequestFrame&)>;

    ConnectionGate(GateSettings settings, Answerer answer, Readiness ready);
    ~ConnectionGate();
    ConnectionGate(const ConnectionGate&) = delete;
    ConnectionGate& operator=(const ConnectionGate&) = delete;

    // Empty once listening, else why not.
    std::string Listen();
    int port() const;
    // Serves on the calling thread until Stop.
    void Run();
    // Each safe from any thread.
    void Stop();
    void Wake();
    GateCounts counts() const;

private:
    class Loop;
    std::unique_ptr<Loop> loop_;
};

}  // namespace web
