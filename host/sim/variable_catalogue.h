// The simulator variables the module reads, in one catalogue: the name a
// person writes, how the simulator stand-in holds it, what it is and the
// units it may be written in. The command lines, the scenario format and its
// schema test, --list-variables and the live panel all take them from here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Simulator;

namespace variables {

struct Unit {
    const char* name;
    double toRaw;  // raw value = written value * toRaw

    // By the name's text: the same unit may come from different tables.
    bool operator==(const Unit& other) const;
};

inline constexpr Unit kRaw{"raw", 1.0};

enum class Access {
    kNumber,    // a 64-bit float looked up by token
    kDigits,    // four transponder digits in a 32-bit integer, looked up by token
    kAircraft,  // the aircraft-variable query (variable 54, unit 63, index 0)
};

struct Variable {
    const char* name;
    int token;  // the lookup token; 0 for the aircraft variable
    Access access;
    const char* meaning;  // of the raw value
    const char* label;    // what it is, for a person, in a few words
    std::vector<Unit> units;  // beside raw; the first is the one a person reads it in

    bool digits() const { return access == Access::kDigits; }
};

// Every variable, in token order, the aircraft variable last. Entries stay
// where they are: a pointer to one names the variable.
const std::vector<Variable>& All();
// By name; null when none has it.
const Variable* Find(std::string_view name);
const Variable* FindToken(int token);
// The catalogue's name of a token, or "tokenN".
std::string NameOf(int token);
std::vector<std::string> Names();

// Raw first, then the variable's own.
std::vector<Unit> UnitsOf(const Variable& variable);
std::optional<Unit> FindUnit(const Variable& variable, std::string_view unitName);
// The unit a person reads and writes the variable in: its first own unit, else raw.
Unit ReadingUnit(const Variable& variable);

// Transponder digits as written ("1200", each 0 to 7) to the integer the
// module reads (0x1200); nothing when the text is not four such digits.
std::optional<unsigned> ParseTransponderDigits(std::string_view text);
std::string FormatTransponderDigits(unsigned digits);

void SetRaw(Simulator& simulator, const Variable& variable, double raw);
void SetDigits(Simulator& simulator, const Variable& variable, unsigned digits);
// The transponder's digits as their integer.
double RawValue(const Simulator& simulator, const Variable& variable);

}  // namespace variables
