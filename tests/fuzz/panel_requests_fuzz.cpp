// Feeds arbitrary bytes to the live panel as a connection would send them:
// framed request by request as the connection gate frames them, each whole
// one answered as the server answers it (the guard on its Host and Origin, the
// page's files, the answers of panel_requests.h on a session with the built
// module loaded), a frame run between requests. The framing never claims more bytes than it was
// given, and every answer is a whole HTTP response with a status and a body of
// the length it announces.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "web/http_framing.h"
#include "web/panel_answers.h"
#include "web/panel_session.h"
#include "web/request_guard.h"

namespace {

constexpr int kMostRequests = 8;  // of one input: enough for pipelining, few enough to keep each run short

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

web::PanelSession* session = nullptr;

// "HTTP/1.1 NNN reason", headers, an empty line, then exactly the body Content-Length announces (none to HEAD).
void CheckResponse(const std::string& response, bool head) {
    Check(response.starts_with("HTTP/1.1 ") && response.size() > 12);
    const int status = std::atoi(response.c_str() + 9);
    Check(status >= 200 && status < 600 && response[12] == ' ');
    const auto headEnd = response.find("\r\n\r\n");
    Check(headEnd != std::string::npos);
    const std::string headers = response.substr(0, headEnd + 2);
    const auto length = headers.find("\r\nContent-Length: ");
    const std::size_t body = response.size() - headEnd - 4;
    if (head)
        Check(body == 0);
    else if (length != std::string::npos)
        Check(std::strtoull(headers.c_str() + length + 18, nullptr, 10) == body);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Lives as long as the process: the module stays loaded from one input to the next, as in the panel.
    session = new web::PanelSession;
    web::PanelSettings settings;
    settings.modulePath = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / AVRION_MODULE_FILE).string();
    settings.simRoot = AVRION_SIM_ROOT;
    settings.bitmapFolder = AVRION_BITMAP_DIR;
    settings.layoutPath = AVRION_SIM_ROOT "/panel/panel.cfg";
    settings.flightsFolder = AVRION_SIM_ROOT "/flights";
    settings.reloadOnChange = false;
    if (!session->Open(settings).empty()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const web::FramingLimits limits;
    for (int requests = 0; requests < kMostRequests && !bytes.empty(); ++requests) {
        const web::RequestFrame frame = web::FrameRequest(bytes, limits);
        Check(frame.skipped <= bytes.size());
        if (frame.outcome == web::RequestFrame::Outcome::kIncomplete) break;
        bool close = false;
        std::string response;
        if (frame.outcome == web::RequestFrame::Outcome::kRefused) {
            Check(frame.status >= 400 && frame.status < 600 && !frame.reason.empty());
            close = !frame.keepConnection;
            response = web::RefusalResponse(frame.status, frame.reason, close);
        } else if (const std::string refusal = web::RefusalOf({frame.host, frame.origin}); !refusal.empty()) {
            close = frame.closeAfter;
            response = web::RefusalResponse(403, refusal, close, frame.method == "HEAD");
        } else {
            Check(frame.size > 0 && frame.skipped + frame.size <= bytes.size());
            const web::ApiAnswerer api = [](const web::WebRequest& request) {
                return web::HandleRequest(*session, request);
            };
            response = web::AnswerRequest(frame, AVRION_PAGE_DIR, api, close);
        }
        CheckResponse(response, frame.method == "HEAD" && frame.outcome == web::RequestFrame::Outcome::kComplete);
        if (close) break;
        Check(frame.skipped + frame.size <= bytes.size());
        bytes.remove_prefix(frame.skipped + frame.size);
        session->Step();
    }
    return 0;
}
