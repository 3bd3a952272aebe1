// The live panel's HTTP answers, apart from the socket: a request (method,
// path, parameters) in, a status, content type and body out, on the thread
// that runs the session (the server's panel thread). Faulty requests get a 4xx answer with a JSON error and
// change nothing; the module and the run go on.
//
//   GET  /api/panel                  windows, their sizes and their gauges' mouse areas (window pixels, cursor)
//   GET  /api/state[?after=N]        (once a frame after N has run) frame, windows shown and picture versions, slots, message boxes, scenario,
//                                    the module's last load, the recording and the scenarios recorded
//   GET  /api/window?ident=N         the window's latest picture (PNG)
//   GET  /api/gauge?name=G           one gauge alone (PNG)
//   GET  /api/variables              the simulator variables with their values
//   GET  /api/scenarios              the scenario files the page may start
//   POST /api/mouse?ident=N&x=X&y=Y&action=press|release|leave|right
//   POST /api/window?ident=N&shown=0|1|toggle
//   POST /api/variable?name=V&value=X
//   POST /api/slot?slot=N&value=X
//   POST /api/clock?action=pause|run
//   GET  /api/recording?file=F       a recorded scenario, as a download
//   POST /api/scenario?action=start&file=F | restart | stop
//   POST /api/record?action=start|mark|stop
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "web/http_framing.h"
#include "web/panel_session.h"

namespace web {

struct WebRequest {
    std::string method;  // GET or POST
    std::string path;
    std::map<std::string, std::string> params;
};

using WebResponse = Answer;

WebResponse HandleRequest(PanelSession& session, const WebRequest& request);
// The frame a request waits to see passed before it is answered, when its
// route may wait for the next frame (GET /api/state?after=N): so the page
// sees every frame without polling in a loop.
std::optional<std::uint64_t> FrameAwaited(const WebRequest& request);

}  // namespace web
