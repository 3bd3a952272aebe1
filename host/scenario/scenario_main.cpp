// avrion-scenario: plays scripted flights through the gauge module and checks
// what its gauges, slots and windows show. Each run leaves its trace, summary,
// pictures, sound, report page and JUnit file in its output folder; several
// runs also leave an index page and a JUnit file of all of them. Exit status
// (of the worst run) 0 when every expectation held, 1 when one did not or the
// run went wrong, 2 when a scenario or the command line was refused before
// its first frame ran.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/host_paths.h"
#include "loader/module_host.h"
#include "render/label.h"
#include "scenario/progress_bar.h"
#include "scenario/run_junit.h"
#include "scenario/run_record.h"
#include "scenario/run_report.h"
#include "scenario/scenario.h"
#include "scenario/scenario_command.h"
#include "scenario/scenario_json.h"
#include "scenario/scenario_pictures.h"
#include "scenario/scenario_runner.h"
#include "sim/host_desktop.h"
#include "sim/objects_table.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"
#include "sim/sound_capture.h"

namespace {

namespace fs = std::filesystem;
using scenario::command::kFailed;
using scenario::command::kRefused;

struct Options : scenario::command::CommonOptions {
    std::string simRoot;
    std::string layoutPath;
    std::string bitmapFolder = "module/resources/bitmaps";
    std::string compiledPath;
    std::string junitPath;
    std::string objects;
    bool pictures = true;
    bool sound = true;
    bool soundDevice = false;
    bool updateReferences = false;
};

std::optional<int> ParseOptions(int argc, char** argv, Options& options) {
    CLI::App app{"Plays scripted flights through the gauge module and checks what its gauges, slots and windows "
                 "show. Each run leaves its trace, summary, pictures, sound, report page and JUnit file in its output "
                 "folder; a FOLDER stands for the .yaml files in it. The format of scenario files: "
                 "host/scenario/README.md. Exit status (of the worst run) 0 when every expectation held, 1 when one "
                 "did not or the run went wrong, 2 when a scenario or the command line was refused before its first "
                 "frame ran.",
                 "avrion-scenario"};
    command_line::Describe(app);
    scenario::command::AddCommonOptions(app, options, "the one beside this program");
    command_line::AddSimRoot(app, options.simRoot);
    command_line::AddObjects(app, options.objects, "a table of each run's own, removed when it ends");
    app.add_option("--junit", options.junitPath,
                   "also write the JUnit XML of every scenario run to FILE (junit.xml is always written beside each "
                   "report, and beside the index)")
        ->type_name("FILE");
    app.add_flag("--update-references", options.updateReferences,
                 "write each picture moment's reference picture anew instead of comparing");
    app.add_option("--compile", options.compiledPath,
                   "check the scenario and write it as JSON for the Windows avrion-scenario; run no frame")
        ->type_name("FILE");
    app.add_option("--layout", options.layoutPath, "panel layout for pictures (default: SIM_ROOT/panel/panel.cfg)")
        ->type_name("FILE");
    app.add_option("--bitmaps", options.bitmapFolder, "the gauges' bitmaps for pictures")
        ->type_name("DIR")
        ->capture_default_str();
    command_line::AddSwitchOff(app, "--no-pictures", options.pictures, "take no pictures (and compare none)");
    auto* noSound = command_line::AddSwitchOff(app, "--no-sound", options.sound, "record no sound.wav, and play nothing");
    app.add_flag("--sound-device", options.soundDevice,
                 "play to this machine's sound output instead of recording sound.wav (without one the module says "
                 "so, as in the simulator)")
        ->excludes(noSound);
    return command_line::Parse(app, argc, argv);
}

// The scenario files named, a folder standing for its .yaml files by name; as
// given, which is how messages name them. Empty on success, else the fault.
std::string ScenarioFiles(const std::vector<std::string>& given, std::vector<std::string>& files) {
    for (const std::string& path : given) {
        std::error_code error;
        if (!fs::is_directory(path, error)) {
            files.push_back(path);
            continue;
        }
        std::vector<std::string> inFolder;
        for (const fs::directory_entry& entry : fs::directory_iterator(path, error))
            if (entry.path().extension() == ".yaml" && !entry.is_directory(error))
                inFolder.push_back((fs::path(path) / entry.path().filename()).string());
        if (error) return "cannot read the folder " + path + ": " + error.message();
        if (inFolder.empty()) return "the folder " + path + " holds no .yaml scenario";
        std::sort(inFolder.begin(), inFolder.end());
        files.insert(files.end(), inFolder.begin(), inFolder.end());
    }
    return std::string();
}

// Paths fixed before the simulator root becomes the working folder.
struct Setting {
    std::string simRoot;
    std::string modulePath;
    std::string layoutPath;
    std::string bitmapFolder;
    std::string assets;
};

struct Entry {
    std::string given;  // the path as given
    std::string path;   // absolute
    scenario::Scenario scenario;
    std::string outputFolder;
};

// Plays one scenario through a freshly loaded module.
report::RunRecord Run(const Entry& entry, const Options& options, const Setting& setting) {
    const scenario::Scenario& flight = entry.scenario;
    report::RunRecord record;
    record.scenario = &flight;
    record.outputFolder = entry.outputFolder;
    record.modulePath = setting.modulePath;
    HostDesktop::Instance().ClearMessages();

    // The module opens its sound device as it loads, so the recording comes first; it becomes
    // sound.wav only once the run has been played, so that a refused run leaves an earlier one's.
    const fs::path soundPath = fs::path(entry.outputFolder) / "sound.wav";
    const fs::path partialSound = fs::path(entry.outputFolder) / "sound.wav.partial";
    // With --no-sound the module plays into a device that keeps nothing, and asks for no sound card.
    std::unique_ptr<SoundCapture> sound, silence;
    if (!options.soundDevice) {
        std::string error;
        if (options.sound) {
            std::error_code ignored;
            fs::create_directories(entry.outputFolder, ignored);
            sound = SoundCapture::Open(partialSound.string(), error);
            if (!sound) std::cerr << "avrion-scenario: warning: no sound recorded: " << error << "\n";
        } else {
            silence = SoundCapture::Silent(error);
            if (!silence) std::cerr << "avrion-scenario: warning: " << error << "\n";
        }
    }
    const auto dropSound = [&] {
        sound.reset();
        std::error_code ignored;
        fs::remove(partialSound, ignored);
    };
    // A table of named objects of the run's own, unless told to share one.
    std::string tableError;
    const auto table = ObjectsTable::ForRun(options.objects, tableError);
    if (!table) {
        std::cerr << "avrion-scenario: " << tableError << "\n";
        record.refusal.push_back(tableError);
        record.status = kRefused;
        dropSound();
        return record;
    }
    Simulator simulator;
    SiblingModules siblings;
    ModuleHost host(simulator);
    if (const auto status =
            scenario::command::LoadAndCheck(flight, setting.modulePath, host, siblings, &record.refusal)) {
        record.status = *status;
        host.Unload();
        dropSound();
        return record;
    }

    ProgressBar progress(std::cerr, isatty(STDERR_FILENO) != 0);
    scenario::RunOptions run;
    run.outputFolder = entry.outputFolder;
    run.realTime = options.realTime;
    run.progress = &progress;
    run.modulePath = setting.modulePath;
    run.traceRow = [&record](long long frame, const std::vector<std::string>& cells) {
        record.trace.Add(frame, cells);
    };
    ScenarioPictures pictures;
    const double frameSeconds = 1.0 / flight.frameRate;
    run.afterFrame = [&] {
        if (options.pictures) pictures.AfterFrame();
        if (sound) sound->Advance(frameSeconds);
    };
    if (options.pictures) {
        std::error_code ignored;
        fs::create_directories(entry.outputFolder, ignored);
        const std::string error = pictures.Open(setting.layoutPath, setting.bitmapFolder, host, simulator,
                                                entry.outputFolder, fs::path(setting.modulePath).stem().string());
        if (!error.empty()) std::cerr << "avrion-scenario: warning: no pictures: " << error << "\n";
        const std::vector<scenario::Problem> problems =
            pictures.CheckReferences(flight, fs::path(entry.path).parent_path().string(), options.updateReferences);
        if (!problems.empty()) {
            for (const scenario::Problem& problem : problems) record.refusal.push_back(problem.ToString());
            record.status = scenario::command::Refuse(problems, "a reference picture does not fit");
            host.Unload();
            dropSound();
            return record;
        }
        run.picture = [&pictures](const scenario::Picture& picture, double time) {
            return pictures.Take(picture, time);
        };
    }
    // The run clears its progress bar when it ends.
    record.result = scenario::RunScenario(flight, host, simulator, siblings, run);
    if (options.pictures) pictures.ContactSheet();
    for (const std::string& problem : pictures.problems()) std::cerr << "avrion-scenario: " << problem << "\n";
    host.Unload();
    record.pictures = pictures.moments();
    const auto& written = pictures.written();
    if (std::any_of(written.begin(), written.end(),
                    [](const std::string& path) { return fs::path(path).filename() == "contact-sheet.png"; }))
        record.contactSheet = "contact-sheet.png";

    if (!record.result.error.empty()) {
        std::cerr << "avrion-scenario: " << record.result.error << "\n";
        record.refusal.push_back(record.result.error);
        record.status = kRefused;
        dropSound();
        return record;
    }
    record.status = record.result.ok() ? 0 : kFailed;
    record.summary = scenario::Summary(flight, record.result, run);
    std::cout << record.summary;
    std::cout << "pictures written: " << written.size() << "\n";
    if (sound) {
        const double seconds = sound->recordedSeconds();
        sound.reset();
        std::error_code error;
        fs::rename(partialSound, soundPath, error);
        if (error) {
            std::cerr << "avrion-scenario: cannot keep the sound as " << soundPath.string() << ": " << error.message()
                      << "\n";
        } else {
            record.sound = "sound.wav";
            std::cout << "sound: " << soundPath.string() << " (" << seconds << " s)\n";
        }
    }
    return record;
}

// The report page and JUnit file beside a run's other files; false when either could not be written.
bool WriteRunFiles(const report::RunRecord& record, const std::string& assets) {
    bool ok = true;
    if (std::string error = report::WriteReport(record, assets); !error.empty()) {
        std::cerr << "avrion-scenario: no report page: " << error << "\n";
        ok = false;
    } else {
        std::cout << "report: " << (fs::path(record.outputFolder) / "report.html").string() << "\n";
    }
    const std::string junit = (fs::path(record.outputFolder) / "junit.xml").string();
    if (std::string error = report::WriteJunit(junit, {&record}); !error.empty()) {
        std::cerr << "avrion-scenario: " << error << "\n";
        ok = false;
    }
    std::cout << "output: " << record.outputFolder << "\n";
    return ok;
}

// Each scenario's own folder below the root, by its file's name; a name taken twice gets a number.
std::vector<std::string> OutputFolders(const std::vector<Entry>& entries, const std::string& root) {
    std::vector<std::string> folders;
    std::set<std::string> taken;
    for (const Entry& entry : entries) {
        const std::string stem = fs::path(entry.path).stem().string();
        std::string name = stem;
        for (int n = 2; !taken.insert(name).second; ++n) name = stem + "-" + std::to_string(n);
        folders.push_back((fs::path(root) / name).string());
    }
    return folders;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const auto status = ParseOptions(argc, argv, options)) return *status;
    if (!options.objects.empty()) options.objects = host_paths::Absolute(options.objects);
    std::vector<std::string> files;
    if (std::string error = ScenarioFiles(options.scenarioPaths, files); !error.empty()) {
        std::cerr << "avrion-scenario: " << error << "\n";
        return kRefused;
    }
    if (!options.compiledPath.empty() && files.size() > 1) {
        std::cerr << "avrion-scenario: --compile takes one scenario\n";
        return kRefused;
    }
    const bool several = files.size() > 1;

