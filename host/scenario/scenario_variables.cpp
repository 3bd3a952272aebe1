#include "scenario/scenario_variables.h"

#include <cstdio>

#include "sim/simulator.h"
#include "sim/variable_names.h"

namespace scenario {
namespace {

// The aircraft variable the landing model measures its roll-out by.
constexpr int kAircraftVariable = 54;
constexpr int kAircraftUnit = 63;
constexpr int kAircraftIndex = 0;

// Raw units as the module converts them back, so that a value written in a unit reads the same on its gauge
// (millimetres of mercury with the module's own 760 per 1013 millibars).
constexpr double kLatitudePerTurn = 40007000.0;
constexpr double kLongitudePerTurn = 281474976710656.0;  // 2^48
constexpr double kMachRawPerMach = 65536.0 / 3.2;

struct VariableUnits {
    std::string_view variable;
    std::vector<Unit> units;
};

const std::vector<VariableUnits>& UnitTable() {
    static const std::vector<VariableUnits> table = {
        {"latitude", {{"deg", kLatitudePerTurn / 360.0}}},
        {"longitude", {{"deg", kLongitudePerTurn / 360.0}}},
        {"ground_speed", {{"m/s", 1.0}, {"km/h", 1.0 / 3.6}, {"kt", 1852.0 / 3600.0}}},
        {"altitude", {{"m", 1.0}, {"ft", 0.3048}}},
        {"mach", {{"mach", kMachRawPerMach}}},
        {"pressure_setting", {{"mbar", 16.0}, {"hPa", 16.0}, {"mmHg", 16.0 * 1013.0 / 760.0}}},
        {"air_temperature", {{"C", 1.0}}},
        {"sim_clock", {{"s", 1.0}}},
        {"fuel", {{"gal", 1.0}}},
        {"supply_voltage", {{"V", 1.0}}},
    };
    return table;
}

}  // namespace

bool Unit::operator==(const Unit& other) const {
    return std::string_view(name) == std::string_view(other.name) && toRaw == other.toRaw;
}

std::vector<std::string> ScriptedVariableNames() {
    std::vector<std::string> names;
    for (const auto& variable : variable_names::All()) names.emplace_back(variable.name);
    names.emplace_back(kAircraftVariableName);
    return names;
}

std::optional<ScriptedVariable> FindScriptedVariable(std::string_view name) {
    if (name == kAircraftVariableName) return ScriptedVariable{std::string(name), 0, true, false};
    // By name only: a token number would make every misspelt number "known".
    for (const auto& variable : variable_names::All())
        if (name == variable.name)
            return ScriptedVariable{variable.name, variable.token, false, variable.integerDigits};
    return std::nullopt;
}

std::vector<Unit> UnitsOf(std::string_view variableName) {
    std::vector<Unit> units{{"raw", 1.0}};
    for (const auto& entry : UnitTable())
        if (entry.variable == variableName) units.insert(units.end(), entry.units.begin(), entry.units.end());
    return units;
}

std::optional<Unit> FindUnit(std::string_view variableName, std::string_view unitName) {
    for (const Unit& unit : UnitsOf(variableName))
        if (unitName == unit.name) return unit;
    return std::nullopt;
}

std::optional<unsigned> ParseTransponderDigits(std::string_view text) {
    if (text.size() != 4) return std::nullopt;
    unsigned digits = 0;
    for (char c : text) {
        if (c < '0' || c > '7') return std::nullopt;
        digits = digits * 16 + static_cast<unsigned>(c - '0');
    }
    return digits;
}

std::string FormatTransponderDigits(unsigned digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", digits & 0xFFFFu);
    return text;
}

void SetRaw(Simulator& simulator, const ScriptedVariable& variable, double raw) {
    if (variable.aircraft)
        simulator.SetAircraftVariable(kAircraftVariable, kAircraftUnit, kAircraftIndex, raw);
    else
        simulator.SetVariable(variable.token, raw);
}

void SetDigits(Simulator& simulator, const ScriptedVariable& variable, unsigned digits) {
    simulator.SetIntegerVariable(variable.token, digits);
}

double RawValue(const Simulator& simulator, const ScriptedVariable& variable) {
    if (variable.aircraft) return simulator.AircraftVariable(kAircraftVariable, kAircraftUnit, kAircraftIndex);
    if (variable.digits) return static_cast<double>(simulator.IntegerVariable(variable.token));
    return simulator.Variable(variable.token);
}

}  // namespace scenario
