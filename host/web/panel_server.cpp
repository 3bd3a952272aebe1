#include "web/panel_server.h"

#include <chrono>
#include <filesystem>
#include <future>

#include "web/panel_answers.h"

namespace web {

void PanelServer::RunPanelThread(ConnectionGate& gate) {
    using Clock = std::chrono::steady_clock;
    panelThread_ = std::this_thread::get_id();
    auto next = Clock::now();
    std::unique_lock<std::mutex> hold(jobsLock_);
    while (!gateDone_) {
        jobsReady_.wait_until(hold, next, [&] { return gateDone_ || !jobs_.empty(); });
        while (!jobs_.empty()) {
            const std::function<void()> job = std::move(jobs_.front());
            jobs_.pop_front();
            hold.unlock();
            job();
            hold.lock();
        }
        if (stopping_ || Clock::now() < next) continue;
        hold.unlock();
        session_.Step();
        frame_ = session_.frames();
        framesStand_ = session_.paused() || !session_.moduleLoaded();
        const double rate = session_.frameRate();
        gate.Wake();
        hold.lock();
        next += std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / rate));
        // A frame that ran long does not make the next ones hurry: the clock starts again from now.
        if (next < Clock::now()) next = Clock::now();
    }
}

Answer PanelServer::OnPanelThread(const WebRequest& request) {
    std::promise<Answer> answer;
    {
        std::lock_guard<std::mutex> hold(jobsLock_);
        jobs_.push_back([&] { answer.set_value(HandleRequest(session_, request)); });
    }
    jobsReady_.notify_one();
    return answer.get_future().get();
}

bool PanelServer::Ready(const RequestFrame& frame) const {
    const auto awaited = FrameAwaited({frame.method, frame.path, frame.params});
    return !awaited || framesStand_ || frame_ > *awaited;
}

std::string PanelServer::Serve(const ServerSettings& settings,
                               const std::function<void(const std::string&)>& ready) {
    std::error_code missing;
    if (!std::filesystem::is_directory(settings.pageFolder, missing)) return "no page folder " + settings.pageFolder;
    GateSettings gateSettings;
    gateSettings.address = settings.listenAddress;
    gateSettings.port = settings.port;
    gateSettings.loopbackOnly = settings.loopbackOnly;
    const ApiAnswerer api = [this](const WebRequest& request) { return OnPanelThread(request); };
    ConnectionGate gate(
        gateSettings,
        [&](const RequestFrame& request, bool& close) { return AnswerRequest(request, settings.pageFolder, api, close); },
        [this](const RequestFrame& frame) { return Ready(frame); });
    if (std::string error = gate.Listen(); !error.empty()) return error;
    {
        std::lock_guard<std::mutex> hold(stopLock_);
        if (stopping_) return std::string();
        gate_ = &gate;
    }
    frame_ = session_.frames();
    std::thread panel([&] { RunPanelThread(gate); });
    const std::string host = settings.listenAddress.find(':') != std::string::npos ? "[" + settings.listenAddress + "]"
                                                                                    : settings.listenAddress;
    if (ready) ready("http://" + host + ":" + std::to_string(gate.port()) + "/");
    gate.Run();  // its workers are done once it returns
    stopping_ = true;
    {
        std::lock_guard<std::mutex> hold(jobsLock_);
        gateDone_ = true;
    }
    jobsReady_.notify_one();
    panel.join();
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