    // Every path is fixed before the simulator root becomes the working folder.
    Setting setting;
    setting.simRoot = host_paths::Absolute(options.simRoot.empty() ? host_paths::ProgramFolder() : options.simRoot);
    setting.modulePath = host_paths::Absolute(options.modulePath.empty()
                                                  ? host_paths::ProgramFolder() + "/" + host_paths::kModuleFileName
                                                  : options.modulePath);
    setting.layoutPath = host_paths::Absolute(
        options.layoutPath.empty() ? (fs::path(setting.simRoot) / "panel" / "panel.cfg").string() : options.layoutPath);
    setting.bitmapFolder = host_paths::Absolute(options.bitmapFolder);
    setting.assets = report::AssetsFolder();
    const std::string compiledPath =
        options.compiledPath.empty() ? std::string() : host_paths::Absolute(options.compiledPath);
    const std::string junitPath = options.junitPath.empty() ? std::string() : host_paths::Absolute(options.junitPath);

    // Every file is read before any runs, so that a fault in the last stops the first.
    std::vector<Entry> entries;
    std::vector<scenario::Problem> problems;
    for (const std::string& file : files) {
        Entry entry;
        entry.given = file;
        entry.path = host_paths::Absolute(file);
        // Messages name the file as it was given, which is how a person finds it.
        scenario::ParseResult parsed = scenario::LoadScenario(entry.path, file);
        problems.insert(problems.end(), parsed.problems.begin(), parsed.problems.end());
        entry.scenario = std::move(parsed.scenario);
        entries.push_back(std::move(entry));
    }
    if (!problems.empty())
        return scenario::command::Refuse(problems, several ? "a scenario was refused" : "the scenario was refused");
    const std::string outputRoot = host_paths::Absolute(
        options.outputFolder.empty()
            ? (several ? std::string("scenario-output")
                       : (fs::path("scenario-output") / fs::path(entries.front().path).stem()).string())
            : options.outputFolder);
    if (several) {
        const std::vector<std::string> folders = OutputFolders(entries, outputRoot);
        for (std::size_t i = 0; i < entries.size(); ++i) entries[i].outputFolder = folders[i];
    } else {
        entries.front().outputFolder = outputRoot;
    }

