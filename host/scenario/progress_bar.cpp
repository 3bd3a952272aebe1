#include "scenario/progress_bar.h"

#include <algorithm>
#include <cstdio>
#include <string>

void ProgressBar::Show(double seconds, double totalSeconds) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    const bool done = seconds >= totalSeconds;
    if (drawn_ && !done && now - lastDraw_ < kRedrawPeriod) return;
    lastDraw_ = now;
    Draw(seconds, totalSeconds);
}

void ProgressBar::Draw(double seconds, double totalSeconds) {
    const double fraction = totalSeconds > 0.0 ? std::clamp(seconds / totalSeconds, 0.0, 1.0) : 1.0;
    const int filled = static_cast<int>(fraction * kWidth);
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kWidth - filled), '-');
    char line[128];
    std::snprintf(line, sizeof line, "\r[%s] %3d%%  %.1f / %.1f s", bar.c_str(), static_cast<int>(fraction * 100.0),
                  seconds, totalSeconds);
    out_ << line << std::flush;
    drawn_ = true;
}

void ProgressBar::Finish() {
    if (!drawn_) return;
    out_ << "\r\033[K" << std::flush;
    drawn_ = false;
}
