// A checked scenario written out as JSON and read back, field for field, with
// the file and line of everything in it. The Linux runner reads the YAML and
// compiles it; the Windows runner, which has no YAML reader, plays the
// compiled file, so both report faults by the same lines of the same file.
#pragma once

#include <string>

#include "scenario/scenario.h"

namespace scenario {

std::string ScenarioToJson(const Scenario& scenario);

// fileName only names the compiled file in messages about it.
ParseResult ScenarioFromJson(const std::string& text, const std::string& fileName);
ParseResult LoadCompiledScenario(const std::string& path);

}  // namespace scenario
