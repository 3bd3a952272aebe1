#include "scenario/run_report.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <system_error>

#include "cli/host_paths.h"

namespace report {
namespace {

using nlohmann::json;

// Where a page's template holds its data: inside a <script type="application/json"> element.
constexpr const char* kDataMarker = "@RUN_DATA@";
constexpr const char* kFilesFolder = "report-files";
// Copied beside every page; the templates themselves stay in the program's folder.
constexpr const char* kPageFiles[] = {"report.css",        "report.js",     "index.js",      "page.js",
                                      "uPlot.iife.min.js", "uPlot.min.css", "uPlot.LICENSE"};

// JSON has no infinities or not-a-number: they are left out of plots as gaps.
json Number(double value) { return std::isfinite(value) ? json(value) : json(nullptr); }

// The value a plot marks for an expectation, when it has one.
json ExpectedNumber(const scenario::Expected& expected) {
    if (const auto* near = std::get_if<scenario::NearValue>(&expected)) return Number(near->value);
    if (const auto* window = std::get_if<scenario::WindowShown>(&expected)) return window->shown ? 1 : 0;
    return nullptr;
}

constexpr const char* kSpans[] = {"at", "during", "within"};

// Each expectation's or picture's outcome by its place in the scenario's list; null when undecided.
std::vector<const scenario::Outcome*> OutcomesOf(const RunRecord& run, scenario::Outcome::Of of, std::size_t count) {
    std::vector<const scenario::Outcome*> outcomes(count, nullptr);
    for (const scenario::Outcome& outcome : run.result.outcomes)
        if (outcome.of == of && outcome.index < count) outcomes[outcome.index] = &outcome;
    return outcomes;
}

int Failed(const RunRecord& run) {
    int failed = 0;
    for (const scenario::Outcome& outcome : run.result.outcomes)
        failed += outcome.of == scenario::Outcome::Of::kExpectation && !outcome.passed;
    return failed;
}

json Expectations(const RunRecord& run) {
    const scenario::Scenario& flight = *run.scenario;
    const auto outcomes = OutcomesOf(run, scenario::Outcome::Of::kExpectation, flight.expectations.size());
    json list = json::array();
    for (std::size_t i = 0; i < flight.expectations.size(); ++i) {
        const scenario::Expectation& expect = flight.expectations[i];
        json entry = {{"line", expect.where.line},
                      {"span", kSpans[static_cast<int>(expect.span)]},
                      {"from", expect.time},
                      {"to", expect.until},
                      {"when", expect.DescribeWhen()},
                      {"what", expect.Describe()},
                      {"subject", scenario::SubjectId(expect.subject)},
                      {"expected", ExpectedNumber(expect.expected)},
                      {"passed", nullptr}};
        if (const scenario::Outcome* outcome = outcomes[i]) {
            entry["passed"] = outcome->passed;
            entry["frame"] = outcome->frame;
            entry["time"] = flight.TimeOf(outcome->frame);
            entry["message"] = outcome->message;
        }
        list.push_back(entry);
    }
    return list;
}

json Pictures(const RunRecord& run) {
    const scenario::Scenario& flight = *run.scenario;
    const auto outcomes = OutcomesOf(run, scenario::Outcome::Of::kPicture, flight.pictures.size());
    json list = json::array();
    for (const scenario::PictureMoment& moment : run.pictures) {
        if (moment.picture >= flight.pictures.size()) continue;
        const scenario::Picture& picture = flight.pictures[moment.picture];
        json windows = json::array();
        for (const auto& [ident, file] : moment.windows) windows.push_back({{"window", ident}, {"file", file}});
        json entry = {{"name", picture.name},
                      {"line", picture.where.line},
                      {"time", moment.time},
                      {"windows", windows},
                      {"reference", nullptr}};
        if (!picture.reference.empty()) {
            entry["reference"] = picture.reference;
            entry["window"] = moment.window;
            entry["tolerance"] = picture.tolerance;
            entry["threshold"] = picture.threshold;
            entry["differing"] = moment.differing;
            entry["rewritten"] = moment.rewritten;
            entry["difference"] = moment.difference;
            entry["referenceCopy"] = moment.referenceCopy;
        }
        if (const scenario::Outcome* outcome = outcomes[moment.picture]) {
            entry["passed"] = outcome->passed;
            entry["message"] = outcome->message;
        }
        list.push_back(entry);
    }
    return list;
}

json Trace(const RunRecord& run) {
    const scenario::Scenario& flight = *run.scenario;
    const std::vector<scenario::TraceSamples::Row> rows = run.trace.Rows();
    json columns = json::array();
    json values = json::array();
    for (std::size_t c = 0; c < flight.trace.size(); ++c) {
        json column = json::array();
        bool numbers = false;
        for (const scenario::TraceSamples::Row& row : rows) {
            const std::optional<double> value = c < row.cells.size() ? row.cells[c].number : std::nullopt;
            column.push_back(value ? Number(*value) : json(nullptr));
            numbers = numbers || (value && std::isfinite(*value));
        }
        columns.push_back({{"header", flight.trace[c].header},
                           {"subject", scenario::SubjectId(flight.trace[c].subject)},
                           {"line", flight.trace[c].where.line},
                           {"numeric", numbers}});
        values.push_back(std::move(column));
    }
    json time = json::array();
    for (const scenario::TraceSamples::Row& row : rows) time.push_back(flight.TimeOf(row.frame));
    return {{"columns", columns}, {"time", time}, {"values", values}, {"rows", run.trace.offered()}};
}

const char* StatusName(int status) { return status == 0 ? "passed" : status == 1 ? "failed" : "refused"; }

json RunData(const RunRecord& run) {
    const scenario::Scenario& flight = *run.scenario;
    const scenario::RunResult& result = run.result;
    return {{"file", flight.file},
            {"name", flight.name},
            {"description", flight.description},
            {"module", run.modulePath},
            {"frameRate", flight.frameRate},
            {"duration", flight.duration},
            {"status", StatusName(run.status)},
            {"frames", result.frames},
            {"simulatedSeconds", result.simulatedSeconds},
            {"wallSeconds", result.wallSeconds},
            {"passed", result.passed()},
            {"failed", Failed(run)},
            {"summary", run.summary},
            {"error", result.error},
            {"refusal", run.refusal},
            {"failures", result.failures()},
            {"warnings", result.warnings},
            {"expectations", Expectations(run)},
            {"pictures", Pictures(run)},
            {"trace", Trace(run)},
            {"contactSheet", run.contactSheet.empty() ? json(nullptr) : json(run.contactSheet)},
            {"sound", run.sound.empty() ? json(nullptr) : json(run.sound)}};
}

std::string ReadFile(const std::filesystem::path& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return "cannot read " + path.string();
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return std::string();
}

// The page from its template, with the data where the marker is, and its files beside it.
std::string WritePage(const std::string& templateName, const json& data, const std::filesystem::path& folder,
                      const std::string& pageName, const std::string& assetsFolder) {
    const std::filesystem::path assets(assetsFolder);
    std::string page;
    if (std::string error = ReadFile(assets / templateName, page); !error.empty()) return error;
    const std::size_t marker = page.find(kDataMarker);
    if (marker == std::string::npos)
        return "the template " + (assets / templateName).string() + " holds no data marker";
    // Text from the module may be in any encoding. A "<" (only ever inside a JSON string) is escaped, so that
    // no "</script" or "<!--" in a message can end or change the script element holding the data.
    std::string text;
    for (char c : data.dump(-1, ' ', false, json::error_handler_t::replace))
        text += c == '<' ? "\\u003c" : std::string(1, c);
    page.replace(marker, std::string(kDataMarker).size(), text);

    std::error_code error;
    std::filesystem::create_directories(folder / kFilesFolder, error);
    if (error) return "cannot make " + (folder / kFilesFolder).string() + ": " + error.message();
    for (const char* name : kPageFiles) {
        std::filesystem::copy_file(assets / name, folder / kFilesFolder / name,
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error) return "cannot copy " + (assets / name).string() + ": " + error.message();
    }
    const std::filesystem::path path = folder / pageName;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << page;
    out.close();
    if (!out) return "cannot write " + path.string();
    return std::string();
}

}  // namespace

std::string AssetsFolder() { return (std::filesystem::path(host_paths::ProgramFolder()) / kFilesFolder).string(); }

std::string WriteReport(const RunRecord& run, const std::string& assetsFolder) {
    return WritePage("report.html", RunData(run), run.outputFolder, "report.html", assetsFolder);
}

std::string WriteIndex(const std::vector<const RunRecord*>& runs, const std::vector<std::string>& links,
                       const std::string& folder, const std::string& assetsFolder) {
    json list = json::array();
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const RunRecord& run = *runs[i];
        list.push_back({{"file", run.scenario->file},
                        {"name", run.scenario->name},
                        {"link", i < links.size() ? links[i] : std::string()},
                        {"status", StatusName(run.status)},
                        {"passed", run.result.passed()},
                        {"failed", Failed(run)},
                        {"expectations", run.scenario->expectations.size()},
                        {"frames", run.result.frames},
                        {"simulatedSeconds", run.result.simulatedSeconds},
                        {"wallSeconds", run.result.wallSeconds},
                        {"failures", run.result.failures()},
                        {"refusal", run.refusal}});
    }
    return WritePage("index.html", json{{"runs", list}}, folder, "index.html", assetsFolder);
}

}  // namespace report
