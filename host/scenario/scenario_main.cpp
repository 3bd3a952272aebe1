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
#include "render/label.h"
#include "scenario/progress_bar.h"
#include "scenario/run_report.h"
#include "scenario/scenario_command.h"
#include "scenario/scenario_job.h"
#include "scenario/scenario_json.h"
#include "scenario/scenario_yaml.h"

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

struct Entry {
    std::string given;  // the path as given
    std::string path;   // absolute
    scenario::Scenario scenario;
    std::string outputFolder;
};

// What a run left, as the person running it reads it.
void Tell(const scenario::RunRecord& record) {
    for (const std::string& problem : record.notWritten) std::cerr << "avrion-scenario: " << problem << "\n";
    if (record.status == kRefused) return;
    std::cout << record.summary;
    std::cout << "pictures written: " << record.picturesWritten << "\n";
    if (!record.sound.empty())
        std::cout << "sound: " << (fs::path(record.outputFolder) / record.sound).string() << " (" << record.soundSeconds
                  << " s)\n";
    if (!record.reportPage.empty()) std::cout << "report: " << record.reportPage << "\n";
    std::cout << "output: " << record.outputFolder << "\n";
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
    scenario::JobSettings job;
    job.simRoot = host_paths::Absolute(options.simRoot.empty() ? host_paths::ProgramFolder() : options.simRoot);
    job.modulePath = host_paths::Absolute(options.modulePath.empty()
                                              ? host_paths::ProgramFolder() + "/" + host_paths::kModuleFileName
                                              : options.modulePath);
    job.layoutPath = host_paths::Absolute(
        options.layoutPath.empty() ? (fs::path(job.simRoot) / "panel" / "panel.cfg").string() : options.layoutPath);
    job.bitmapFolder = host_paths::Absolute(options.bitmapFolder);
    job.assets = report::AssetsFolder();
    job.objects = options.objects;
    job.pictures = options.pictures;
    job.sound = options.sound;
    job.soundDevice = options.soundDevice;
    job.updateReferences = options.updateReferences;
    job.realTime = options.realTime;
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

    if (!host_paths::IsFolder(job.simRoot)) {
        std::cerr << "avrion-scenario: the simulator root " << job.simRoot << " is not a folder\n";
        return kRefused;
    }

    if (options.checkOnly || !compiledPath.empty()) {
        RunSetup setup;
        setup.simRoot = job.simRoot;
        setup.modulePath = job.modulePath;
        setup.objects = job.objects;
        // The module opens its sound device as it loads: one that keeps nothing and asks for no sound card.
        if (!options.soundDevice) setup.sound = RunSetup::Sound::kSilent;
        int worst = 0;
        for (const Entry& entry : entries) {
            if (const auto status = scenario::command::CheckWithModule(entry.scenario, setup)) {
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

    std::vector<scenario::RunRecord> records;
    records.reserve(entries.size());
    int worst = 0;
    bool filesWritten = true;
    for (const Entry& entry : entries) {
        if (several) std::cout << "=== " << entry.given << "\n";
        ProgressBar progress(std::cerr, isatty(STDERR_FILENO) != 0);
        records.push_back(scenario::PlayJob(entry.scenario, entry.path, entry.outputFolder, job, &progress));
        const scenario::RunRecord& record = records.back();
        Tell(record);
        worst = std::max(worst, record.status);
        filesWritten = filesWritten && record.pagesWritten;
    }
    render::ReleaseFontCaches();

    std::vector<const scenario::RunRecord*> all;
    for (const scenario::RunRecord& record : records) all.push_back(&record);
    if (several) {
        std::cout << "=== " << records.size() << " scenarios\n";
        for (const scenario::RunRecord& record : records)
            std::cout << (record.status == 0         ? "passed "
                          : record.status == kFailed ? "FAILED "
                                                     : "REFUSED")
                      << "  " << record.scenario->file << "  (" << record.result.passed() << " of "
                      << record.scenario->expectations.size() << " expectations held, "
                      << scenario::FormatSeconds(record.result.wallSeconds) << ")\n";
    }
    scenario::CallFiles callFiles(outputRoot, several, junitPath, job.assets);
    callFiles.AllEnded(all);
    for (const std::string& line : callFiles.written()) std::cout << line << "\n";
    for (const std::string& problem : callFiles.notWritten()) std::cerr << "avrion-scenario: " << problem << "\n";
    if (!filesWritten || !callFiles.notWritten().empty()) worst = std::max(worst, kFailed);
    return worst;
}
