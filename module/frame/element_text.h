// Writing a string element's text into the buffer the simulator gave it.
#pragma once

#include "frame/panel_records.h"

// Formats one value into the element's text buffer, cut to the characters
// the element holds (the buffer has room for those and a terminating zero).
// Does nothing while the simulator has given no buffer.
void SetElementText(ELEMENT_HEADER* element, const char* format, double value);
