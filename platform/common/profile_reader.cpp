#include "common/profile_reader.h"

#include <cstdint>

namespace platform {
namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string_view StripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section, std::string_view key) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
    section = Trim(section);
    key = Trim(key);

    enum class Where { BeforeSection, InSection, PastSection } where = Where::BeforeSection;
    while (!text.empty() && where != Where::PastSection) {
        const auto end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            const std::string_view name = Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            if (where == Where::InSection)
                where = Where::PastSection;
            else if (SameName(name, section))
                where = Where::InSection;
            continue;
        }
        if (where != Where::InSection) continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        if (SameName(Trim(line.substr(0, equals)), key)) return std::string(StripQuotes(Trim(line.substr(equals + 1))));
    }
    return std::nullopt;
}

int ParseProfileInt(std::string_view value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
    std::uint32_t magnitude = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
        magnitude = magnitude * 10u + static_cast<std::uint32_t>(value[i] - '0');
    if (negative) magnitude = 0u - magnitude;
    return static_cast<int>(magnitude);  // modular since C++20
}

int ProfileIntFromText(std::string_view text, std::string_view section, std::string_view key, int defaultValue) {
    const auto value = FindProfileValue(text, section, key);
    if (!value || value->empty()) return defaultValue;
    return ParseProfileInt(*value);
}

}  // namespace platform
