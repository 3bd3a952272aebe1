// Where one HTTP/1.x request ends in the bytes a connection has sent so far,
// and whether it may be taken at all. The connection gate hands a worker only
// whole requests of the forms the panel answers (a request line and headers
// within their limits, a body no larger than allowed); everything else is
// refused as soon as its first faulty byte is in, with a status saying why.
#pragma once

#include <cstddef>
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
    bool closeAfter = false;  // the client asked for the connection to end after this request
    // A refusal: its status, why (for a person), and whether the request's end
    // is known so that the connection may carry on (only for 405).
    int status = 0;
    std::string reason;
    bool keepConnection = false;
};

// Looks at the start of the bytes only; what follows a complete request is the next one's.
RequestFrame FrameRequest(std::string_view bytes, const FramingLimits& limits);

// A whole HTTP response refusing a request: its status, a JSON error body, and
// "Connection: close" when the connection ends after it.
std::string RefusalResponse(int status, std::string_view reason, bool close);

}  // namespace web
