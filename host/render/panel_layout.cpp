#include "render/panel_layout.h"

#include <ini.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string_view>

#include "render/surface.h"

namespace render {
namespace {

constexpr std::string_view kWindowPrefix = "window";
constexpr std::string_view kGaugePrefix = "gauge";
constexpr std::string_view kTitlesSection = "window titles";
constexpr std::size_t kMostDigits = 6;
constexpr int kLargestColour = 255;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        fields.push_back(Trim(text.substr(start, comma == std::string_view::npos ? comma : comma - start)));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& number) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool ParseInRange(std::string_view text, int lowest, int highest, int& number) {
    return ParseNumber(text, number) && number >= lowest && number <= highest;
}

// The number after a prefix ("window07" gives 7), when nothing but digits follows it.
std::optional<int> NumberAfter(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.size() > prefix.size() + kMostDigits || !name.starts_with(prefix))
        return std::nullopt;
    const std::string_view digits = name.substr(prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    int number = 0;
    if (!ParseNumber(digits, number)) return std::nullopt;
    return number;
}

// Hands inih one line at a time, counting them, so that every key is known by its line. Leading blanks are dropped
// (inih would take an indented line for the continuation of the key before it), and so are the "//" comment lines
// panel files often carry.
struct LineReader {
    std::string_view text;
    std::size_t position = 0;
    int line = 0;
    std::optional<int> overlongLine;
    std::size_t longestLine = 0;
    std::optional<int> nulLine;

    static char* Next(char* buffer, int size, void* stream) {
        auto& reader = *static_cast<LineReader*>(stream);
        if (reader.position >= reader.text.size() || size < 3) return nullptr;
        const std::size_t end = reader.text.find('\n', reader.position);
        std::string_view line = reader.text.substr(
            reader.position, end == std::string_view::npos ? std::string_view::npos : end - reader.position);
        reader.position = end == std::string_view::npos ? reader.text.size() : end + 1;
        ++reader.line;

        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        if (line.starts_with("//")) line = {};
        if (line.find('\0') != std::string_view::npos) {
            if (!reader.nulLine) reader.nulLine = reader.line;
            line = {};
        }
        // Room for the line, its newline and the terminating zero; a longer one is refused, not split.
        reader.longestLine = static_cast<std::size_t>(size) - 2;
        if (line.size() > reader.longestLine) {
            if (!reader.overlongLine) reader.overlongLine = reader.line;
            line = {};
        }
        line.copy(buffer, line.size());
        buffer[line.size()] = '\n';
        buffer[line.size() + 1] = '\0';
        return buffer;
    }
};

struct WindowState {
    PanelWindow window;
    std::string section;  // as first written, for messages
    std::set<std::string> keys;
    int identLine = 0;
};

class Parser {
public:
    explicit Parser(std::string_view text) { reader_.text = text; }

    // The first fault by line, or nothing.
    std::optional<std::pair<int, std::string>> Run(PanelLayout& layout) {
        const int syntaxLine = ini_parse_stream(&LineReader::Next, &reader_, &Parser::Handle, this);
        if (syntaxLine > 0) Fail(syntaxLine, "expected [section], name=value or a comment");
        if (syntaxLine < 0) Fail(0, "cannot be parsed (out of memory)");
        if (reader_.overlongLine)
            Fail(*reader_.overlongLine, "line longer than " + std::to_string(reader_.longestLine) + " characters");
        if (reader_.nulLine) Fail(*reader_.nulLine, "line holds a NUL character");
        Finish(layout);
        if (faults_.empty()) return std::nullopt;
        return *faults_.begin();
    }

private:
    static int Handle(void* user, const char* section, const char* name, const char* value) {
        static_cast<Parser*>(user)->Entry(Trim(section), Lower(Trim(name)), Trim(value));
        // Faults are gathered with their lines here; inih's own count only its syntax errors.
        return 1;
    }

    void Fail(int line, std::string message) { faults_.emplace(line, std::move(message)); }

