#include "frame/module_entry.h"

#include "frame/module_objects.h"

void FSAPI ModuleInit() {
    // Failures are reported by the sound bank itself; the module runs on,
    // at worst without sound.
    soundBank.StartSound();
    soundBank.LoadSounds();
}

void FSAPI ModuleDeinit() { soundBank.ReleaseSounds(); }
