// The panel sounds: the sound manager and six clips, loaded by ModuleInit and
// released by ModuleDeinit.
#pragma once

class SoundBank {
public:
    static constexpr int kSlotCount = 7;

    SoundBank();

    bool StartSound();
    bool LoadSounds();
    void ReleaseSounds();

    // Slot 0 the sound manager, slots 1 to 6 the clips; null until loaded.
    void* slots[kSlotCount];
};
