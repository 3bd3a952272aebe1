// Runs as JUnit XML, as CI systems read it: a <testsuite> per scenario, a
// <testcase> per expectation and per compared picture, a failing one holding
// a <failure> with the file:line message; what failed outside them (an input
// that could not be given, a refusal) is a test case of its own.
#pragma once

#include <string>
#include <vector>

#include "scenario/run_record.h"

namespace report {

using scenario::RunRecord;

std::string JunitXml(const std::vector<const RunRecord*>& runs);
// Empty on success, else why the file could not be written.
std::string WriteJunit(const std::string& path, const std::vector<const RunRecord*>& runs);

}  // namespace report
