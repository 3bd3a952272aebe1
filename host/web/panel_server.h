// avrion-panel's server: the page's files and the panel's answers over HTTP
// (cpp-httplib), with the frame clock running the module at the frame rate
// on a thread of its own. One lock keeps frames and requests apart.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

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

private:
    void RunClock();
    // Holds a state request that names the frame the page has until a newer
    // one has run (or a second has passed), so the page sees every frame
    // without polling in a loop.
    void WaitForFrameAfter(std::uint64_t frame);

    PanelSession& session_;
    std::mutex lock_;
    std::condition_variable frameDone_;  // with lock_
    std::atomic<bool> stopping_{false};
    std::function<void()> stopServer_;
    std::mutex stopLock_;
};

}  // namespace web
