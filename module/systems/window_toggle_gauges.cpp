// Click areas that show and hide panel windows.
#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"

AVRION_BACKGROUND_ONLY_GAUGE(Eng_R_toggl, 341)
AVRION_BACKGROUND_ONLY_GAUGE(zad_SRD_toggl, 341)
AVRION_BACKGROUND_ONLY_GAUGE(Eng_over_toggl, 1289)
