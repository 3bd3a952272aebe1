// The ITV clock.
#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"

AVRION_BACKGROUND_ONLY_GAUGE(ITV, 321)
