// The two records the module exports to the simulator, found by these names.
#pragma once

#include "frame/panel_records.h"

#if defined(_WIN32)
#define MODULE_EXPORT __declspec(dllexport)
#else
#define MODULE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
MODULE_EXPORT extern MODULE_LINKAGE Linkage;
MODULE_EXPORT extern IMPORT_TABLE ImportTable;
}
