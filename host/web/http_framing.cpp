#include "web/http_framing.h"

#include <cctype>
#include <cstring>
#include <nlohmann/json.hpp>
#include <optional>

namespace web {
namespace {

constexpr std::size_t kLongestMethod = 16;
constexpr std::size_t kLongestLength = 12;  // digits of a Content-Length worth reading at all
constexpr std::string_view kLineForm = "a request begins with METHOD /path HTTP/1.1";

bool IsTokenChar(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte != 0 && std::strchr("!#$%&'*+-.^_`|~", byte) != nullptr);
}
bool IsTargetChar(char c) { return c > 0x20 && c < 0x7F; }
// Tabs, visible characters and bytes above 0x7F; no other control character.
bool IsValueChar(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte == '\t' || (byte >= 0x20 && byte != 0x7F);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool HasToken(const std::string& list, std::string_view token) {
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(',', start), list.size());
        if (Trim(std::string_view(list).substr(start, end - start)) == token) return true;
        start = end + 1;
    }
    return false;
}

RequestFrame Refuse(RequestFrame frame, int status, std::string reason) {
    frame.outcome = RequestFrame::Outcome::kRefused;
    frame.status = status;
    frame.reason = std::move(reason);
    return frame;
}

const char* StatusText(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 404:
            return "Not Found";
        case 409:
            return "Conflict";
        case 400:
            return "Bad Request";
        case 403:
            return "Forbidden";
        case 405:
            return "Method Not Allowed";
        case 408:
            return "Request Timeout";
        case 413:
            return "Content Too Large";
        case 414:
            return "URI Too Long";
        case 417:
            return "Expectation Failed";
        case 431:
            return "Request Header Fields Too Large";
        case 500:
            return "Internal Server Error";
        case 501:
            return "Not Implemented";
        case 503:
            return "Service Unavailable";
        case 505:
            return "HTTP Version Not Supported";
    }
    return "Refused";
}

// %XX as its byte, and in a query '+' as a space; a faulty escape stays as it is.
std::string Decoded(std::string_view text, bool query) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            decoded += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            decoded += query && text[i] == '+' ? ' ' : text[i];
        }
    }
    return decoded;
}

void ParseTarget(RequestFrame& frame) {
    const std::string_view target = frame.target;
    const std::size_t question = target.find('?');
    frame.path = Decoded(target.substr(0, question), false);
    if (question == std::string_view::npos) return;
    std::string_view query = target.substr(question + 1);
    while (!query.empty()) {
        const std::size_t end = std::min(query.find('&'), query.size());
        const std::string_view pair = query.substr(0, end);
        const std::size_t equals = pair.find('=');
        if (!pair.empty())
            frame.params.emplace(Decoded(pair.substr(0, equals), true),
                                 equals == std::string_view::npos ? std::string() : Decoded(pair.substr(equals + 1), true));
        query.remove_prefix(std::min(end + 1, query.size()));
    }
}

// The version after the target: "HTTP/1.1" or "HTTP/1.0" and the line's end.
// Empty while more bytes are needed; otherwise the line's length with its end,
// or 0 for a fault (whose status is set).
std::optional<std::size_t> VersionEnd(std::string_view text, int& status) {
    constexpr std::string_view kPattern = "HTTP/d.d";
    for (std::size_t i = 0; i < kPattern.size(); ++i) {
        if (i >= text.size()) return std::nullopt;
        const bool fits = kPattern[i] == 'd' ? (text[i] >= '0' && text[i] <= '9') : text[i] == kPattern[i];
        if (!fits) {
            status = 400;
            return 0;
        }
    }
    std::size_t end = kPattern.size();
    if (end < text.size() && text[end] == '\r') ++end;
    if (end >= text.size()) return std::nullopt;
    if (text[end] != '\n') {
        status = 400;
        return 0;
    }
    const std::string_view version = text.substr(0, kPattern.size());
    if (version != "HTTP/1.1" && version != "HTTP/1.0") {
        status = 505;
        return 0;
    }
    return end + 1;
}

}  // namespace

