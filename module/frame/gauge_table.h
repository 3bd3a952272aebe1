// The 39 gauges of the module, by the names the panel configuration uses.
#pragma once

#include "frame/panel_records.h"

namespace gauges {
extern GAUGEHDR logic, PPS, KAI_487, AZS_KAI_487, ITV, AZS_ITV, zad_ARD, SSOS_lamp, SSOS_btn1, SSOS_btn2, SSOS_btn3,
    Eng_R_toggl, zad_SRD_toggl, Eng_over_toggl, AZS_wing_lights, AZS_ARD_heat, AZS_door_heat, AZS_gear_vent, A723,
    AZS_A723, SO72, AZS_water_level, AZS_water_pump1, AZS_water_pump2, water_lamp_0, water_lamp_1_4, water_lamp_1_2,
    water_lamp_1, water_level_check, AZS_sliv_heat, sliv_heat_check_btn, sliv_heat_lamp, AZS_Thvost_signal,
    Thvost_check_1, Thvost_check_2, Thvost_lamp, BI_lamp, Messages, test;
}  // namespace gauges
