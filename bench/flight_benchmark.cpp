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
#include "scenario/scenario.h"
#include "scenario/scenario_pictures.h"
#include "scenario/scenario_runner.h"
#include "platform/kernel_objects_table.h"
#include "sim/host_desktop.h"
#include "sim/objects_table.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"
#include "sim/sound_capture.h"

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

// The benchmarks' own table of named objects, never one another run uses.
const std::unique_ptr<ObjectsTable> table = [] {
    std::string error;
    return ObjectsTable::OfItsOwn(error);
}();

// Headless (no pictures, no sound) or as the main job runs it; and, headless,
// with every access to the slot block mapping a view of its own, as before
// the process's handles shared one, for comparison.
void BM_DefaultFlight(benchmark::State& state) {
    const bool asTheMainJob = state.range(0) != 0;
    platform::posix::UseSeparateViews(state.range(1) != 0);
    const scenario::Scenario& flight = DefaultFlight();
    const fs::path output = OutputFolder();
    long long frames = 0;
    double simulated = 0.0;
    for (auto _ : state) {
        ModuleHost::SetSimRoot(kSource + "/sim");
        std::string error;
        // Headless, the module plays into a device that keeps nothing, as the
        // programs' --no-sound does: no sound card is asked for.
        const std::unique_ptr<SoundCapture> sound = asTheMainJob
                                                        ? SoundCapture::Open((output / "sound.wav").string(), error)
                                                        : SoundCapture::Silent(error);
        Simulator simulator;
        SiblingModules siblings;
        ModuleHost host(simulator);
        if (!(error = host.Load(kModule)).empty()) {
            state.SkipWithError(error.c_str());
            return;
        }
        ScenarioPictures pictures;
        scenario::RunOptions run;
        if (asTheMainJob) {
            pictures.Open(kSource + "/sim/panel/panel.cfg", kSource + "/module/resources/bitmaps", host, simulator,
                          output.string(), "Kesta_Avrion_0_018");
            pictures.CheckReferences(flight, kSource + "/sim/flights", false);
            run.outputFolder = output.string();
            run.picture = [&pictures](const scenario::Picture& picture, double time) {
                return pictures.Take(picture, time);
            };
        }
        run.realTime = false;
        run.afterFrame = [&] {
            if (asTheMainJob) pictures.AfterFrame();
            if (sound) sound->Advance(1.0 / flight.frameRate);
        };
        const scenario::RunResult result = scenario::RunScenario(flight, host, simulator, siblings, run);
        if (asTheMainJob) pictures.ContactSheet();
        host.Unload();
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
    ModuleHost::SetSimRoot(kSource + "/sim");
    std::string soundError;
    const std::unique_ptr<SoundCapture> silence = SoundCapture::Silent(soundError);
    Simulator simulator;
    SiblingModules siblings;
    siblings.SetSlot(109, 1.0);
    ModuleHost host(simulator);
    if (std::string error = host.Load(kModule); !error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    host.RunFrame();
    render::BitmapStore bitmaps(kSource + "/module/resources/bitmaps");
    render::GaugeRenderer renderer(bitmaps);
    for (GAUGEHDR* gauge : host.gauges()) renderer.DrawGauge(gauge);  // bitmaps loaded once, as a run does
    for (auto _ : state) {
        renderer.BeginFrame();
        for (GAUGEHDR* gauge : host.gauges()) benchmark::DoNotOptimize(renderer.DrawGauge(gauge));
    }
    state.counters["gauges"] = static_cast<double>(host.gauges().size());
    host.Unload();
}
BENCHMARK(BM_DrawEveryGauge)->Unit(benchmark::kMillisecond);

}  // namespace
