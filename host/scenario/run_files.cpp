#include "scenario/run_files.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "scenario/run_record.h"

namespace scenario {
namespace {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

std::string TraceFile::Path() const { return (std::filesystem::path(outputFolder_) / "trace.csv").string(); }

std::string TraceFile::Begin(const Scenario& scenario) {
    std::error_code error;
    std::filesystem::create_directories(outputFolder_, error);
    if (error) return "cannot make the output folder " + outputFolder_ + ": " + error.message();
    file_.open(Path(), std::ios::binary | std::ios::trunc);
    if (!file_) return "cannot write " + Path();
    file_ << "frame,time";
    for (const TraceColumn& column : scenario.trace) file_ << "," << CsvField(column.header);
    file_ << "\n";
    return std::string();
}

void TraceFile::TraceRow(long long frame, double time, const std::vector<Reading>& cells) {
    if (!file_.is_open()) return;
    file_ << frame << "," << FormatNumber(time);
    for (const Reading& cell : cells) file_ << "," << CsvField(cell.text);
    file_ << "\n";
}

void TraceFile::End(RunRecord& record) {
    if (!file_.is_open()) return;
    file_.close();
    if (!file_) record.result.Fail(record.result.frames, "could not write " + Path());
}

std::string SummaryText(const Scenario& scenario, const RunResult& result, const std::string& modulePath) {
    std::ostringstream out;
    out << "scenario: " << scenario.file;
    if (!scenario.name.empty()) out << " (" << scenario.name << ")";
    out << "\n";
    if (!modulePath.empty()) out << "module: " << modulePath << "\n";
    out << "frames: " << result.frames << " at " << FormatNumber(scenario.frameRate) << " per second\n";
    out << "simulated time: " << FormatSeconds(result.simulatedSeconds) << "\n";
    out << "wall time: " << FormatSeconds(result.wallSeconds) << "\n";
    if (result.wallSeconds > 0.0) {
        char line[96];
        std::snprintf(line, sizeof line, "frames per second: %.0f (%.1f times real time)\n",
                      static_cast<double>(result.frames) / result.wallSeconds,
                      result.simulatedSeconds / result.wallSeconds);
        out << line;
    }
    const int passed = result.passed();
    const std::size_t failed = result.error.empty() ? scenario.expectations.size() - static_cast<std::size_t>(passed) : 0;
    out << "expectations: " << passed << " passed, " << failed << " failed\n";
    out << "pictures: " << result.pictures.size() << "\n";
    for (const std::string& picture : result.pictures) out << "  " << picture << "\n";
    if (!result.error.empty()) out << "error: " << result.error << "\n";
    const std::vector<std::string> failures = result.failures();
    if (!failures.empty()) out << "failures:\n";
    for (const std::string& failure : failures) out << "  " << failure << "\n";
    if (!result.warnings.empty()) out << "warnings:\n";
    for (const std::string& warning : result.warnings) out << "  " << warning << "\n";
    out << "result: " << (result.ok() ? "passed" : "FAILED") << "\n";
    return out.str();
}

void SummaryFile::End(RunRecord& record) {
    if (record.status == kRunRefused || !record.result.error.empty()) return;
    record.summary = SummaryText(*record.scenario, record.result, record.modulePath);
    if (outputFolder_.empty()) return;
    const auto path = std::filesystem::path(outputFolder_) / "summary.txt";
    std::ofstream summary(path, std::ios::binary | std::ios::trunc);
    summary << record.summary;
    summary.close();
    if (!summary) {
        record.result.Fail(record.result.frames, "could not write " + path.string());
        record.notWritten.push_back("could not write " + path.string());
    }
}

}  // namespace scenario
