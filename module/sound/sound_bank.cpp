#include "sound/sound_bank.h"

#include <cstdio>
#include <new>

#include "platform/profile_files.h"
#include "platform/user_interface.h"
#include "sound/sound_clip.h"
#include "sound/sound_manager.h"
#include "state/settings.h"

namespace code = result_code;
namespace audio = platform::audio;

namespace {

constexpr const char* kMainWindowClass = "FS98MAIN";
constexpr std::uint32_t kCooperativeLevelPriority = 2;
constexpr std::uint32_t kPrimaryChannels = 1;
constexpr std::uint32_t kPrimarySamplesPerSecond = 22050;
constexpr std::uint32_t kPrimaryBitsPerSample = 16;
constexpr const char* kDirectSoundCaption = "DirectSound Sample";
constexpr const char* kLoadCaption = "DSound load file error";
constexpr const char* kSoundFolder = ".\\Gauges\\Avrion_cfg";

constexpr const char* kClipFiles[SoundBank::kClipCount] = {
    "%s\\Sound\\Tumb_fix.wav", "%s\\Sound\\Kolp.wav",   "%s\\Sound\\Tumb_no_fix.wav",
    "%s\\Sound\\Galetn.wav",   "%s\\Sound\\SIRENA.wav", "%s\\Sound\\sirena_pr.wav",
};

constexpr std::int64_t kVolumeStepPerLevel = 20;
constexpr std::int64_t kVolumeAtLevelZero = -2000;

// Play arguments: priority 0, volume 0 (keep), frequency -1 (keep), pan 0.
void PlayFromClip(SoundClip* clip, std::uint32_t flags) { clip->Play(0, flags, 0, -1, 0); }

}  // namespace

SoundBank::SoundBank(const Settings& settings) : manager(nullptr), clips{}, settings_(settings) {}

std::int32_t SoundBank::VolumeFromLevel(std::int32_t level) {
    const std::int64_t volume = level * kVolumeStepPerLevel + kVolumeAtLevelZero;
    if (volume < audio::kVolumeMin) return audio::kVolumeMin;
    if (volume > audio::kVolumeMax) return audio::kVolumeMax;
    return static_cast<std::int32_t>(volume);
}

bool SoundBank::StartSound() {
    if (manager == nullptr) manager = new (std::nothrow) SoundManager;
    if (manager == nullptr) return false;

    platform::WindowHandle window = platform::FindMainWindow(kMainWindowClass);
    if (const code::Result result = manager->Initialize(window, kCooperativeLevelPriority); code::Failed(result)) {
        char text[64];
        std::snprintf(text, sizeof text, "g_pSoundManager->Initialize error, hr = %d", static_cast<int>(result));
        platform::ShowMessageBox(text, kDirectSoundCaption, platform::kMessageBoxIconStop);
        return false;
    }
    if (code::Failed(
            manager->SetPrimaryBufferFormat(kPrimaryChannels, kPrimarySamplesPerSecond, kPrimaryBitsPerSample))) {
        platform::ShowMessageBox("Error initializing DirectSound.  g_pSoundManager->SetPrimaryBufferFormat error.",
                                 kDirectSoundCaption, platform::kMessageBoxIconStop);
        return false;
    }
    return true;
}

bool SoundBank::LoadSounds() {
    if (manager == nullptr) return false;
    for (int slot = kSwitchClick; slot <= kSecondSiren; ++slot) {
        SoundClip*& clip = Clip(static_cast<Slot>(slot));
        // A clip loaded before is replaced, not leaked.
        if (clip != nullptr) {
            clip->Stop();
            clip->Rewind();
            delete clip;
            clip = nullptr;
        }
        char path[platform::kMaxPath];
        std::snprintf(path, sizeof path, kClipFiles[slot - 1], kSoundFolder);
        const code::Result result =
            manager->CreateClip(&clip, platform::NativePath(path).c_str(), audio::kControlVolume, audio::Guid{}, 1);
        if (code::Failed(result)) {
            clip = nullptr;
            char text[16];
            std::snprintf(text, sizeof text, "Create%d", slot);
            platform::ShowMessageBox(text, kLoadCaption, platform::kMessageBoxIconExclamation);
            return false;
        }
    }
    for (int slot = kSwitchClick; slot <= kSelectorClick; ++slot)
        Clip(static_cast<Slot>(slot))->SetVolume(VolumeFromLevel(settings_.keyLevel));
    Clip(kSiren)->SetVolume(VolumeFromLevel(settings_.sirenLevel));
    Clip(kSecondSiren)->SetVolume(VolumeFromLevel(settings_.sirenLevel));
    return true;
}

void SoundBank::ReleaseSounds() {
    for (SoundClip*& clip : clips) {
        delete clip;
        clip = nullptr;
    }
    delete manager;  // the device goes after its buffers
    manager = nullptr;
}

void SoundBank::PlayClick(Slot slot) {
    SoundClip* clip = Clip(slot);
    if (clip == nullptr) return;
    // A click always starts over, even when the settings keep it silent.
    clip->Stop();
    clip->Rewind();
    if (settings_.soundOn != 0 && settings_.keySoundOn != 0) PlayFromClip(clip, 0);
}

void SoundBank::StartLoop(Slot slot) {
    if (SoundClip* clip = Clip(slot); clip != nullptr && settings_.soundOn != 0)
        PlayFromClip(clip, audio::kPlayLooping);
}

void SoundBank::StopLoop(Slot slot) {
    if (SoundClip* clip = Clip(slot); clip != nullptr) {
        clip->Stop();
        clip->Rewind();
    }
}

void SoundBank::PlaySwitchClick() { PlayClick(kSwitchClick); }
void SoundBank::PlayCoverClick() { PlayClick(kCoverClick); }
void SoundBank::PlayButtonClick() { PlayClick(kButtonClick); }
void SoundBank::PlaySelectorClick() { PlayClick(kSelectorClick); }
void SoundBank::StartSiren() { StartLoop(kSiren); }
void SoundBank::StopSiren() { StopLoop(kSiren); }
void SoundBank::StartSirenPr() { StartLoop(kSecondSiren); }
void SoundBank::StopSirenPr() { StopLoop(kSecondSiren); }
