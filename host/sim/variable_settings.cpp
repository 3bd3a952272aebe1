#include "sim/variable_settings.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <optional>

#include "sim/simulator.h"
#include "sim/variable_catalogue.h"
#include "state/shared_slots.h"

namespace {

// Joins the parts of a message (GCC 12 warns falsely on chains of +).
std::string Message(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text.append(part);
    return text;
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool SplitAssignment(std::string_view text, std::string_view& name, std::string_view& value) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return false;
    name = Trim(text.substr(0, equals));
    value = Trim(text.substr(equals + 1));
    return !name.empty() && !value.empty();
}

// A decimal number as strtod reads it, "nan" and "inf" included, since the
// module must cope with whatever the simulator hands it.
bool ParseNumber(std::string_view text, double& value) {
    const std::string copy(text);
    char* end = nullptr;
    value = std::strtod(copy.c_str(), &end);
    return end != copy.c_str() && *end == '\0';
}

// A variable by its catalogue name, or any by its token number (which the
// catalogue may not know).
std::optional<VariableSetting> Variable(std::string_view nameOrToken, std::string& name) {
    int token = 0;
    const char* end = nameOrToken.data() + nameOrToken.size();
    const bool numeric = !nameOrToken.empty() && std::from_chars(nameOrToken.data(), end, token).ptr == end;
    const variables::Variable* variable = numeric ? variables::FindToken(token) : variables::Find(nameOrToken);
    if (variable != nullptr && variable->access == variables::Access::kAircraft) variable = nullptr;
    if (variable == nullptr && !numeric) return std::nullopt;
    VariableSetting setting;
    setting.token = variable != nullptr ? variable->token : token;
    setting.integerDigits = variable != nullptr && variable->digits();
    name = variable != nullptr ? variable->name : "";
    return setting;
}

}  // namespace

std::string ParseVariableSetting(std::string_view text, VariableSetting& setting) {
    std::string_view name, value;
    if (!SplitAssignment(text, name, value)) return Message({"expected NAME=VALUE, got \"", text, "\""});
    std::string known;
    const auto variable = Variable(name, known);
    if (!variable) return Message({"unknown simulator variable \"", name, "\" (see --list-variables)"});
    setting = *variable;
    if (setting.integerDigits) {
        const auto digits = variables::ParseTransponderDigits(value);
        if (!digits) return Message({known, " takes four digits 0 to 7, got \"", value, "\""});
        setting.digits = *digits;
        return std::string();
    }
    if (!ParseNumber(value, setting.value)) return Message({"\"", value, "\" is not a number (for ", name, ")"});
    return std::string();
}

std::string ParseSlotSetting(std::string_view text, SlotSetting& setting) {
    std::string_view slot, value;
    if (!SplitAssignment(text, slot, value)) return Message({"expected SLOT=VALUE, got \"", text, "\""});
    const char* end = slot.data() + slot.size();
    if (std::from_chars(slot.data(), end, setting.slot).ptr != end || setting.slot < 0 || setting.slot >= shared_slot::kCount)
        return Message({"shared slot numbers run from 0 to 115, got \"", slot, "\""});
    if (!ParseNumber(value, setting.value)) return Message({"\"", value, "\" is not a number"});
    return std::string();
}

std::string ReadVariableFile(const std::string& path, std::vector<VariableSetting>& settings) {
    std::ifstream file(path);
    if (!file) return Message({"cannot open the variable file ", path});
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        const std::string_view text = Trim(line);
        if (text.empty() || text.front() == '#' || text.front() == ';') continue;
        VariableSetting setting;
        if (std::string error = ParseVariableSetting(text, setting); !error.empty())
            return Message({path, ":", std::to_string(number), ": ", error});
        settings.push_back(setting);
    }
    return std::string();
}

void Apply(const VariableSetting& setting, Simulator& simulator) {
    if (setting.integerDigits)
        simulator.SetIntegerVariable(setting.token, setting.digits);
    else
        simulator.SetVariable(setting.token, setting.value);
}
