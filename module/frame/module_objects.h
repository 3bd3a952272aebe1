// The module's static objects, constructed at library load in the order
// below (all are defined in one translation unit to fix that order) and
// destroyed in reverse at unload.
#pragma once

#include "a723/nav_calculator.h"
#include "sound/sound_bank.h"
#include "state/aircraft_state.h"
#include "state/settings.h"

extern SoundBank soundBank;
extern Settings settings;
extern AircraftState aircraftState;
extern NavCalculator navCalculator;
