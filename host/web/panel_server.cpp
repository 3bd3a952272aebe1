#include "web/panel_server.h"

#include <httplib.h>

#include <charconv>
#include <chrono>
#include <thread>

#include "web/json_text.h"
#include "web/panel_requests.h"
#include "web/request_guard.h"

namespace web {
namespace {

constexpr std::size_t kWorkers = 32;

}  // namespace

void PanelServer::RunClock() {
    using Clock = std::chrono::steady_clock;
    auto next = Clock::now();
    while (!stopping_) {
        double rate = 0.0;
        {
            std::lock_guard<std::mutex> hold(lock_);
            session_.Step();
            rate = session_.frameRate();
        }
        frameDone_.notify_all();
        next += std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / rate));
        // A frame that ran long does not make the next ones hurry: the clock starts again from now.
        if (next < Clock::now()) next = Clock::now();
        std::this_thread::sleep_until(next);
    }
}

void PanelServer::WaitForFrameAfter(std::uint64_t frame) {
    constexpr auto kLongest = std::chrono::seconds(1);
    std::unique_lock<std::mutex> hold(lock_);
    frameDone_.wait_for(hold, kLongest, [&] { return stopping_ || session_.frames() > frame || session_.paused; });
}

std::string PanelServer::Serve(const ServerSettings& settings,
                               const std::function<void(const std::string&)>& ready) {
    httplib::Server server;
    {
        std::lock_guard<std::mutex> hold(stopLock_);
        stopServer_ = [&server] { server.stop(); };
    }
    if (settings.loopbackOnly)
        server.set_pre_routing_handler([](const httplib::Request& request, httplib::Response& response) {
            const std::string refusal = RefusalOf(
                {request.remote_addr, request.get_header_value("Host"), request.get_header_value("Origin")});
            if (refusal.empty()) return httplib::Server::HandlerResponse::Unhandled;
            response.status = 403;
            response.set_content(JsonError(refusal), "application/json");
            return httplib::Server::HandlerResponse::Handled;
        });
    auto answer = [this](const httplib::Request& request, httplib::Response& response) {
        WebRequest web{request.method, request.path, {}};
        for (const auto& [name, value] : request.params) web.params.emplace(name, value);
        if (request.path == "/api/state" && request.has_param("after")) {
            std::uint64_t after = 0;
            const std::string text = request.get_param_value("after");
            if (std::from_chars(text.data(), text.data() + text.size(), after).ec == std::errc())
                WaitForFrameAfter(after);
        }
        WebResponse result;
        {
            std::lock_guard<std::mutex> hold(lock_);
            result = HandleRequest(session_, web);
        }
        response.status = result.status;
        response.set_header("Cache-Control", "no-store");
        response.set_content(std::move(result.body), result.contentType.c_str());
    };
    // Small answers go out at once (no waiting on the ack of the headers), and the page keeps its connections.
    server.set_tcp_nodelay(true);
    server.set_keep_alive_max_count(100000);
    // Each open connection holds a worker while it lives: room for a few pages of six connections each.
    server.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
    server.Get("/api/.*", answer);
    server.Post("/api/.*", answer);
    if (!server.set_mount_point("/", settings.pageFolder)) return "no page folder " + settings.pageFolder;

    int port = settings.port;
    if (port == 0) {
        port = server.bind_to_any_port(settings.listenAddress);
        if (port <= 0) return "cannot listen on " + settings.listenAddress;
    } else if (!server.bind_to_port(settings.listenAddress, port)) {
        return "cannot listen on " + settings.listenAddress + " port " + std::to_string(port);
    }
    const std::string host = settings.listenAddress.find(':') != std::string::npos ? "[" + settings.listenAddress + "]"
                                                                                    : settings.listenAddress;
    std::thread clock([this] { RunClock(); });
    if (ready) ready("http://" + host + ":" + std::to_string(port) + "/");
    const bool served = stopping_ || server.listen_after_bind() || stopping_;
    stopping_ = true;
    clock.join();
    {
        std::lock_guard<std::mutex> hold(stopLock_);
        stopServer_ = nullptr;
    }
    return served ? std::string() : "the server stopped with an error";
}

void PanelServer::Stop() {
    stopping_ = true;
    std::lock_guard<std::mutex> hold(stopLock_);
    if (stopServer_) stopServer_();
}

}  // namespace web
