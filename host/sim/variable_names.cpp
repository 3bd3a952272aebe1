#include "sim/variable_names.h"

#include <charconv>

namespace variable_names {

const std::vector<Variable>& All() {
    static const std::vector<Variable> variables = {
        {4, "token4", "panel clock change counter", false},
        {38, "transponder_code", "transponder code, four digits 0-7", true},
        {60, "on_ground", "on the ground when above 0", false},
        {61, "speed61", "speed shown by the air-data computer", false},
        {64, "mach", "Mach number x 65536 / 3.2", false},
        {71, "latitude", "latitude, 40007000 per turn", false},
        {72, "longitude", "longitude, 2^48 per turn", false},
        {73, "altitude", "altitude in metres", false},
        {322, "brakes", "brakes applied when above 0", false},
        {333, "token333", "compared with 100 by the brake model", false},
        {341, "air_temperature", "air temperature, degrees Celsius", false},
        {342, "pressure_setting", "pressure setting, 1/16 millibar", false},
        {386, "fuel", "fuel in gallons", false},
        {604, "sim_clock", "simulator clock, seconds", false},
        {625, "engine1", "engine 1, runs above 50", false},
        {644, "engine2", "engine 2, runs above 50", false},
        {663, "engine3", "engine 3, runs above 50", false},
        {759, "supply_voltage", "supply voltage", false},
        {832, "ground_speed", "ground speed, metres per second", false},
    };
    return variables;
}

std::optional<Variable> Find(std::string_view nameOrToken) {
    int token = 0;
    const char* end = nameOrToken.data() + nameOrToken.size();
    const bool numeric = !nameOrToken.empty() && std::from_chars(nameOrToken.data(), end, token).ptr == end;
    for (const Variable& variable : All())
        if (numeric ? variable.token == token : nameOrToken == variable.name) return variable;
    if (numeric) return Variable{token, "", "", false};
    return std::nullopt;
}

std::string NameOf(int token) {
    for (const Variable& variable : All())
        if (variable.token == token) return variable.name;
    return "token" + std::to_string(token);
}

}  // namespace variable_names
