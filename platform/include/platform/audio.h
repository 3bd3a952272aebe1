// Sound output with the operations of DirectSound 8: a device with a
// cooperative level, a primary buffer whose format can be set, and secondary
// buffers of sample bytes that lock, unlock, play (once or looping), stop,
// move their play position, and take a volume in hundredths of a decibel, a
// frequency and a pan. A buffer may report itself lost and be restored.
#pragma once

#include <cstdint>

#include "platform/result_codes.h"
#include "platform/wave_format.h"

namespace platform {

using WindowHandle = void*;

namespace audio {

using result_code::Result;

inline constexpr std::uint32_t kBufferPrimary = 0x1;
inline constexpr std::uint32_t kControlFrequency = 0x20;
inline constexpr std::uint32_t kControlPan = 0x40;
inline constexpr std::uint32_t kControlVolume = 0x80;

inline constexpr std::uint32_t kStatusPlaying = 0x1;
inline constexpr std::uint32_t kStatusBufferLost = 0x2;
inline constexpr std::uint32_t kStatusLooping = 0x4;

inline constexpr std::uint32_t kPlayLooping = 0x1;

inline constexpr std::int32_t kVolumeMin = -10000;  // hundredths of a decibel
inline constexpr std::int32_t kVolumeMax = 0;
inline constexpr std::int32_t kPanLeft = -10000;
inline constexpr std::int32_t kPanRight = 10000;

struct Guid {
    std::uint8_t bytes[16];
};

struct BufferDescription {
    std::uint32_t flags;
    std::uint32_t bufferBytes;  // 0 for the primary buffer
    const WaveFormat* format;   // null for the primary buffer
    Guid algorithm3d;
};

class Buffer {
public:
    virtual Result GetStatus(std::uint32_t* status) = 0;
    virtual Result Restore() = 0;
    virtual Result Lock(std::uint32_t offset, std::uint32_t bytes, void** region1, std::uint32_t* bytes1,
                        void** region2, std::uint32_t* bytes2, std::uint32_t flags) = 0;
    virtual Result Unlock(void* region1, std::uint32_t bytes1, void* region2, std::uint32_t bytes2) = 0;
    virtual Result Play(std::uint32_t priority, std::uint32_t flags) = 0;
    virtual Result Stop() = 0;
    virtual Result SetCurrentPosition(std::uint32_t position) = 0;
    virtual Result SetVolume(std::int32_t volume) = 0;
    virtual Result SetFrequency(std::uint32_t samplesPerSecond) = 0;
    virtual Result SetPan(std::int32_t pan) = 0;
    virtual Result SetFormat(const WaveFormat* format) = 0;
    // Frees the buffer; the pointer is invalid afterwards.
    virtual void Release() = 0;

protected:
    ~Buffer() = default;
};

class Device {
public:
    virtual Result SetCooperativeLevel(WindowHandle window, std::uint32_t level) = 0;
    virtual Result CreateSoundBuffer(const BufferDescription& description, Buffer** buffer) = 0;
    // Frees the device; release its buffers first.
    virtual void Release() = 0;

protected:
    ~Device() = default;
};

// Opens the default sound device.
Result CreateDevice(Device** device);

}  // namespace audio
}  // namespace platform
