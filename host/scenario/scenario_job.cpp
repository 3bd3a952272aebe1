#include "scenario/scenario_job.h"

#include <filesystem>

#include "scenario/run_files.h"
#include "scenario/run_junit.h"
#include "scenario/run_report.h"
#include "scenario/scenario_command.h"
#include "scenario/scenario_pictures.h"
#include "sim/module_run.h"
#include "sim/sound_capture.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// The run's sound, recorded in simulator time into sound.wav.partial; it
// becomes sound.wav only once the run has been played, so that a refused run
// leaves an earlier one's.
class SoundRecording final : public RunObserver {
public:
    explicit SoundRecording(const std::string& outputFolder)
        : partial_(fs::path(outputFolder) / "sound.wav.partial"), final_(fs::path(outputFolder) / "sound.wav") {}
    std::string partial() const { return partial_.string(); }

    std::vector<Problem> Loaded(ModuleRun& run, const Scenario& scenario) override {
        run_ = &run;
        frameSeconds_ = 1.0 / scenario.frameRate;
        return {};
    }
    void AfterFrame() override {
        if (SoundCapture* sound = run_->sound()) sound->Advance(frameSeconds_);
    }
    void End(RunRecord& record) override {
        SoundCapture* sound = run_ != nullptr ? run_->sound() : nullptr;
        if (record.status == kRunRefused || sound == nullptr) {
            std::error_code ignored;
            fs::remove(partial_, ignored);
            return;
        }
        const double seconds = sound->recordedSeconds();
        run_->CloseSound();
        std::error_code error;
        fs::rename(partial_, final_, error);
        if (error) {
            record.notWritten.push_back("cannot keep the sound as " + final_.string() + ": " + error.message());
            return;
        }
        record.sound = final_.filename().string();
        record.soundSeconds = seconds;
    }

private:
    fs::path partial_, final_;
    ModuleRun* run_ = nullptr;
    double frameSeconds_ = 0.0;
};

// report.html, with the plots of a sample of the trace's rows.
class ReportPage final : public RunObserver {
public:
    explicit ReportPage(std::string assets) : assets_(std::move(assets)) {}
    bool WantsTrace() const override { return true; }
    void TraceRow(long long frame, double, const std::vector<Reading>& cells) override { samples_.Add(frame, cells); }
    void End(RunRecord& record) override {
        if (record.status == kRunRefused) return;
        record.trace = std::move(samples_);
        if (std::string error = report::WriteReport(record, assets_); !error.empty()) {
            record.notWritten.push_back("no report page: " + error);
            record.pagesWritten = false;
        } else {
            record.reportPage = (fs::path(record.outputFolder) / "report.html").string();
        }
    }

private:
    std::string assets_;
    TraceSamples samples_;
};

// junit.xml beside the report.
class JunitFile final : public RunObserver {
public:
    void End(RunRecord& record) override {
        if (record.status == kRunRefused) return;
        const std::string path = (fs::path(record.outputFolder) / "junit.xml").string();
        if (std::string error = report::WriteJunit(path, {&record}); !error.empty()) {
            record.notWritten.push_back(error);
            record.pagesWritten = false;
        }
    }
};

}  // namespace

RunRecord PlayJob(const Scenario& scenario, const std::string& scenarioPath, const std::string& outputFolder,
                  const JobSettings& settings, ProgressBar* progress) {
    RunRecord record;
    record.outputFolder = outputFolder;
    SoundRecording sound(outputFolder);
    RunSetup setup;
    setup.simRoot = settings.simRoot;
    setup.modulePath = settings.modulePath;
    setup.objects = settings.objects;
    // The module opens its sound device as it loads: the recording, or with --no-sound a device that keeps
    // nothing and asks for no sound card.
    if (!settings.soundDevice) setup.sound = settings.sound ? RunSetup::Sound::kRecorded : RunSetup::Sound::kSilent;
    if (setup.sound == RunSetup::Sound::kRecorded) {
        std::error_code ignored;
        fs::create_directories(outputFolder, ignored);
        setup.soundFile = sound.partial();
    }

    TraceFile trace(outputFolder);
    ScenarioPictures pictures({settings.layoutPath, settings.bitmapFolder, outputFolder,
                               fs::path(settings.modulePath).stem().string(), fs::path(scenarioPath).parent_path().string(),
                               settings.updateReferences});
    SummaryFile summary(outputFolder);
    ReportPage report(settings.assets);
    JunitFile junit;
    RunObservers observers;
    observers.Add(trace);
    if (settings.pictures) observers.Add(pictures);
    if (setup.sound == RunSetup::Sound::kRecorded) observers.Add(sound);
    observers.Add(summary);
    observers.Add(report);
    observers.Add(junit);
    command::Play(scenario, setup, observers, {settings.realTime, progress}, record);
    for (const std::string& fault : observers.faults()) record.notWritten.push_back(fault);
    return record;
}

void CallFiles::AllEnded(const std::vector<const RunRecord*>& records) {
    if (several_) {
        std::vector<std::string> links;
        for (const RunRecord* record : records)
            links.push_back(record->status != kRunRefused
                                ? (fs::path(record->outputFolder).filename() / "report.html").string()
                                : "");
        if (std::string error = report::WriteIndex(records, links, outputRoot_, assets_); !error.empty())
            notWritten_.push_back("no index page: " + error);
        else
            written_.push_back("index: " + (fs::path(outputRoot_) / "index.html").string());
        if (std::string error = report::WriteJunit((fs::path(outputRoot_) / "junit.xml").string(), records);
            !error.empty())
            notWritten_.push_back(error);
    }
    if (junitPath_.empty()) return;
    if (std::string error = report::WriteJunit(junitPath_, records); !error.empty())
        notWritten_.push_back("--junit: " + error);
    else
        written_.push_back("junit: " + junitPath_);
}

}  // namespace scenario
