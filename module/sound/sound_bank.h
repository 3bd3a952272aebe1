// The panel's sounds: the sound manager and six clips (four clicks and two
// looping sirens), loaded by ModuleInit, played by the gauges' mouse
// handlers as the sound settings allow, released by ModuleDeinit.
#pragma once

#include <cstdint>

class Settings;
class SoundManager;
class SoundClip;

class SoundBank {
public:
    enum Slot { kSwitchClick = 1, kCoverClick, kButtonClick, kSelectorClick, kSiren, kSecondSiren };
    static constexpr int kClipCount = 6;

    // The settings are read only when sounds load and play.
    explicit SoundBank(const Settings& settings);

    bool StartSound();
    bool LoadSounds();
    void ReleaseSounds();

    void PlaySwitchClick();
    void PlayCoverClick();
    void PlayButtonClick();
    void PlaySelectorClick();
    void StartSiren();
    void StopSiren();
    void StartSirenPr();
    void StopSirenPr();

    // Level 0 to 100 from the settings as a volume in hundredths of a
    // decibel (100 is full volume), kept within the device's range.
    static std::int32_t VolumeFromLevel(std::int32_t level);

    SoundManager* manager;           // slot 0
    SoundClip* clips[kClipCount];    // slots 1 to 6

private:
    SoundClip*& Clip(Slot slot) { return clips[slot - 1]; }
    void PlayClick(Slot slot);
    void StartLoop(Slot slot);
    void StopLoop(Slot slot);

    const Settings& settings_;
};
