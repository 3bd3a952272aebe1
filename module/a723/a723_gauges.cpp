// The A-723 control head and its breaker.
#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"

AVRION_BACKGROUND_ONLY_GAUGE(A723, 353)
AVRION_BACKGROUND_ONLY_GAUGE(AZS_A723, 320)
