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

// A cell that is a number whole ("39.2", "-1", "4.0"), as the plots take it.
bool CellNumber(const std::string& cell, double& value) {
    if (cell.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(cell.c_str(), &end);
    return end == cell.c_str() + cell.size() && errno == 0;
}

// The thing a trace column or an expectation is about, as one text, so that the
// page can mark each expectation on the plot of the same thing.
std::string ColumnSubject(const scenario::TraceColumn& column) {
    using Kind = scenario::TraceColumn::Kind;
    switch (column.kind) {
        case Kind::kVariable:
            return "variable:" + column.variable.name;
        case Kind::kValue:
            return "gauge:" + column.gauge + "#" + std::to_string(column.element);
        case Kind::kText:
            return "text:" + column.gauge + "#" + std::to_string(column.element);
        case Kind::kSlot:
            return "slot:" + std::to_string(column.slot);
        case Kind::kWindow:
            return "window:" + std::to_string(column.window);
    }
    return std::string();
}

std::string ExpectationSubject(const scenario::Expectation& expect) {
    using Kind = scenario::Expectation::Kind;
    switch (expect.kind) {
        case Kind::kValue:
        case Kind::kLamp:
            return "gauge:" + expect.gauge + "#" + std::to_string(expect.element);
        case Kind::kText:
            return "text:" + expect.gauge + "#" + std::to_string(expect.element);
        case Kind::kSlot:
            return "slot:" + std::to_string(expect.slot);
        case Kind::kWindow:
            return "window:" + std::to_string(expect.window);
    }
    return std::string();
}

// The value a plot marks for an expectation, when it has one.
json ExpectedNumber(const scenario::Expectation& expect) {
    using Kind = scenario::Expectation::Kind;
    switch (expect.kind) {
        case Kind::kValue:
        case Kind::kSlot:
            return Number(expect.value);
        case Kind::kWindow:
            return expect.shown ? 1 : 0;
        case Kind::kText:
        case Kind::kLamp:
            break;
    }
    return nullptr;
}

constexpr const char* kSpans[] = {"at", "during", "within"};

json Expectations(const RunRecord& run) {
    const scenario::Scenario& flight = *run.scenario;
    std::vector<const scenario::Outcome*> outcomes(flight.expectations.size(), nullptr);
    for (const scenario::Outcome& outcome : run.result.expectations)
        if (outcome.index < outcomes.size()) outcomes[outcome.index] = &outcome;
    json list = json::array();
    for (std::size_t i = 0; i < flight.expectations.size(); ++i) {
        const scenario::Expectation& expect = flight.expectations[i];
        json entry = {{"line", expect.where.line},
                      {"span", kSpans[static_cast<int>(expect.span)]},
                      {"from", expect.time},
                      {"to", expect.until},
                      {"when", expect.DescribeWhen()},
                      {"what", expect.Describe()},
                      {"subject", ExpectationSubject(expect)},
                      {"expected", ExpectedNumber(expect)},
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
    std::vector<const scenario::Outcome*> outcomes(flight.pictures.size(), nullptr);
    for (const scenario::Outcome& outcome : run.result.pictureOutcomes)
        if (outcome.index < outcomes.size()) outcomes[outcome.index] = &outcome;
    json list = json::array();
    for (const ScenarioPictures::Moment& moment : run.pictures) {
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
    const std::vector<TraceSamples::Row> rows = run.trace.Rows();
    json columns = json::array();
    json values = json::array();
    for (std::size_t c = 0; c < flight.trace.size(); ++c) {
        json column = json::array();
        bool numbers = false;
        for (const TraceSamples::Row& row : rows) {
            double value = 0.0;
            if (c < row.cells.size() && CellNumber(row.cells[c], value)) {
                column.push_back(Number(value));
                numbers = numbers || std::isfinite(value);
            } else {
                column.push_back(nullptr);
            }
        }
        columns.push_back({{"header", flight.trace[c].header},
                           {"subject", ColumnSubject(flight.trace[c])},
                           {"line", flight.trace[c].where.line},
                           {"numeric", numbers}});
        values.push_back(std::move(column));
    }
    json time = json::array();
    for (const TraceSamples::Row& row : rows) time.push_back(flight.TimeOf(row.frame));
    return {{"columns", columns}, {"time", time}, {"values", values}, {"rows", run.trace.offered()}};
}

const char* StatusName(int status) { return status == 0 ? "passed" : status == 1 ? "failed" : "refused"; }

json RunData(const RunRecord& run) {
    const scenario::Scenario& flight = *run.scenario;
    const scenario::RunResult& result = run.result;
    int failed = 0;
    for (const scenario::Outcome& outcome : result.expectations) failed += !outcome.passed;
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
            {"passed", result.passed},
            {"failed", failed},
            {"summary", run.summary},
            {"error", result.error},
            {"refusal", run.refusal},
            {"failures", result.failures},
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

void TraceSamples::Add(long long frame, const std::vector<std::string>& cells) {
    last_ = {frame, cells};
    if (offered_++ % every_ != 0) return;
    rows_.push_back(last_);
    if (rows_.size() < kMaxRows) return;
    // Every second row kept goes: the share halves and the spacing doubles.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < rows_.size(); i += 2) rows_[kept++] = std::move(rows_[i]);
    rows_.resize(kept);
    every_ *= 2;
}

std::vector<TraceSamples::Row> TraceSamples::Rows() const {
    std::vector<Row> rows = rows_;
    if (offered_ > 0 && (rows.empty() || rows.back().frame != last_.frame)) rows.push_back(last_);
    return rows;
}

std::string AssetsFolder() { return (std::filesystem::path(host_paths::ProgramFolder()) / kFilesFolder).string(); }

std::string WriteReport(const RunRecord& run, const std::string& assetsFolder) {
    return WritePage("report.html", RunData(run), run.outputFolder, "report.html", assetsFolder);
}

std::string WriteIndex(const std::vector<const RunRecord*>& runs, const std::vector<std::string>& links,
                       const std::string& folder, const std::string& assetsFolder) {
    json list = json::array();
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const RunRecord& run = *runs[i];
        int failed = 0;
        for (const scenario::Outcome& outcome : run.result.expectations) failed += !outcome.passed;
        list.push_back({{"file", run.scenario->file},
                        {"name", run.scenario->name},
                        {"link", i < links.size() ? links[i] : std::string()},
                        {"status", StatusName(run.status)},
                        {"passed", run.result.passed},
                        {"failed", failed},
                        {"expectations", run.scenario->expectations.size()},
                        {"frames", run.result.frames},
                        {"simulatedSeconds", run.result.simulatedSeconds},
                        {"wallSeconds", run.result.wallSeconds},
                        {"failures", run.result.failures},
                        {"refusal", run.refusal}});
    }
    return WritePage("index.html", json{{"runs", list}}, folder, "index.html", assetsFolder);
}

}  // namespace report
