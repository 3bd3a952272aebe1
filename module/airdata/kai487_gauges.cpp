// The KAI_487 air-data indicator and its breaker.
#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"

AVRION_BACKGROUND_ONLY_GAUGE(KAI_487, 312)
AVRION_BACKGROUND_ONLY_GAUGE(AZS_KAI_487, 320)