    if (!host_paths::IsFolder(setting.simRoot)) {
        std::cerr << "avrion-scenario: the simulator root " << setting.simRoot << " is not a folder\n";
        return kRefused;
    }
    if (std::string error = ModuleHost::SetSimRoot(setting.simRoot); !error.empty()) {
        std::cerr << "avrion-scenario: " << error << "\n";
        return kRefused;
    }

    if (options.checkOnly || !compiledPath.empty()) {
        int worst = 0;
        for (const Entry& entry : entries) {
            std::string tableError;
            const auto table = ObjectsTable::ForRun(options.objects, tableError);
            if (!table) {
                std::cerr << "avrion-scenario: " << tableError << "\n";
                return kRefused;
            }
            // The module opens its sound device as it loads: one that keeps nothing and asks for no sound card.
            std::string soundError;
            const auto silence = options.soundDevice ? nullptr : SoundCapture::Silent(soundError);
            Simulator simulator;
            SiblingModules siblings;
            ModuleHost host(simulator);
            if (const auto status =
                    scenario::command::LoadAndCheck(entry.scenario, setting.modulePath, host, siblings)) {
                worst = std::max(worst, *status);
                continue;
            }
            if (!compiledPath.empty()) {
                std::ofstream compiled(compiledPath, std::ios::binary | std::ios::trunc);
                compiled << scenario::ScenarioToJson(entry.scenario);
                compiled.close();
                if (!compiled) {
                    std::cerr << "avrion-scenario: cannot write " << compiledPath << "\n";
                    return kFailed;
                }
                std::cout << entry.given << ": compiled to " << options.compiledPath << "\n";
            } else {
                std::cout << entry.given << ": accepted (" << entry.scenario.LastFrame() << " frames, "
                          << entry.scenario.expectations.size() << " expectations)\n";
            }
        }
        return worst;
    }

