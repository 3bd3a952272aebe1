// The crew messages window and the test readout.
#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"

AVRION_BACKGROUND_ONLY_GAUGE(Messages, 592)
AVRION_BACKGROUND_ONLY_GAUGE(test, 1291)
