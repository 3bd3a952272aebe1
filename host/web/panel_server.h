// avrion-panel's server: the connection gate in front, and behind it the
// panel thread, the one thread that touches the session and so the module:
// it runs the frames at the frame rate, and between them answers each request
// the gate's workers hand it (a mouse event, a variable set, a picture). The
// workers frame nothing and run nothing of the module; they send the answers.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "web/connection_gate.h"
#include "web/panel_requests.h"
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
    std::thread::id panelThread() const { return panelThread_; }

private:
    void RunPanelThread(ConnectionGate& gate);
    // On a worker: the answer made on the panel thread, waited for.
    Answer OnPanelThread(const WebRequest& request);
    // A request whose route waits for a frame waits in the gate, holding no
    // worker, until that frame has run; at once while no frames run.
    bool Ready(const RequestFrame& frame) const;

    PanelSession& session_;
    std::atomic<std::thread::id> panelThread_{};
    std::atomic<std::uint64_t> frame_{0};
    std::atomic<bool> framesStand_{false};  // paused, or no module to run
    std::atomic<bool> stopping_{false};

    std::mutex jobsLock_;
    std::condition_variable jobsReady_;
    std::deque<std::function<void()>> jobs_;  // with jobsLock_
    bool gateDone_ = false;                   // with jobsLock_: no worker is left to hand in a job

    std::mutex stopLock_;
    ConnectionGate* gate_ = nullptr;  // with stopLock_
};

}  // namespace web
