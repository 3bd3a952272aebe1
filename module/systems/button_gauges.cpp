// Push-buttons of the aircraft systems.
#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"

AVRION_BACKGROUND_ONLY_GAUGE(SSOS_btn1, 260)
AVRION_BACKGROUND_ONLY_GAUGE(SSOS_btn2, 260)
AVRION_BACKGROUND_ONLY_GAUGE(SSOS_btn3, 260)
AVRION_BACKGROUND_ONLY_GAUGE(water_level_check, 260)
AVRION_BACKGROUND_ONLY_GAUGE(sliv_heat_check_btn, 260)
AVRION_BACKGROUND_ONLY_GAUGE(Thvost_check_1, 260)
AVRION_BACKGROUND_ONLY_GAUGE(Thvost_check_2, 260)
