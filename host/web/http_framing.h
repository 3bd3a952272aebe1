// Where one HTTP/1.x request ends in the bytes a connection has sent so far,
// and whether it may be taken at all; the request read once, for everyone
// after: its method, path, query parameters and the headers that matter. The
// connection gate hands a worker only whole requests of the forms the panel
// answers (a request line and headers within their limits, a body no larger
// than allowed); everything else is refused as soon as its first faulty byte
// is in, with a status saying why. And the responses, made here too.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace web {

struct FramingLimits {
    std::size_t requestLine = 8192;
    std::size_t headerLine = 8192;
    std::size_t head = 16384;  // the request line and every header
    std::size_t body = 65536;
};

struct RequestFrame {
    enum class Outcome { kIncomplete, kComplete, kRefused };
    Outcome outcome = Outcome::kIncomplete;
    std::size_t skipped = 0;  // empty lines before the request line, to be dropped
    std::size_t size = 0;     // the request after them, head and body (complete requests and 405s)
    std::string method;
    std::string target;
    std::string path;                           // the target before '?', decoded
    std::map<std::string, std::string> params;  // the query's, decoded; the first of a name counts
    std::string host;                           // the Host header
    std::string origin;                         // the Origin header, when the browser sends one
    bool closeAfter = false;  // the client asked for the connection to end after this request
    // A refusal: its status, why (for a person), and whether the request's end
    // is known so that the connection may carry on (only for 405).
    int status = 0;
    std::string reason;
    bool keepConnection = false;
};

// Looks at the start of the bytes only; what follows a complete request is the next one's.
RequestFrame FrameRequest(std::string_view bytes, const FramingLimits& limits);

struct Answer {
    int status = 200;
    std::string contentType = "application/json";
    std::string body;
    std::string downloadName = std::string();  // offered to be saved under this name when set
};

// A whole HTTP response: the status, the answer's headers (never cached),
// and whether the connection stays; without the body for a HEAD request.
std::string Response(const Answer& answer, bool close, bool head = false);
// A refusal: a JSON error body (but to HEAD).
std::string RefusalResponse(int status, std::string_view reason, bool close, bool head = false);
std::string JsonError(std::string_view reason);

}  // namespace web
