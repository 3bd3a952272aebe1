#include "scenario/run_junit.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <sstream>

namespace report {
namespace {

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

// Consumers split a class name at its dots into packages: the file's name without them.
std::string ClassName(const std::string& file) {
    std::string name = std::filesystem::path(file).stem().string();
    for (char& c : name)
        if (c == '.') c = '_';
    return name;
}

// XML takes UTF-8 without control characters; messages may quote the module's text in any encoding. Bytes that
// are no UTF-8 become U+FFFD, as on the report page.
std::string XmlText(const std::string& text) {
    using nlohmann::json;
    std::string valid = json::parse(json(text).dump(-1, ' ', false, json::error_handler_t::replace)).get<std::string>();
    for (char& c : valid)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t' && c != '\r') c = '?';
    return valid;
}

struct Counts {
    int tests = 0, failures = 0, errors = 0, skipped = 0;
};

pugi::xml_node TestCase(pugi::xml_node suite, const std::string& className, const std::string& name,
                        const std::string& file, int line) {
    pugi::xml_node test = suite.append_child("testcase");
    test.append_attribute("classname") = XmlText(className).c_str();
    test.append_attribute("name") = XmlText(name).c_str();
    test.append_attribute("file") = XmlText(file).c_str();
    if (line > 0) test.append_attribute("line") = line;
    test.append_attribute("time") = "0";
    return test;
}

void Fail(pugi::xml_node test, const char* kind, const std::string& type, const std::string& message) {
    pugi::xml_node failure = test.append_child(kind);
    const std::string text = XmlText(message);
    failure.append_attribute("message") = text.c_str();
    failure.append_attribute("type") = type.c_str();
    failure.text() = text.c_str();
}

Counts Suite(pugi::xml_node suites, const RunRecord& run) {
    const scenario::Scenario& flight = *run.scenario;
    const scenario::RunResult& result = run.result;
    const std::string className = ClassName(flight.file);
    pugi::xml_node suite = suites.append_child("testsuite");
    suite.append_attribute("name") = XmlText(flight.name.empty() ? className : flight.name).c_str();
    Counts counts;

    if (run.status == scenario::kRunRefused) {
        std::string why;
        for (const std::string& line : run.refusal) why += (why.empty() ? "" : "\n") + line;
        if (!result.error.empty()) why += (why.empty() ? "" : "\n") + result.error;
        Fail(TestCase(suite, className, "the scenario is accepted", flight.file, 0), "error", "refused",
             why.empty() ? std::string("refused before its first frame") : why);
        ++counts.tests;
        ++counts.errors;
    }

    using Of = scenario::Outcome::Of;
    std::vector<const scenario::Outcome*> expectations(flight.expectations.size(), nullptr);
    for (const scenario::Outcome& outcome : result.outcomes)
        if (outcome.of == Of::kExpectation && outcome.index < expectations.size()) expectations[outcome.index] = &outcome;
    for (std::size_t i = 0; i < flight.expectations.size() && run.status != scenario::kRunRefused; ++i) {
        const scenario::Expectation& expect = flight.expectations[i];
        pugi::xml_node test = TestCase(
            suite, className,
            "line " + std::to_string(expect.where.line) + ": " + expect.Describe() + " " + expect.DescribeWhen(),
            flight.file, expect.where.line);
        ++counts.tests;
        if (const scenario::Outcome* outcome = expectations[i]; outcome == nullptr) {
            test.append_child("skipped").append_attribute("message") = "not decided: the run stopped before it";
            ++counts.skipped;
        } else if (!outcome->passed) {
            Fail(test, "failure", "expectation", outcome->message);
            ++counts.failures;
        }
    }

    for (const scenario::Outcome& outcome : result.outcomes) {
        if (outcome.of != Of::kPicture || outcome.index >= flight.pictures.size()) continue;
        const scenario::Picture& picture = flight.pictures[outcome.index];
        if (picture.reference.empty()) continue;
        pugi::xml_node test = TestCase(suite, className,
                                       "line " + std::to_string(picture.where.line) + ": picture " + picture.name +
                                           " matches " + picture.reference,
                                       flight.file, picture.where.line);
        ++counts.tests;
        if (!outcome.passed) {
            Fail(test, "failure", "picture", outcome.message);
            ++counts.failures;
        }
    }

    // Faults of the run itself: an input that could not be given, a text buffer overrun, a file not written.
    std::string others;
    for (const scenario::Outcome& outcome : result.outcomes)
        if (outcome.of == Of::kRun && !outcome.passed) others += (others.empty() ? "" : "\n") + outcome.message;
    if (!others.empty()) {
        Fail(TestCase(suite, className, "the run", flight.file, 0), "failure", "run", others);
        ++counts.tests;
        ++counts.failures;
    }

    suite.append_attribute("tests") = counts.tests;
    suite.append_attribute("failures") = counts.failures;
    suite.append_attribute("errors") = counts.errors;
    suite.append_attribute("skipped") = counts.skipped;
    suite.append_attribute("time") = Seconds(result.wallSeconds).c_str();
    suite.append_attribute("file") = XmlText(flight.file).c_str();
    return counts;
}

pugi::xml_document Document(const std::vector<const RunRecord*>& runs) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node suites = document.append_child("testsuites");
    suites.append_attribute("name") = "avrion-scenario";
    Counts total;
    double seconds = 0.0;
    for (const RunRecord* run : runs) {
        const Counts counts = Suite(suites, *run);
        total.tests += counts.tests;
        total.failures += counts.failures;
        total.errors += counts.errors;
        total.skipped += counts.skipped;
        seconds += run->result.wallSeconds;
    }
    suites.append_attribute("tests") = total.tests;
    suites.append_attribute("failures") = total.failures;
    suites.append_attribute("errors") = total.errors;
    suites.append_attribute("skipped") = total.skipped;
    suites.append_attribute("time") = Seconds(seconds).c_str();
    return document;
}

}  // namespace

std::string JunitXml(const std::vector<const RunRecord*>& runs) {
    std::ostringstream text;
    Document(runs).save(text, "  ", pugi::format_default, pugi::encoding_utf8);
    return text.str();
}

std::string WriteJunit(const std::string& path, const std::vector<const RunRecord*>& runs) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return "cannot write the JUnit file " + path + ": " + std::strerror(errno);
    Document(runs).save(file, "  ", pugi::format_default, pugi::encoding_utf8);
    file.close();
    if (!file) return "cannot write the JUnit file " + path + ": " + std::strerror(errno);
    return std::string();
}

}  // namespace report
