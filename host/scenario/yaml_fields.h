// The values of one YAML scenario file, each read with its line: names,
// numbers and flags, with every fault noted (file, line, what) and the reading
// going on, so that one run of the checker names them all.
#pragma once

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <initializer_list>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/scenario.h"

namespace scenario {

std::string Join(const std::vector<std::string>& names);

enum class NumberText { kNumber, kNotANumber, kOutOfRange };
// A decimal number as YAML writes it, its infinities and not-a-number included.
NumberText ParseDouble(std::string_view text, double& value);

// Reads the nodes of one file.
class Reader {
public:
    Reader(std::string file, std::vector<Problem>& problems) : file_(std::move(file)), problems_(problems) {}

    Location At(const YAML::Node& node, const Location& fallback = {}) const {
        const YAML::Mark mark = node.Mark();
        if (mark.line < 0) return fallback.file.empty() ? Location{file_, 0} : fallback;
        return {file_, mark.line + 1};
    }
    void Fail(const Location& where, std::string what) { problems_.push_back({where, std::move(what)}); }
    void Fail(const YAML::Node& node, std::string what) { Fail(At(node), std::move(what)); }

    // Reports keys that are not among those allowed and keys given twice.
    bool IsMapWithKeys(const YAML::Node& node, const std::string& context, std::initializer_list<const char*> allowed) {
        if (!node.IsMap()) {
            Fail(node, context + " must be a mapping of keys to values");
            return false;
        }
        std::set<std::string> seen;
        bool ok = true;
        for (const auto& entry : node) {
            const std::string key = entry.first.Scalar();
            if (!entry.first.IsScalar()) {
                Fail(entry.first, "the keys of " + context + " must be plain names");
                ok = false;
            } else if (std::none_of(allowed.begin(), allowed.end(), [&](const char* name) { return key == name; })) {
                std::vector<std::string> names(allowed.begin(), allowed.end());
                Fail(entry.first, "unknown key \"" + key + "\" in " + context + " (known: " + Join(names) + ")");
                ok = false;
            } else if (!seen.insert(key).second) {
                Fail(entry.first, "\"" + key + "\" is given twice in " + context);
                ok = false;
            }
        }
        return ok;
    }

    bool Scalar(const YAML::Node& node, const std::string& what, std::string& text) {
        if (!node.IsDefined() || node.IsNull()) {
            Fail(node, what + " is missing");
            return false;
        }
        if (!node.IsScalar()) {
            Fail(node, what + " must be a single value, not a " + (node.IsMap() ? "mapping" : "list"));
            return false;
        }
        text = node.Scalar();
        return true;
    }
    bool Real(const YAML::Node& node, const std::string& what, double& value) {
        std::string text;
        if (!Scalar(node, what, text)) return false;
        switch (ParseDouble(text, value)) {
            case NumberText::kNumber:
                return true;
            case NumberText::kNotANumber:
                Fail(node, what + " must be a number, got \"" + text + "\"");
                return false;
            case NumberText::kOutOfRange:
                Fail(node, what + " is beyond the range of numbers, got " + text);
                return false;
        }
        return false;
    }
    bool FiniteReal(const YAML::Node& node, const std::string& what, double& value, double lowest) {
        if (!Real(node, what, value)) return false;
        if (!std::isfinite(value) || value < lowest) {
            Fail(node, what + " must be a finite number not below " + FormatNumber(lowest) + ", got " + FormatNumber(value));
            return false;
        }
        return true;
    }
    bool Time(const YAML::Node& node, double& time) { return FiniteReal(node, "a time in seconds", time, 0.0); }
    bool Integer(const YAML::Node& node, const std::string& what, long long lowest, long long highest,
                 long long& value) {
        std::string text;
        if (!Scalar(node, what, text)) return false;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, value);
        if (text.empty() || stop != end) {
            Fail(node, what + " must be a whole number, got \"" + text + "\"");
            return false;
        }
        // Digits beyond the range of long long leave the value unset: out of range too.
        if (error != std::errc() || value < lowest || value > highest) {
            Fail(node, what + " must lie between " + std::to_string(lowest) + " and " + std::to_string(highest) +
                           ", got " + text);
            return false;
        }
        return true;
    }
    bool Int(const YAML::Node& node, const std::string& what, int lowest, int highest, int& value) {
        long long wide = 0;
        if (!Integer(node, what, lowest, highest, wide)) return false;
        value = static_cast<int>(wide);
        return true;
    }
    bool Bool(const YAML::Node& node, const std::string& what, bool& value) {
        std::string text;
        if (!Scalar(node, what, text)) return false;
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
        if (text == "true" || text == "yes" || text == "on") {
            value = true;
        } else if (text == "false" || text == "no" || text == "off") {
            value = false;
        } else {
            Fail(node, what + " must be true or false, got \"" + text + "\"");
            return false;
        }
        return true;
    }
    bool Name(const YAML::Node& node, const std::string& what, std::string& text) {
        if (!Scalar(node, what, text)) return false;
        if (text.empty()) {
            Fail(node, what + " must not be empty");
            return false;
        }
        return true;
    }
    // A [time, value] pair.
    bool Pair(const YAML::Node& node, const std::string& what, YAML::Node& time, YAML::Node& value) {
        if (!node.IsSequence() || node.size() != 2) {
            Fail(node, what + " must be a pair [time, value]");
            return false;
        }
        time = node[0];
        value = node[1];
        return true;
    }

    bool Required(const YAML::Node& node, const char* key, const std::string& context) {
        if (node[key]) return true;
        Fail(node, context + " needs \"" + key + "\"");
        return false;
    }
    // Keys that belong to another kind of entry than the one this is.
    bool Only(const YAML::Node& node, const std::string& context, std::initializer_list<const char*> allowed) {
        for (const auto& entry : node) {
            const std::string key = entry.first.Scalar();
            if (std::none_of(allowed.begin(), allowed.end(), [&](const char* name) { return key == name; })) {
                Fail(entry.first, "\"" + key + "\" does not belong in " + context);
                return false;
            }
        }
        return true;
    }
    template <typename Each>
    void ForEach(const YAML::Node& list, const std::string& section, Each each) {
        if (!list.IsSequence()) {
            Fail(list, section + " must be a list (entries starting with \"- \")");
            return;
        }
        for (const auto& node : list) each(node);
    }

    const std::string& file() const { return file_; }

private:
    std::string file_;
    std::vector<Problem>& problems_;
};


}  // namespace scenario
