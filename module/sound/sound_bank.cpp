#include "sound/sound_bank.h"

SoundBank::SoundBank() : slots{} {}

// Sound output arrives with the sound manager; until then the panel is silent.
bool SoundBank::StartSound() { return false; }

bool SoundBank::LoadSounds() { return false; }

void SoundBank::ReleaseSounds() {}
