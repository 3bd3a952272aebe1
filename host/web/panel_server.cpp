#include "web/panel_server.h"

#include <charconv>
#include <chrono>
#include <string_view>
#include <thread>

#include "web/panel_http.h"

namespace web {
namespace {

// The number a query parameter holds ("after" of "/api/state?after=12"); none when absent or not a number.
bool QueryNumber(std::string_view target, std::string_view name, std::uint64_t& value) {
    const auto question = target.find('?');
    if (question == std::string_view::npos) return false;
    std::string_view query = target.substr(question + 1);
    while (!query.empty()) {
        const auto end = std::min(query.find('&'), query.size());
        const std::string_view pair = query.substr(0, end);
        if (pair.size() > name.size() && pair.substr(0, name.size()) == name && pair[name.size()] == '=') {
            const std::string_view text = pair.substr(name.size() + 1);
            const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
            return error == std::errc() && stop == text.data() + text.size();
        }
        query.remove_prefix(std::min(end + 1, query.size()));
    }
    return false;
}

}  // namespace

void PanelServer::RunClock(ConnectionGate& gate) {
    using Clock = std::chrono::steady_clock;
    auto next = Clock::now();
    while (!stopping_) {
        double rate = 0.0;
        {
            std::lock_guard<std::mutex> hold(lock_);
            session_.Step();
            rate = session_.frameRate();
            frame_ = session_.frames();
            framesStand_ = session_.paused || !session_.moduleLoaded();
        }
        gate.Wake();
        next += std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / rate));
        // A frame that ran long does not make the next ones hurry: the clock starts again from now.
        if (next < Clock::now()) next = Clock::now();
        std::this_thread::sleep_until(next);
    }
}

bool PanelServer::Ready(const RequestFrame& frame) const {
    std::uint64_t after = 0;
    if (frame.method != "GET" || !frame.target.starts_with("/api/state?") || !QueryNumber(frame.target, "after", after))
        return true;
    return framesStand_ || frame_ > after;
}

std::string PanelServer::Serve(const ServerSettings& settings,
                               const std::function<void(const std::string&)>& ready) {
    PanelHttp http(session_, lock_, settings.loopbackOnly);
    if (!http.ServePage(settings.pageFolder)) return "no page folder " + settings.pageFolder;
    GateSettings gateSettings;
    gateSettings.address = settings.listenAddress;
    gateSettings.port = settings.port;
    gateSettings.loopbackOnly = settings.loopbackOnly;
    ConnectionGate gate(
        gateSettings, [&http](const GateRequest& request, bool& close) { return http.Answer(request, close); },
        [this](const RequestFrame& frame) { return Ready(frame); });
    if (std::string error = gate.Listen(); !error.empty()) return error;
    {
        std::lock_guard<std::mutex> hold(stopLock_);
        if (stopping_) return std::string();
        gate_ = &gate;
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
        frame_ = session_.frames();
    }
    std::thread clock([&] { RunClock(gate); });
    const std::string host = settings.listenAddress.find(':') != std::string::npos ? "[" + settings.listenAddress + "]"
                                                                                    : settings.listenAddress;
    if (ready) ready("http://" + host + ":" + std::to_string(gate.port()) + "/");
    gate.Run();
    stopping_ = true;
    clock.join();
    std::lock_guard<std::mutex> hold(stopLock_);
    gate_ = nullptr;
    return std::string();
}

void PanelServer::Stop() {
    stopping_ = true;
    std::lock_guard<std::mutex> hold(stopLock_);
    if (gate_) gate_->Stop();
}

GateCounts PanelServer::counts() {
    std::lock_guard<std::mutex> hold(stopLock_);
    return gate_ ? gate_->counts() : GateCounts{};
}

}  // namespace web
