// The little the module asks of the desktop: the simulator's main window, a
// modal message box, and a pause of the calling thread.
#pragma once

#include <cstdint>

#include "platform/audio.h"

namespace platform {

inline constexpr std::uint32_t kMessageBoxIconStop = 0x10;
inline constexpr std::uint32_t kMessageBoxIconExclamation = 0x30;

// The top-level window of that class, or null.
WindowHandle FindMainWindow(const char* className);
// Shows a modal message box with no owner window; returns the button chosen.
int ShowMessageBox(const char* text, const char* caption, std::uint32_t style);
void SleepMilliseconds(std::uint32_t milliseconds);

}  // namespace platform
