// Just enough JSON for the panel's answers: strings quoted and escaped, numbers
// that JSON can hold.
#pragma once

#include <string>
#include <string_view>

namespace web {

std::string JsonString(std::string_view text);
// NaN and infinities, which JSON cannot hold, become null.
std::string JsonNumber(double value);
std::string JsonError(std::string_view message);

}  // namespace web
