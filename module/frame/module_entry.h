// Start-up and shut-down routines named in Linkage.
#pragma once

#include "frame/panel_records.h"

void FSAPI ModuleInit();
void FSAPI ModuleDeinit();
