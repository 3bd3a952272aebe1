// Clicks given on the command line, delivered at given frames through the
// pointer: FRAME:GAUGE:AREA[:left|right|hold=FRAMES].
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/pointer.h"

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
    // Before a frame: whatever is due (clicks, presses and releases), then
    // the held button's repeat. Returns messages for clicks that could not be
    // delivered.
    std::vector<std::string> BeforeFrame(int frame, const ModuleHost& host);
    bool empty() const { return clicks_.empty(); }

private:
    std::vector<ScheduledClick> clicks_;
    Pointer pointer_;
};
