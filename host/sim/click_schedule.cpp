#include "sim/click_schedule.h"

#include <charconv>

#include "loader/module_host.h"
#include "sim/gauge_access.h"

namespace {

bool ParseInt(std::string_view text, int& value) {
    const char* end = text.data() + text.size();
    return !text.empty() && std::from_chars(text.data(), end, value).ptr == end;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

std::string ParseClick(std::string_view text, ScheduledClick& click) {
    const std::string usage = "a click is FRAME:GAUGE:AREA[:left|right|hold=FRAMES], got \"" + std::string(text) + "\"";
    const auto parts = Split(text, ':');
    if (parts.size() < 3 || parts.size() > 4) return usage;
    if (!ParseInt(parts[0], click.frame) || click.frame < 0) return usage;
    click.gauge = std::string(parts[1]);
    if (!ParseInt(parts[2], click.area) || click.area < 1) return usage;
    click.flags = mouse_flag::kLeftSingle;
    if (parts.size() == 4) {
        const std::string_view kind = parts[3];
        if (kind == "right")
            click.flags = mouse_flag::kRightSingle;
        else if (kind.substr(0, 5) == "hold=") {
            if (!ParseInt(kind.substr(5), click.holdFrames) || click.holdFrames < 1) return usage;
        } else if (kind != "left")
            return usage;
    }
    return std::string();
}

std::vector<std::string> ClickSchedule::BeforeFrame(int frame, const ModuleHost& host) {
    std::vector<std::string> problems;
    for (const ScheduledClick& click : clicks_) {
        const bool pressed = frame == click.frame;
        const bool released = click.holdFrames > 0 && frame == click.frame + click.holdFrames;
        if (!pressed && !released) continue;
        if (released) {
            pointer_.Release();
            continue;
        }
        const GAUGEHDR* gauge = host.FindGauge(click.gauge);
        const auto areas = gauge_access::ChildAreas(gauge);
        if (gauge == nullptr || click.area > static_cast<int>(areas.size())) {
            problems.push_back("no mouse area " + std::to_string(click.area) + " on gauge " + click.gauge);
            continue;
        }
        const auto& box = areas[click.area - 1];
        const Pointer::Target target{gauge, box.x + box.width / 2, box.y + box.height / 2};
        if (click.holdFrames > 0)
            pointer_.Press(target);
        else
            pointer_.Click(target, click.flags);
    }
    pointer_.BeforeFrame();
    return problems;
}
