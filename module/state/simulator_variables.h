// One MODULE_VAR record per simulator variable the module looks up. Each
// record holds its token; the simulator writes the current value into it.
#pragma once

#include <cstdint>

#include "frame/panel_records.h"

namespace simulator_variables {

extern MODULE_VAR groundSpeed;      // token 832, m/s
extern MODULE_VAR latitude;         // token 71
extern MODULE_VAR longitude;        // token 72
extern MODULE_VAR simulatorClock;   // token 604, seconds; also read by SimStopwatch
extern MODULE_VAR engine1;          // token 625
extern MODULE_VAR engine2;          // token 644
extern MODULE_VAR engine3;          // token 663
extern MODULE_VAR airTemperature;   // token 341, degrees Celsius
extern MODULE_VAR pressureSetting;  // token 342, sixteenths of a millibar
extern MODULE_VAR token4;           // token 4
extern MODULE_VAR supplyVoltage;    // token 759
extern MODULE_VAR speed61;          // token 61
extern MODULE_VAR mach;             // token 64
extern MODULE_VAR altitude;         // token 73
extern MODULE_VAR transponderCode;  // token 38, an integer
extern MODULE_VAR token322;         // token 322
extern MODULE_VAR fuel;             // token 386, gallons
extern MODULE_VAR token60;          // token 60
extern MODULE_VAR token333;         // token 333

// Looks the variable up through the simulator and returns its value field.
double LookUpFloat(MODULE_VAR& variable);
std::uint32_t LookUpInteger(MODULE_VAR& variable);

}  // namespace simulator_variables
