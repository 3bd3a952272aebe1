// Windows services: DirectSound 8, and the desktop's own windows and boxes.
#include "platform/services.h"

#include <windows.h>

#include "win32/directsound_audio.h"

namespace platform {
namespace {

WindowHandle FindTopLevelWindow(const char* className) { return FindWindowA(className, nullptr); }

int ShowModalMessageBox(const char* text, const char* caption, std::uint32_t style) {
    return MessageBoxA(nullptr, text, caption, style);
}

void SleepFor(std::uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace

Services& CurrentServices() {
    static Services services{directsound::CreateDevice, FindTopLevelWindow, ShowModalMessageBox, SleepFor};
    return services;
}

}  // namespace platform
