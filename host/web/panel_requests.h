// The live panel's HTTP answers, apart from the socket: a request (method,
// path, parameters) in, a status, content type and body out. The caller holds
// the session's lock. Faulty requests get a 4xx answer with a JSON error and
// change nothing; the module and the run go on.
//
//   GET  /api/panel                  windows, their sizes and their gauges' mouse areas (window pixels, cursor)
//   GET  /api/state                  frame, windows shown and picture versions, slots, message boxes, scenario,
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

#include <map>
#include <string>

#include "web/panel_session.h"

namespace web {

struct WebRequest {
    std::string method;  // GET or POST
    std::string path;
    std::map<std::string, std::string> params;
};

struct WebResponse {
    int status = 200;
    std::string contentType = "application/json";
    std::string body;
    std::string downloadName = std::string();  // offered to be saved under this name when set
};

WebResponse HandleRequest(PanelSession& session, const WebRequest& request);

}  // namespace web