RequestFrame FrameRequest(std::string_view bytes, const FramingLimits& limits) {
    RequestFrame frame;
    // Empty lines before a request line are passed over, as servers should.
    std::size_t at = 0;
    while (at < bytes.size() && (bytes[at] == '\n' || bytes[at] == '\r')) {
        if (bytes[at] == '\n') {
            ++at;
            continue;
        }
        if (at + 1 >= bytes.size()) break;
        if (bytes[at + 1] != '\n') return Refuse(frame, 400, std::string(kLineForm));
        at += 2;
    }
    frame.skipped = at;
    const std::string_view rest = bytes.substr(at);
    if (rest.empty() || rest.front() == '\r') return frame;

    std::size_t i = 0;
    while (i < rest.size() && IsTokenChar(rest[i]) && i <= kLongestMethod) ++i;
    if (i > kLongestMethod || (i < rest.size() && (i == 0 || rest[i] != ' ')))
        return Refuse(frame, 400, std::string(kLineForm));
    if (i == rest.size()) return frame;

    const std::size_t targetStart = i + 1;
    std::size_t j = targetStart;
    while (j < rest.size() && IsTargetChar(rest[j])) {
        if (++j > limits.requestLine)
            return Refuse(frame, 414,
                          "the request line is longer than " + std::to_string(limits.requestLine) + " bytes");
    }
    if (j == rest.size()) return frame;
    if (j == targetStart || rest[j] != ' ') return Refuse(frame, 400, std::string(kLineForm));

    int status = 0;
    const auto versionLength = VersionEnd(rest.substr(j + 1), status);
    if (!versionLength) return frame;
    if (*versionLength == 0)
        return Refuse(frame, status,
                      status == 505 ? "only HTTP/1.0 and HTTP/1.1 are spoken here" : std::string(kLineForm));
    const std::size_t lineEnd = j + 1 + *versionLength;
    if (lineEnd - 2 > limits.requestLine)
        return Refuse(frame, 414, "the request line is longer than " + std::to_string(limits.requestLine) + " bytes");
    const bool http10 = rest.substr(j + 1, 8) == "HTTP/1.0";

    // The headers, up to the empty line that ends them.
    std::optional<std::size_t> contentLength;
    bool keepAliveAsked = false;
    std::size_t position = lineEnd;
    const std::string tooLarge = "the request's head is longer than " + std::to_string(limits.head) + " bytes";
    for (;;) {
        const std::size_t newline = rest.find('\n', position);
        if (newline == std::string_view::npos) {
            if (rest.size() - position > limits.headerLine)
                return Refuse(frame, 431,
                              "a header line is longer than " + std::to_string(limits.headerLine) + " bytes");
            if (rest.size() > limits.head) return Refuse(frame, 431, tooLarge);
            return frame;
        }
        if (newline + 1 > limits.head) return Refuse(frame, 431, tooLarge);
        std::string_view line = rest.substr(position, newline - position);
        position = newline + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) break;
        if (line.size() > limits.headerLine)
            return Refuse(frame, 431, "a header line is longer than " + std::to_string(limits.headerLine) + " bytes");
        if (line.front() == ' ' || line.front() == '\t')
            return Refuse(frame, 400, "header lines continued on the next line are not taken");
        std::size_t colon = 0;
        while (colon < line.size() && IsTokenChar(line[colon])) ++colon;
        if (colon == 0 || colon == line.size() || line[colon] != ':')
            return Refuse(frame, 400, "a header line is NAME: VALUE");
        const std::string name = Lower(line.substr(0, colon));
        const std::string_view value = Trim(line.substr(colon + 1));
        for (const char c : value)
            if (!IsValueChar(c)) return Refuse(frame, 400, "the header " + name + " holds a control character");
        if (name == "content-length") {
            if (contentLength) return Refuse(frame, 400, "Content-Length is given twice");
            if (value.empty() || value.size() > kLongestLength ||
                value.find_first_not_of("0123456789") != std::string_view::npos)
                return Refuse(
                    frame, value.size() > kLongestLength ? 413 : 400,
                    "Content-Length must be a number of bytes, not \"" + std::string(value.substr(0, 40)) + "\"");
            contentLength = std::stoull(std::string(value));
            if (*contentLength > limits.body)
                return Refuse(frame, 413, "a body may hold at most " + std::to_string(limits.body) + " bytes");
        } else if (name == "transfer-encoding") {
            return Refuse(frame, 501, "a body is taken with a Content-Length only, not a Transfer-Encoding");
        } else if (name == "expect") {
            return Refuse(frame, 417, "Expect is not taken: send the body with the request");
        } else if (name == "host") {
            frame.host = std::string(value);
        } else if (name == "origin") {
            frame.origin = std::string(value);
        } else if (name == "connection") {
            const std::string tokens = Lower(value);
            frame.closeAfter = frame.closeAfter || HasToken(tokens, "close");
            keepAliveAsked = keepAliveAsked || HasToken(tokens, "keep-alive");
        }
    }
    if (http10 && !keepAliveAsked) frame.closeAfter = true;

    const std::size_t size = position + contentLength.value_or(0);
    if (rest.size() < size) return frame;
    frame.size = size;
    frame.method = std::string(rest.substr(0, i));
    frame.target = std::string(rest.substr(targetStart, j - targetStart));
    if (frame.method != "GET" && frame.method != "HEAD" && frame.method != "POST") {
        frame.keepConnection = !frame.closeAfter;
        return Refuse(frame, 405, frame.method + " is not answered here; GET, HEAD and POST are");
    }
    if (frame.target.front() != '/') return Refuse(frame, 400, "the path must begin with /");
    ParseTarget(frame);
    frame.outcome = RequestFrame::Outcome::kComplete;
    return frame;
}

std::string Response(const Answer& answer, bool close, bool head) {
    std::string response = "HTTP/1.1 " + std::to_string(answer.status) + " " + StatusText(answer.status) +
                           "\r\nContent-Type: " + answer.contentType +
                           "\r\nCache-Control: no-store\r\nContent-Length: " + std::to_string(answer.body.size()) +
                           "\r\n";
    if (!answer.downloadName.empty())
        response += "Content-Disposition: attachment; filename=\"" + answer.downloadName + "\"\r\n";
    if (answer.status == 405) response += "Allow: GET, HEAD, POST\r\n";
    // The gate keeps a connection while it is used, up to its idle time.
    response += close ? "Connection: close\r\n" : "Connection: keep-alive\r\nKeep-Alive: timeout=30\r\n";
    return response + "\r\n" + (head ? std::string() : answer.body);
}

std::string JsonError(std::string_view reason) {
    return nlohmann::json{{"error", reason}}.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string RefusalResponse(int status, std::string_view reason, bool close, bool head) {
    return Response({status, "application/json", JsonError(reason)}, close, head);
}

}  // namespace web
