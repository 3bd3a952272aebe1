#include "sim/variable_catalogue.h"

#include <cstdio>

#include "sim/simulator.h"

namespace variables {
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

}  // namespace

bool Unit::operator==(const Unit& other) const {
    return std::string_view(name) == std::string_view(other.name) && toRaw == other.toRaw;
}

const std::vector<Variable>& All() {
    static const std::vector<Variable> catalogue = {
        {"token4", 4, Access::kNumber, "panel clock change counter", "Panel clock changes", {}},
        {"transponder_code", 38, Access::kDigits, "transponder code, four digits 0-7", "Transponder code", {}},
        {"on_ground", 60, Access::kNumber, "on the ground when above 0", "On the ground", {}},
        {"speed61", 61, Access::kNumber, "speed shown by the air-data computer", "Air-data speed", {}},
        {"mach", 64, Access::kNumber, "Mach number x 65536 / 3.2", "Mach number", {{"mach", kMachRawPerMach}}},
        {"latitude", 71, Access::kNumber, "latitude, 40007000 per turn", "Latitude",
         {{"deg", kLatitudePerTurn / 360.0}}},
        {"longitude", 72, Access::kNumber, "longitude, 2^48 per turn", "Longitude",
         {{"deg", kLongitudePerTurn / 360.0}}},
        {"altitude", 73, Access::kNumber, "altitude in metres", "Altitude", {{"m", 1.0}, {"ft", 0.3048}}},
        {"brakes", 322, Access::kNumber, "brakes applied when above 0", "Brakes", {}},
        {"token333", 333, Access::kNumber, "compared with 100 by the brake model", "Brake model input", {}},
        {"air_temperature", 341, Access::kNumber, "air temperature, degrees Celsius", "Air temperature",
         {{"C", 1.0}}},
        {"pressure_setting", 342, Access::kNumber, "pressure setting, 1/16 millibar", "Pressure setting",
         {{"mbar", 16.0}, {"hPa", 16.0}, {"mmHg", 16.0 * 1013.0 / 760.0}}},
        {"fuel", 386, Access::kNumber, "fuel in gallons", "Fuel", {{"gal", 1.0}}},
        {"sim_clock", 604, Access::kNumber, "simulator clock, seconds", "Simulator clock", {{"s", 1.0}}},
        {"engine1", 625, Access::kNumber, "engine 1, runs above 50", "Engine 1", {}},
        {"engine2", 644, Access::kNumber, "engine 2, runs above 50", "Engine 2", {}},
        {"engine3", 663, Access::kNumber, "engine 3, runs above 50", "Engine 3", {}},
        {"supply_voltage", 759, Access::kNumber, "supply voltage", "Supply voltage", {{"V", 1.0}}},
        {"ground_speed", 832, Access::kNumber, "ground speed, metres per second", "Ground speed",
         {{"m/s", 1.0}, {"km/h", 1.0 / 3.6}, {"kt", 1852.0 / 3600.0}}},
        {"aircraft_var54", 0, Access::kAircraft, "roll-out measure of the landing model (aircraft variable 54)",
         "Landing roll-out", {}},
    };
    return catalogue;
}

const Variable* Find(std::string_view name) {
    for (const Variable& variable : All())
        if (name == variable.name) return &variable;
    return nullptr;
}

const Variable* FindToken(int token) {
    for (const Variable& variable : All())
        if (variable.access != Access::kAircraft && variable.token == token) return &variable;
    return nullptr;
}

std::string NameOf(int token) {
    const Variable* variable = FindToken(token);
    return variable != nullptr ? variable->name : "token" + std::to_string(token);
}

std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const Variable& variable : All()) names.emplace_back(variable.name);
    return names;
}

std::vector<Unit> UnitsOf(const Variable& variable) {
    std::vector<Unit> units{kRaw};
    units.insert(units.end(), variable.units.begin(), variable.units.end());
    return units;
}

std::optional<Unit> FindUnit(const Variable& variable, std::string_view unitName) {
    for (const Unit& unit : UnitsOf(variable))
        if (unitName == unit.name) return unit;
    return std::nullopt;
}

Unit ReadingUnit(const Variable& variable) { return variable.units.empty() ? kRaw : variable.units.front(); }

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

void SetRaw(Simulator& simulator, const Variable& variable, double raw) {
    if (variable.access == Access::kAircraft)
        simulator.SetAircraftVariable(kAircraftVariable, kAircraftUnit, kAircraftIndex, raw);
    else
        simulator.SetVariable(variable.token, raw);
}

void SetDigits(Simulator& simulator, const Variable& variable, unsigned digits) {
    simulator.SetIntegerVariable(variable.token, digits);
}

double RawValue(const Simulator& simulator, const Variable& variable) {
    switch (variable.access) {
        case Access::kAircraft:
            return simulator.AircraftVariable(kAircraftVariable, kAircraftUnit, kAircraftIndex);
        case Access::kDigits:
            return static_cast<double>(simulator.IntegerVariable(variable.token));
        case Access::kNumber:
            break;
    }
    return simulator.Variable(variable.token);
}

}  // namespace variables