    std::vector<report::RunRecord> records;
    records.reserve(entries.size());
    int worst = 0;
    bool filesWritten = true;
    for (const Entry& entry : entries) {
        if (several) std::cout << "=== " << entry.given << "\n";
        records.push_back(Run(entry, options, setting));
        const report::RunRecord& record = records.back();
        worst = std::max(worst, record.status);
        // A refused run leaves an earlier run's files as they were.
        if (record.status != kRefused) filesWritten = WriteRunFiles(record, setting.assets) && filesWritten;
    }
    render::ReleaseFontCaches();

    std::vector<const report::RunRecord*> all;
    for (const report::RunRecord& record : records) all.push_back(&record);
    if (several) {
        std::vector<std::string> links;
        std::cout << "=== " << records.size() << " scenarios\n";
        for (const report::RunRecord& record : records) {
            const bool linked = record.status != kRefused;
            links.push_back(linked ? (fs::path(record.outputFolder).filename() / "report.html").string() : "");
            std::cout << (record.status == 0         ? "passed "
                          : record.status == kFailed ? "FAILED "
                                                     : "REFUSED")
                      << "  " << record.scenario->file << "  (" << record.result.passed << " of "
                      << record.scenario->expectations.size() << " expectations held, "
                      << scenario::FormatSeconds(record.result.wallSeconds) << ")\n";
        }
        if (std::string error = report::WriteIndex(all, links, outputRoot, setting.assets); !error.empty()) {
            std::cerr << "avrion-scenario: no index page: " << error << "\n";
            filesWritten = false;
        } else {
            std::cout << "index: " << (fs::path(outputRoot) / "index.html").string() << "\n";
        }
        if (std::string error = report::WriteJunit((fs::path(outputRoot) / "junit.xml").string(), all);
            !error.empty()) {
            std::cerr << "avrion-scenario: " << error << "\n";
            filesWritten = false;
        }
    }
    if (!junitPath.empty()) {
        if (std::string error = report::WriteJunit(junitPath, all); !error.empty()) {
            std::cerr << "avrion-scenario: --junit: " << error << "\n";
            filesWritten = false;
        } else {
            std::cout << "junit: " << junitPath << "\n";
        }
    }
    if (!filesWritten) worst = std::max(worst, kFailed);
    return worst;
}
