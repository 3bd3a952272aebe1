// The simulator variables a scenario may script, and the units in which a
// person may write them. The simulator stand-in takes raw values only; each
// unit is a factor that turns a written value into the raw one.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Simulator;

namespace scenario {

struct Unit {
    const char* name;
    double toRaw;  // raw value = written value * toRaw

    // By the name's text: the same unit may come from different tables.
    bool operator==(const Unit& other) const;
};

struct ScriptedVariable {
    std::string name;
    int token = 0;          // the lookup token; unused for the aircraft variable
    bool aircraft = false;  // the slot-75 query (variable 54, unit 63, index 0)
    bool digits = false;    // four transponder digits in a 32-bit integer

    bool operator==(const ScriptedVariable&) const = default;
};

// Name of the slot-75 aircraft variable the landing model reads.
inline constexpr std::string_view kAircraftVariableName = "aircraft_var54";

// Every name of host/sim/variable_names.h plus the aircraft variable.
std::vector<std::string> ScriptedVariableNames();
std::optional<ScriptedVariable> FindScriptedVariable(std::string_view name);

// The units a variable may be written in; "raw" is always one of them.
std::vector<Unit> UnitsOf(std::string_view variableName);
std::optional<Unit> FindUnit(std::string_view variableName, std::string_view unitName);

// Transponder digits as written ("1200", each 0 to 7) to the integer the
// module reads (0x1200); nothing when the text is not four such digits.
std::optional<unsigned> ParseTransponderDigits(std::string_view text);
std::string FormatTransponderDigits(unsigned digits);

void SetRaw(Simulator& simulator, const ScriptedVariable& variable, double raw);
void SetDigits(Simulator& simulator, const ScriptedVariable& variable, unsigned digits);
double RawValue(const Simulator& simulator, const ScriptedVariable& variable);

}  // namespace scenario
