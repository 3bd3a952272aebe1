#include "state/simulator_variables.h"

#include <cstring>

#include "frame/panels.h"

namespace simulator_variables {
namespace {
constexpr MODULE_VAR Token(std::int32_t token) {
    MODULE_VAR variable{};
    variable.token = token;
    return variable;
}
}  // namespace

MODULE_VAR groundSpeed = Token(832);
MODULE_VAR latitude = Token(71);
MODULE_VAR longitude = Token(72);
MODULE_VAR simulatorClock = Token(604);
MODULE_VAR engine1 = Token(625);
MODULE_VAR engine2 = Token(644);
MODULE_VAR engine3 = Token(663);
MODULE_VAR airTemperature = Token(341);
MODULE_VAR pressureSetting = Token(342);
MODULE_VAR token4 = Token(4);
MODULE_VAR supplyVoltage = Token(759);
MODULE_VAR speed61 = Token(61);
MODULE_VAR mach = Token(64);
MODULE_VAR altitude = Token(73);
MODULE_VAR transponderCode = Token(38);
MODULE_VAR token322 = Token(322);
MODULE_VAR fuel = Token(386);
MODULE_VAR token60 = Token(60);
MODULE_VAR token333 = Token(333);

double LookUpFloat(MODULE_VAR& variable) {
    panels::LookupVariable(&variable);
    double value;
    std::memcpy(&value, variable.value, sizeof value);
    return value;
}

std::uint32_t LookUpInteger(MODULE_VAR& variable) {
    panels::LookupVariable(&variable);
    std::uint32_t value;
    std::memcpy(&value, variable.value, sizeof value);
    return value;
}

}  // namespace simulator_variables
