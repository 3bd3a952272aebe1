// Names under which a person sets the simulator variables that the module
// looks up, and how each is given (a number, or transponder digits).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace variable_names {

struct Variable {
    int token;
    const char* name;
    const char* meaning;
    bool integerDigits;  // set as four code digits into a 32-bit integer
};

const std::vector<Variable>& All();
// By name or by token number; nothing when neither matches.
std::optional<Variable> Find(std::string_view nameOrToken);
std::string NameOf(int token);

}  // namespace variable_names
