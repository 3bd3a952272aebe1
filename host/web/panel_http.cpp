#include "web/panel_http.h"

#include <httplib.h>

#include <algorithm>
#include <cstring>

#include "web/json_text.h"
#include "web/panel_requests.h"
#include "web/request_guard.h"

namespace web {
namespace {

// A request already read whole, and the answer collected for the gate to send.
class BufferStream : public httplib::Stream {
public:
    BufferStream(const GateRequest& request, std::string& out) : request_(request), out_(out) {}

    bool is_readable() const override { return at_ < request_.bytes.size(); }
    bool is_writable() const override { return true; }
    ssize_t read(char* bytes, size_t size) override {
        const std::size_t count = std::min(size, request_.bytes.size() - at_);
        std::memcpy(bytes, request_.bytes.data() + at_, count);
        at_ += count;
        return static_cast<ssize_t>(count);
    }
    ssize_t write(const char* bytes, size_t size) override {
        out_.append(bytes, size);
        return static_cast<ssize_t>(size);
    }
    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        ip = request_.peerAddress;
        port = request_.peerPort;
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        ip = request_.localAddress;
        port = request_.localPort;
    }
    // No socket: the gate owns it.
    socket_t socket() const override { return INVALID_SOCKET; }

private:
    const GateRequest& request_;
    std::string& out_;
    std::size_t at_ = 0;
};

}  // namespace

class PanelHttp::Server : public httplib::Server {
public:
    using httplib::Server::process_request;
};

PanelHttp::PanelHttp(PanelSession& session, std::mutex& sessionLock, bool loopbackOnly)
    : server_(std::make_unique<Server>()) {
    Server& server = *server_;
    if (loopbackOnly)
        server.set_pre_routing_handler([](const httplib::Request& request, httplib::Response& response) {
            const std::string refusal =
                RefusalOf({request.remote_addr, request.get_header_value("Host"), request.get_header_value("Origin")});
            if (refusal.empty()) return httplib::Server::HandlerResponse::Unhandled;
            response.status = 403;
            response.set_content(JsonError(refusal), "application/json");
            return httplib::Server::HandlerResponse::Handled;
        });
    auto answer = [&session, &sessionLock](const httplib::Request& request, httplib::Response& response) {
        // HEAD is answered as GET, without the body.
        WebRequest web{request.method == "HEAD" ? "GET" : request.method, request.path, {}};
        for (const auto& [name, value] : request.params) web.params.emplace(name, value);
        WebResponse result;
        {
            std::lock_guard<std::mutex> hold(sessionLock);
            result = HandleRequest(session, web);
        }
        response.status = result.status;
        response.set_header("Cache-Control", "no-store");
        if (!result.downloadName.empty())
            response.set_header("Content-Disposition", "attachment; filename=\"" + result.downloadName + "\"");
        response.set_content(std::move(result.body), result.contentType.c_str());
    };
    // What the answers tell a client about keeping the connection: as the gate keeps it.
    server.set_keep_alive_max_count(100000);
    server.set_keep_alive_timeout(30);
    server.Get("/api/.*", answer);
    server.Post("/api/.*", answer);
    // Statuses httplib gives itself (no such file, a request it could not read) get a reason too.
    server.set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        if (!response.body.empty()) return;
        response.set_content(JsonError(response.status == 404
                                           ? "nothing at " + request.path
                                           : "the request was refused (HTTP " + std::to_string(response.status) + ")"),
                             "application/json");
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr error) {
        std::string what = "unknown error";
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& exception) {
            what = exception.what();
        } catch (...) {
        }
        response.status = 500;
        response.set_content(JsonError("the answer failed: " + what), "application/json");
    });
}

PanelHttp::~PanelHttp() = default;

bool PanelHttp::ServePage(const std::string& folder) { return server_->set_mount_point("/", folder); }

std::string PanelHttp::Answer(const GateRequest& request, bool& close) {
    std::string out;
    BufferStream stream(request, out);
    bool closed = false;
    server_->process_request(stream, false, closed, nullptr);
    close = closed;
    if (out.empty()) {
        close = true;
        return RefusalResponse(400, "the request could not be read", true);
    }
    return out;
}

}  // namespace web
