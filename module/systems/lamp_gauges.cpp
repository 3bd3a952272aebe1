// Warning and indication lamps of the aircraft systems.
#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"

AVRION_BACKGROUND_ONLY_GAUGE(SSOS_lamp, 339)
AVRION_BACKGROUND_ONLY_GAUGE(water_lamp_0, 560)
AVRION_BACKGROUND_ONLY_GAUGE(water_lamp_1_4, 560)
AVRION_BACKGROUND_ONLY_GAUGE(water_lamp_1_2, 560)
AVRION_BACKGROUND_ONLY_GAUGE(water_lamp_1, 560)
AVRION_BACKGROUND_ONLY_GAUGE(sliv_heat_lamp, 339)
AVRION_BACKGROUND_ONLY_GAUGE(Thvost_lamp, 1285)
AVRION_BACKGROUND_ONLY_GAUGE(BI_lamp, 1287)
