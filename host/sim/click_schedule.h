// Clicks given on the command line, delivered at given frames:
// FRAME:GAUGE:AREA[:left|right|hold=FRAMES].
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ModuleHost;

struct ScheduledClick {
    int frame = 0;
    std::string gauge;
    int area = 1;  // child area, 1 the first in the gauge's list
    std::uint32_t flags = 0;
    int holdFrames = 0;  // a press held down, then released
};

// Empty on success, else what is wrong.
std::string ParseClick(std::string_view text, ScheduledClick& click);

class ClickSchedule {
public:
    void Add(const ScheduledClick& click) { clicks_.push_back(click); }
    // Delivers whatever is due at this frame (presses, their repeats and
    // releases). Returns messages for clicks that could not be delivered.
    std::vector<std::string> Deliver(int frame, ModuleHost& host) const;
    bool empty() const { return clicks_.empty(); }

private:
    std::vector<ScheduledClick> clicks_;
};
