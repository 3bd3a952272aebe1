#include "frame/module_objects.h"

// Construction order matters: no constructor calls the simulator, and
// Settings reads its files before anything can use it.
SoundBank soundBank(settings);
Settings settings;
AircraftState aircraftState;
NavCalculator navCalculator;
