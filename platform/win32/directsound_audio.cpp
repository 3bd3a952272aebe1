#include "win32/directsound_audio.h"

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <cstring>
#include <new>

namespace platform::directsound {
namespace {

using audio::Result;

class DirectSoundBuffer final : public audio::Buffer {
public:
    explicit DirectSoundBuffer(IDirectSoundBuffer* buffer) : buffer_(buffer) {}

    Result GetStatus(std::uint32_t* status) override {
        DWORD value = 0;
        const HRESULT result = buffer_->GetStatus(&value);
        if (status != nullptr) *status = value;
        return result;
    }
    Result Restore() override { return buffer_->Restore(); }
    Result Lock(std::uint32_t offset, std::uint32_t bytes, void** region1, std::uint32_t* bytes1, void** region2,
                std::uint32_t* bytes2, std::uint32_t flags) override {
        DWORD size1 = 0, size2 = 0;
        const HRESULT result = buffer_->Lock(offset, bytes, region1, &size1, region2, bytes2 != nullptr ? &size2 : nullptr,
                                             flags);
        if (bytes1 != nullptr) *bytes1 = size1;
        if (bytes2 != nullptr) *bytes2 = size2;
        return result;
    }
    Result Unlock(void* region1, std::uint32_t bytes1, void* region2, std::uint32_t bytes2) override {
        return buffer_->Unlock(region1, bytes1, region2, bytes2);
    }
    Result Play(std::uint32_t priority, std::uint32_t flags) override { return buffer_->Play(0, priority, flags); }
    Result Stop() override { return buffer_->Stop(); }
    Result SetCurrentPosition(std::uint32_t position) override { return buffer_->SetCurrentPosition(position); }
    Result SetVolume(std::int32_t volume) override { return buffer_->SetVolume(volume); }
    Result SetFrequency(std::uint32_t samplesPerSecond) override { return buffer_->SetFrequency(samplesPerSecond); }
    Result SetPan(std::int32_t pan) override { return buffer_->SetPan(pan); }
    Result SetFormat(const WaveFormat* format) override {
        return buffer_->SetFormat(reinterpret_cast<const WAVEFORMATEX*>(format));
    }
    void Release() override {
        buffer_->Release();
        delete this;
    }

private:
    ~DirectSoundBuffer() = default;
    IDirectSoundBuffer* buffer_;
};

class DirectSoundDevice final : public audio::Device {
public:
    explicit DirectSoundDevice(IDirectSound8* device) : device_(device) {}

    Result SetCooperativeLevel(WindowHandle window, std::uint32_t level) override {
        return device_->SetCooperativeLevel(static_cast<HWND>(window), level);
    }
    Result CreateSoundBuffer(const audio::BufferDescription& description, audio::Buffer** buffer) override {
        if (buffer == nullptr) return result_code::kInvalidArgument;
        DSBUFFERDESC native{};
        native.dwSize = sizeof native;
        native.dwFlags = description.flags;
        native.dwBufferBytes = description.bufferBytes;
        native.lpwfxFormat = reinterpret_cast<WAVEFORMATEX*>(const_cast<WaveFormat*>(description.format));
        std::memcpy(&native.guid3DAlgorithm, description.algorithm3d.bytes, sizeof native.guid3DAlgorithm);
        IDirectSoundBuffer* created = nullptr;
        const HRESULT result = device_->CreateSoundBuffer(&native, &created, nullptr);
        if (FAILED(result)) return result;
        *buffer = new (std::nothrow) DirectSoundBuffer(created);
        if (*buffer == nullptr) {
            created->Release();
            return result_code::kOutOfMemory;
        }
        return result;
    }
    void Release() override {
        device_->Release();
        delete this;
    }

private:
    ~DirectSoundDevice() = default;
    IDirectSound8* device_;
};

static_assert(sizeof(WaveFormat) == sizeof(WAVEFORMATEX));
static_assert(sizeof(audio::Guid) == sizeof(GUID));

}  // namespace

audio::Result CreateDevice(audio::Device** device) {
    if (device == nullptr) return result_code::kInvalidArgument;
    IDirectSound8* native = nullptr;
    const HRESULT result = DirectSoundCreate8(nullptr, &native, nullptr);
    if (FAILED(result)) return result;
    *device = new (std::nothrow) DirectSoundDevice(native);
    if (*device == nullptr) {
        native->Release();
        return result_code::kOutOfMemory;
    }
    return result;
}

}  // namespace platform::directsound
