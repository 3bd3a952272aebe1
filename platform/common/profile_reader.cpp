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

// A digit of any base up to 36; a value no base has for anything else.
std::uint32_t DigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0');
    if (c >= 'a' && c <= 'z') return static_cast<std::uint32_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'Z') return static_cast<std::uint32_t>(c - 'A' + 10);
    return 36;
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
        // A section's name runs to the last ']' of its line; a line with no
        // ']' at all is no header but an ordinary line of the section.
        if (const auto close = line.rfind(']'); line.front() == '[' && close != std::string_view::npos) {
            const std::string_view name = Trim(line.substr(1, close - 1));
            if (where == Where::InSection)
                where = Where::PastSection;
            else if (SameName(name, section))
                where = Where::InSection;
            continue;
        }
        if (where != Where::InSection) continue;
        // A line without '=' is a key with no value; the first line of a key
        // counts, so it hides a later one with a value.
        const auto equals = line.find('=');
        if (!SameName(Trim(line.substr(0, equals)), key)) continue;
        if (equals == std::string_view::npos) return std::string();
        return std::string(StripQuotes(Trim(line.substr(equals + 1))));
    }
    return std::nullopt;
}

int ParseProfileInt(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ') ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
    std::uint32_t base = 10;
    if (i + 1 < value.size() && value[i] == '0') {
        switch (value[i + 1]) {
            case 'x': base = 16; break;
            case 'o': base = 8; break;
            case 'b': base = 2; break;
            default: break;
        }
        if (base != 10) i += 2;
    }
    std::uint32_t magnitude = 0;
    for (; i < value.size(); ++i) {
        const std::uint32_t digit = DigitValue(value[i]);
        if (digit >= base) break;
        magnitude = magnitude * base + digit;
    }
    if (negative) magnitude = 0u - magnitude;
    return static_cast<int>(magnitude);  // modular since C++20
}

int ProfileIntFromText(std::string_view text, std::string_view section, std::string_view key, int defaultValue) {
    const auto value = FindProfileValue(text, section, key);
    if (!value || value->empty()) return defaultValue;
    // Windows reads the value into a buffer of 30 characters first: only the
    // first 29 count.
    constexpr std::size_t kCharactersRead = 29;
    return ParseProfileInt(std::string_view(*value).substr(0, kCharactersRead));
}

}  // namespace platform
