// Scenario files in YAML, the format people write (README.md beside this
// file): read into the scenario model, and the model written back with
// yaml-cpp's emitter, so that reading what was written gives the same model.
#pragma once

#include <string>
#include <vector>

#include "scenario/scenario.h"

namespace scenario {

// The text of a scenario file; fileName only names it in messages.
ParseResult ParseScenario(const std::string& text, const std::string& fileName);
// fileName names the file in messages; default the path.
ParseResult LoadScenario(const std::string& path, const std::string& fileName = std::string());

// Comments to write with a scenario: lines at the top, and one after each
// mouse event (empty for none). They are for people; no reader keeps them.
struct YamlComments {
    std::vector<std::string> heading;
    std::vector<std::string> mouse;
};

// The file of a scenario, every setting written out.
std::string ScenarioToYaml(const Scenario& scenario, const YamlComments& comments = {});

}  // namespace scenario
