// A one-line progress bar over simulator time, redrawn in place. Drawn only
// when asked to (the program decides: a terminal on standard error), and at
// most a few times a second so that fast runs are not slowed by it.
#pragma once

#include <chrono>
#include <ostream>

class ProgressBar {
public:
    ProgressBar(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}
    ~ProgressBar() { Finish(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void Show(double seconds, double totalSeconds);
    // Clears the line, so that what is printed next starts on a clean one.
    void Finish();

private:
    static constexpr int kWidth = 32;
    static constexpr std::chrono::milliseconds kRedrawPeriod{100};

    void Draw(double seconds, double totalSeconds);

    std::ostream& out_;
    bool enabled_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point lastDraw_{};
};
