// What a scripted flight costs on the host: the shipped default flight run
// headless and as the main job runs it (pictures of the shown windows, their
// needles moved every frame, a contact sheet, the sound recorded), and one
// drawing of every gauge.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "loader/module_host.h"
#include "render/bitmap_store.h"
#include "render/gauge_renderer.h"
#include "scenario/run_files.h"
#include "scenario/scenario_job.h"
#include "scenario/scenario_player.h"
#include "scenario/scenario_yaml.h"
#include "platform/kernel_objects_table.h"
#include "sim/host_desktop.h"
#include "sim/module_run.h"

namespace {

namespace fs = std::filesystem;

const std::string kSource = AVRION_SOURCE_DIR;
const std::string kModule = AVRION_MODULE_FILE;

fs::path OutputFolder() {
    const fs::path folder = fs::temp_directory_path() / "avrion-flight-benchmark";
    fs::create_directories(folder);
    return folder;
}

const scenario::Scenario& DefaultFlight() {
    static const scenario::ParseResult parsed = scenario::LoadScenario(kSource + "/sim/flights/default_flight.yaml");
    return parsed.scenario;
}

// Headless (no pictures, no sound) or as the main job runs it; and, headless,
// with every access to the slot block mapping a view of its own, as before
// the process's handles shared one, for comparison.
void BM_DefaultFlight(benchmark::State& state) {
    const bool asTheMainJob = state.range(0) != 0;
    platform::posix::UseSeparateViews(state.range(1) != 0);
    const scenario::Scenario& flight = DefaultFlight();
    const fs::path output = OutputFolder();
    scenario::JobSettings job;
    job.simRoot = kSource + "/sim";
    job.modulePath = kModule;
    job.layoutPath = kSource + "/sim/panel/panel.cfg";
    job.bitmapFolder = kSource + "/module/resources/bitmaps";
    job.assets = AVRION_REPORT_FILES;
    job.realTime = false;
    // Headless, the module plays into a device that keeps nothing, as the programs' --no-sound does.
    RunSetup headless;
    headless.simRoot = job.simRoot;
    headless.modulePath = kModule;
    headless.sound = RunSetup::Sound::kSilent;
    long long frames = 0;
    double simulated = 0.0;
    for (auto _ : state) {
        scenario::RunResult result;
        if (asTheMainJob) {
            result = scenario::PlayJob(flight, kSource + "/sim/flights/default_flight.yaml", output.string(), job,
                                       nullptr)
                         .result;
        } else {
            std::string error;
            const auto run = ModuleRun::Open(headless, error);
            if (!run || !(error = run->Load()).empty()) {
                state.SkipWithError(error.c_str());
                return;
            }
            scenario::RunObservers none;
            result = scenario::RunScenario(flight, *run, none, {false, nullptr});
        }
        if (!result.ok()) {
            state.SkipWithError("the default flight failed");
            return;
        }
        frames += result.frames;
        simulated += result.simulatedSeconds;
    }
    platform::posix::UseSeparateViews(false);
    state.counters["frames_per_second"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["times_real_time"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
    HostDesktop::Instance().ClearMessages();
}
BENCHMARK(BM_DefaultFlight)
    ->ArgNames({"as_the_main_job", "separate_views"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);

// Every gauge drawn once at its values after the module's first frame.
void BM_DrawEveryGauge(benchmark::State& state) {
    RunSetup setup;
    setup.simRoot = kSource + "/sim";
    setup.modulePath = kModule;
    setup.sound = RunSetup::Sound::kSilent;
    setup.powerTheBus = true;
    std::string error;
    const auto run = ModuleRun::Open(setup, error);
    if (!run || !(error = run->Load()).empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    ModuleHost& host = run->host();
    host.RunFrame();
    render::BitmapStore bitmaps(kSource + "/module/resources/bitmaps");
    render::GaugeRenderer renderer(bitmaps);
    for (GAUGEHDR* gauge : host.gauges()) renderer.DrawGauge(gauge);  // bitmaps loaded once, as a run does
    for (auto _ : state) {
        renderer.BeginFrame();
        for (GAUGEHDR* gauge : host.gauges()) benchmark::DoNotOptimize(renderer.DrawGauge(gauge));
    }
    state.counters["gauges"] = static_cast<double>(host.gauges().size());
}
BENCHMARK(BM_DrawEveryGauge)->Unit(benchmark::kMillisecond);

}  // namespace