    void Entry(std::string_view writtenSection, const std::string& name, std::string_view value) {
        const int line = reader_.line;
        const std::string section = Lower(writtenSection);
        if (section == kTitlesSection) {
            if (auto number = NumberAfter(name, kWindowPrefix)) titles_[*number] = std::string(value);
            return;
        }
        const auto number = NumberAfter(section, kWindowPrefix);
        if (!number) return;
        WindowState& state = windows_[*number];
        PanelWindow& window = state.window;
        if (window.line == 0) {
            window.line = line;
            window.number = *number;
            state.section = "[" + std::string(writtenSection) + "]";
        }
        const std::string where = state.section + " " + name;
        if (!state.keys.insert(name).second) return Fail(line, where + " is given twice");

        if (name == "ident") {
            if (!ParseNumber(value, window.ident)) return Fail(line, where + ": expected a window number");
            state.identLine = line;
        } else if (name == "size_mm") {
            const auto fields = SplitFields(value);
            int width = 0, height = 0;
            if (fields.size() != 2 || !ParseInRange(fields[0], 1, kLargestSide, width) ||
                !ParseInRange(fields[1], 1, kLargestSide, height))
                return Fail(line, where + ": expected width,height from 1 to " + std::to_string(kLargestSide));
            window.width = width;
            window.height = height;
        } else if (name == "visible") {
            if (value != "0" && value != "1") return Fail(line, where + ": expected 0 or 1");
            window.visible = value == "1";
        } else if (name == "background_color") {
            const auto fields = SplitFields(value);
            int rgb[3] = {};
            if (fields.size() != 3 || !ParseInRange(fields[0], 0, kLargestColour, rgb[0]) ||
                !ParseInRange(fields[1], 0, kLargestColour, rgb[1]) ||
                !ParseInRange(fields[2], 0, kLargestColour, rgb[2]))
                return Fail(line, where + ": expected red,green,blue from 0 to 255");
            window.backgroundRgb = static_cast<std::uint32_t>(rgb[0] << 16 | rgb[1] << 8 | rgb[2]);
        } else if (NumberAfter(name, kGaugePrefix)) {
            GaugePlacement placement;
            if (std::string problem = ParsePlacement(value, placement); !problem.empty())
                return Fail(line, where + ": " + problem);
            placement.line = line;
            window.gauges.push_back(std::move(placement));
        }
    }

    // module!gauge, x, y, width, height
    static constexpr std::size_t kFieldsBeforeParameters = 5;

    static std::string ParsePlacement(std::string_view value, GaugePlacement& placement) {
        auto fields = SplitFields(value);
        if (fields.size() < 3) return "expected module!gauge, x, y[, width[, height[, parameters]]]";
        if (fields.size() > kFieldsBeforeParameters) {
            // The parameter string is the rest of the line, commas and all.
            std::size_t start = 0;
            for (std::size_t i = 0; i < kFieldsBeforeParameters; ++i) start = value.find(',', start) + 1;
            placement.parameters = std::string(Trim(value.substr(start)));
            fields.resize(kFieldsBeforeParameters);
        }
        const std::size_t bang = fields[0].find('!');
        if (bang == std::string_view::npos || bang == 0 || bang + 1 == fields[0].size())
            return "expected module!gauge before the position, found \"" + std::string(fields[0]) + "\"";
        placement.module = std::string(Trim(fields[0].substr(0, bang)));
        placement.gauge = std::string(Trim(fields[0].substr(bang + 1)));
        if (!ParseInRange(fields[1], -kLargestSide, kLargestSide, placement.x) ||
            !ParseInRange(fields[2], -kLargestSide, kLargestSide, placement.y))
            return "expected whole numbers for x and y";
        int size = 0;
        if (fields.size() >= 4) {
            if (!ParseInRange(fields[3], 1, kLargestSide, size))
                return "expected a width from 1 to " + std::to_string(kLargestSide);
            placement.width = size;
        }
        if (fields.size() == kFieldsBeforeParameters) {
            if (!ParseInRange(fields[4], 1, kLargestSide, size))
                return "expected a height from 1 to " + std::to_string(kLargestSide);
            placement.height = size;
        }
        return std::string();
    }

    void Finish(PanelLayout& layout) {
        layout.windows.clear();
        if (windows_.empty()) Fail(0, "has no [WindowNN] section");
        std::map<std::uint32_t, std::string> identOwners;
        for (auto& [number, state] : windows_) {
            if (state.identLine == 0) {
                Fail(state.window.line, state.section + " has no ident");
            } else if (auto [owner, fresh] = identOwners.emplace(state.window.ident, state.section); !fresh) {
                Fail(state.identLine, state.section + " ident " + std::to_string(state.window.ident) +
                                          " is already that of " + owner->second);
            }
            if (auto title = titles_.find(number); title != titles_.end()) state.window.title = title->second;
            layout.windows.push_back(std::move(state.window));
        }
    }

    LineReader reader_;
    std::map<int, WindowState> windows_;
    std::map<int, std::string> titles_;
    std::multimap<int, std::string> faults_;  // by line; 0 for the file as a whole
};

}  // namespace

const PanelWindow* PanelLayout::FindByIdent(std::uint32_t ident) const {
    for (const PanelWindow& window : windows)
        if (window.ident == ident) return &window;
    return nullptr;
}

std::string ParsePanelLayout(const std::string& text, const std::string& sourceName, PanelLayout& layout) {
    layout.source = sourceName;
    Parser parser(text);
    const auto fault = parser.Run(layout);
    if (!fault) return std::string();
    if (fault->first == 0) return sourceName + ": " + fault->second;
    return sourceName + ":" + std::to_string(fault->first) + ": " + fault->second;
}

std::string ReadPanelLayout(const std::string& path, PanelLayout& layout) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return path + ": cannot be read";
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) return path + ": cannot be read";
    return ParsePanelLayout(text.str(), path, layout);
}

std::vector<std::uint32_t> InitiallyVisibleIdents(const PanelLayout& layout) {
    std::vector<std::uint32_t> idents;
    for (const PanelWindow& window : layout.windows)
        if (window.visible) idents.push_back(window.ident);
    return idents;
}

}  // namespace render
