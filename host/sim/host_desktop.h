// The host's answers to what the module asks of the operating system's
// desktop on Linux: the simulator's main window, message boxes (logged and
// shown on standard error by the module itself), and the resources of the
// running executable. Published to the module from the host executable (see
// platform/host_services.h); on Windows the module asks Windows instead.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class HostDesktop {
public:
    struct Message {
        std::string text;
        std::string caption;
        std::uint32_t style;
    };

    static HostDesktop& Instance();

    // Whether a window of the simulator's main-window class "exists".
    bool mainWindowPresent = true;
    // Button every message box answers with (1 is OK).
    int messageBoxAnswer = 1;
    // The OpenAL context the module is to play into (see SoundCapture); null:
    // the module opens the default output.
    void* audioContext = nullptr;

    const std::vector<Message>& messages() const { return messages_; }
    void ClearMessages() { messages_.clear(); }

    void AddResource(const std::string& name, const std::string& type, std::vector<std::uint8_t> bytes);
    void ClearResources() { resources_.clear(); }

    // The entries of the published services record.
    static bool LoadResource(const char* name, const char* type, const void** data, std::size_t* bytes);
    static int ShowMessageBox(const char* text, const char* caption, std::uint32_t style);
    static void* FindWindow(const char* className);
    static void* AudioContext();

    // Makes sure the published record is linked into the executable.
    static const void* PublishedServices();

private:
    std::vector<Message> messages_;
    std::map<std::pair<std::string, std::string>, std::vector<std::uint8_t>> resources_;
};
