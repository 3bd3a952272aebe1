// The panel's HTTP answers, made by cpp-httplib from a whole request the
// connection gate has read: the page's files (nothing outside the page
// folder), the answers of panel_requests.h under the session's lock, and the
// guard's refusals of other machines and pages. Apart from any socket, so that
// tests and the fuzzer drive it with bytes.
#pragma once

#include <mutex>
#include <string>

#include "web/connection_gate.h"
#include "web/panel_session.h"

namespace web {

class PanelHttp {
public:
    // With loopbackOnly, only this machine's peers and the panel's own page are answered.
    PanelHttp(PanelSession& session, std::mutex& sessionLock, bool loopbackOnly);
    ~PanelHttp();
    PanelHttp(const PanelHttp&) = delete;
    PanelHttp& operator=(const PanelHttp&) = delete;

    // False when the folder does not exist.
    bool ServePage(const std::string& folder);
    // The whole response; close is set when the connection is to end after it.
    // Safe from several threads at once.
    std::string Answer(const GateRequest& request, bool& close);

private:
    class Server;
    std::unique_ptr<Server> server_;
};

}  // namespace web
