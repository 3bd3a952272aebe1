// A stand-in for the platform's audio device and desktop, for tests. While a
// FakePlatform lives it answers every platform service, records each call,
// and can be told to fail: no device, a refused buffer, a lost buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/services.h"

namespace platform::fake {

struct FakeBufferState {
    std::uint32_t flags = 0;
    WaveFormat format{};
    std::vector<std::uint8_t> bytes;
    std::int32_t volume = 0;
    std::uint32_t position = 0;
    std::uint32_t frequency = 0;
    std::int32_t pan = 0;
    bool playing = false;
    bool looping = false;
    bool locked = false;
    bool released = false;
    int volumeCalls = 0;
    int playCalls = 0;
};

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    std::uint32_t style;
};

class FakePlatform {
public:
    FakePlatform();
    ~FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // What the fake answers.
    audio::Result createDeviceResult = result_code::kOk;
    audio::Result cooperativeLevelResult = result_code::kOk;
    audio::Result createBufferResult = result_code::kOk;  // kNoVirtualisation succeeds too
    audio::Result setFormatResult = result_code::kOk;
    audio::Result lockResult = result_code::kOk;
    int statusReportsLost = 0;    // GetStatus reports a lost buffer this many times
    int restoreStaysLost = 0;     // Restore answers "lost" this many times (-1: for ever)
    WindowHandle mainWindow = nullptr;

    // What the code under test did.
    std::vector<std::string> calls;
    std::vector<MessageBoxRecord> messageBoxes;
    std::vector<std::shared_ptr<FakeBufferState>> buffers;  // secondary buffers, in creation order
    WaveFormat primaryFormat{};
    int devicesOpen = 0;
    std::uint32_t sleptMilliseconds = 0;

    int CallCount(const std::string& prefix) const;

private:
    Services saved_;
};

}  // namespace platform::fake
