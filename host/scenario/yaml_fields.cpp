#include "scenario/yaml_fields.h"

#include <cmath>

namespace scenario {

std::string Join(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

namespace {

bool IsYamlInfinity(std::string_view text) {
    return text == ".inf" || text == ".Inf" || text == ".INF" || text == "+.inf" || text == "+.Inf" || text == "+.INF";
}

}  // namespace

NumberText ParseDouble(std::string_view text, double& value) {
    if (IsYamlInfinity(text)) {
        value = INFINITY;
        return NumberText::kNumber;
    }
    if (text == "-.inf" || text == "-.Inf" || text == "-.INF") {
        value = -INFINITY;
        return NumberText::kNumber;
    }
    if (text == ".nan" || text == ".NaN" || text == ".NAN") {
        value = NAN;
        return NumberText::kNumber;
    }
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || stop != end) return NumberText::kNotANumber;
    return error == std::errc() ? NumberText::kNumber : NumberText::kOutOfRange;
}

}  // namespace scenario
