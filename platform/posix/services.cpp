// Linux services: OpenAL for sound, the host program for windows and message
// boxes (a message also goes to standard error, where a person sees it).
#include "platform/services.h"

#include <time.h>

#include <cerrno>
#include <cstdio>

#include "posix/host_lookup.h"
#include "posix/openal_audio.h"

namespace platform {
namespace {

constexpr int kButtonOk = 1;

WindowHandle FindWindowThroughHost(const char* className) {
    const AvrionHostServices* host = HostServices();
    return host != nullptr && host->findWindow != nullptr ? host->findWindow(className) : nullptr;
}

int ShowMessageThroughHost(const char* text, const char* caption, std::uint32_t style) {
    std::fprintf(stderr, "[%s] %s\n", caption != nullptr ? caption : "", text != nullptr ? text : "");
    const AvrionHostServices* host = HostServices();
    if (host != nullptr && host->showMessageBox != nullptr) return host->showMessageBox(text, caption, style);
    return kButtonOk;
}

void Sleep(std::uint32_t milliseconds) {
    timespec pause{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
    }
}

}  // namespace

Services& CurrentServices() {
    static Services services{openal::CreateDevice, FindWindowThroughHost, ShowMessageThroughHost, Sleep};
    return services;
}

}  // namespace platform
