#include "sound/sound_clip.h"

#include <cstring>

#include "platform/user_interface.h"
#include "sound/wav_reader.h"

namespace code = result_code;
namespace audio = platform::audio;

namespace {
constexpr std::uint8_t kSilence8Bit = 0x80;
constexpr std::uint16_t kEightBits = 8;
constexpr std::int32_t kKeepFrequency = -1;
}  // namespace

SoundClip::SoundClip(audio::Buffer* buffer, std::uint32_t bufferBytes, std::uint32_t, WavReader* reader,
                     std::uint32_t creationFlags)
    : buffer(buffer),
      bufferBytes(bufferBytes),
      reader(reader),
      bufferCount(1),
      creationFlags(creationFlags),
      cachedVolume(0) {
    FillBuffer(buffer);
}

SoundClip::~SoundClip() {
    if (buffer != nullptr) buffer->Release();
    delete reader;
}

code::Result SoundClip::FillBuffer(audio::Buffer* target) {
    if (target == nullptr) return code::kNotInitialised;
    if (const code::Result result = RestoreBuffer(target); code::Failed(result)) return result;

    void* region = nullptr;
    std::uint32_t locked = 0;
    if (const code::Result result = target->Lock(0, bufferBytes, &region, &locked, nullptr, nullptr, 0);
        code::Failed(result))
        return result;

    reader->ResetToData();
    std::uint32_t read = 0;
    const code::Result readResult = reader->Read(static_cast<std::uint8_t*>(region), locked, &read);
    if (code::Failed(readResult)) {
        target->Unlock(region, locked, nullptr, 0);  // never leave the buffer locked
        return readResult;
    }
    if (read < locked) {
        const bool eightBit = reader->format != nullptr && reader->format->bitsPerSample == kEightBits;
        std::memset(static_cast<std::uint8_t*>(region) + read, eightBit ? kSilence8Bit : 0, locked - read);
    }
    target->Unlock(region, locked, nullptr, 0);
    return code::kOk;
}

code::Result SoundClip::RestoreBuffer(audio::Buffer* target, bool* restored) {
    if (target == nullptr) return code::kNotInitialised;
    if (restored != nullptr) *restored = false;

    std::uint32_t status = 0;
    if (const code::Result result = target->GetStatus(&status); code::Failed(result)) return result;
    if ((status & audio::kStatusBufferLost) == 0) return code::kFalse;

    // The device may refuse while another application holds it; keep trying
    // a while, but never hold up the simulator for good.
    for (int attempt = 0; attempt < kRestoreAttempts; ++attempt) {
        if (target->Restore() != code::kBufferLost) {
            if (restored != nullptr) *restored = true;
            return code::kOk;
        }
        platform::SleepMilliseconds(kRestorePauseMs);
    }
    return code::kBufferLost;
}

code::Result SoundClip::Play(std::uint32_t priority, std::uint32_t flags, std::int32_t volume, std::int32_t frequency,
                             std::int32_t pan) {
    if (buffer == nullptr) return code::kFail;
    bool restored = false;
    if (const code::Result result = RestoreBuffer(buffer, &restored); code::Failed(result)) return result;
    if (restored)
        if (const code::Result result = FillBuffer(buffer); code::Failed(result)) return result;

    if ((creationFlags & audio::kControlVolume) != 0 && volume != 0) SetVolume(volume);
    if (frequency != kKeepFrequency && (creationFlags & audio::kControlFrequency) != 0)
        buffer->SetFrequency(static_cast<std::uint32_t>(frequency));
    if ((creationFlags & audio::kControlPan) != 0) buffer->SetPan(pan);
    return buffer->Play(priority, flags);
}

code::Result SoundClip::Stop() { return buffer == nullptr ? code::kNotInitialised : buffer->Stop(); }

code::Result SoundClip::Rewind() { return buffer == nullptr ? code::kNotInitialised : buffer->SetCurrentPosition(0); }

code::Result SoundClip::SetVolume(std::int32_t volume) {
    if (buffer == nullptr || volume == cachedVolume) return code::kFalse;
    cachedVolume = volume;
    return buffer->SetVolume(volume);
}
