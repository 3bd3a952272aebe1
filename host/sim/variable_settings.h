// Simulator variable and sibling slot values as a person writes them:
// "name = value" on the command line or one per line in a file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class Simulator;

struct VariableSetting {
    int token = 0;
    double value = 0.0;
    bool integerDigits = false;
    unsigned digits = 0;  // the code as written, read as hexadecimal digits
};

struct SlotSetting {
    int slot = 0;
    double value = 0.0;
};

// Each returns an empty string on success, else a message naming the fault.
std::string ParseVariableSetting(std::string_view text, VariableSetting& setting);
std::string ParseSlotSetting(std::string_view text, SlotSetting& setting);
// Lines of "name = value"; blank lines and lines starting with # or ; are
// skipped. Errors name the file and line.
std::string ReadVariableFile(const std::string& path, std::vector<VariableSetting>& settings);

void Apply(const VariableSetting& setting, Simulator& simulator);
