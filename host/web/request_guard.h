// Who may use the panel. Served on the loopback address, it answers only this
// machine's peers; and since any web page open in the user's browser can send
// requests to this machine, only requests addressed to a loopback name (no
// DNS rebinding) and, when the browser names the page they come from, sent by
// the panel's own page are taken.
#pragma once

#include <string>

namespace web {

struct RequestOrigin {
    std::string host;    // the Host header
    std::string origin;  // the Origin header; empty when absent
};

// Whether a connection's peer is this machine: the gate admits no other.
bool IsLoopbackAddress(const std::string& address);
// Of a request from this machine: empty when it may be answered, else why not.
std::string RefusalOf(const RequestOrigin& request);

}  // namespace web
