// avrion-panel's server: the connection gate in front, the panel's HTTP
// answers behind it, and the frame clock running the module at the frame
// rate on a thread of its own. One lock keeps frames and requests apart.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "web/connection_gate.h"
#include "web/panel_session.h"

namespace web {

struct ServerSettings {
    std::string listenAddress = "127.0.0.1";
    bool loopbackOnly = true;  // refuse other peers whatever the listening address
    int port = 8018;           // 0: any free port
    std::string pageFolder;
};

class PanelServer {
public:
    explicit PanelServer(PanelSession& session) : session_(session) {}

    // Serves until Stop; the module keeps running between requests. Calls
    // ready with the address to open once listening. Empty when it stopped
    // as asked, else why it could not serve.
    std::string Serve(const ServerSettings& settings, const std::function<void(const std::string&)>& ready);
    // Safe from any thread, but not from a signal handler.
    void Stop();
    GateCounts counts();

private:
    void RunClock(ConnectionGate& gate);
    // A state request that names the frame the page has waits (in the gate,
    // holding no worker) until a newer one has run, so the page sees every
    // frame without polling in a loop; at once while no frames run.
    bool Ready(const RequestFrame& frame) const;

    PanelSession& session_;
    std::mutex lock_;
    std::atomic<std::uint64_t> frame_{0};
    std::atomic<bool> framesStand_{false};  // paused, or no module to run
    std::atomic<bool> stopping_{false};
    std::mutex stopLock_;
    ConnectionGate* gate_ = nullptr;  // with stopLock_
};

}  // namespace web
