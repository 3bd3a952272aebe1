#include "web/request_guard.h"

namespace web {
namespace {

// The host name of a Host header value: "127.0.0.1:8018", "localhost", "[::1]:8018".
std::string HostName(const std::string& host) {
    if (host.starts_with("[")) {
        const auto end = host.find(']');
        return end == std::string::npos ? host : host.substr(1, end - 1);
    }
    return host.substr(0, host.find(':'));
}

}  // namespace

bool IsLoopbackAddress(const std::string& address) {
    return address.starts_with("127.") || address == "::1" || address.starts_with("::ffff:127.");
}

std::string RefusalOf(const RequestOrigin& request) {
    const std::string name = HostName(request.host);
    if (name != "localhost" && !IsLoopbackAddress(name)) return "the panel answers only to a loopback host name";
    if (!request.origin.empty() && request.origin != "http://" + request.host)
        return "requests from other pages are refused";
    return std::string();
}

}  // namespace web
