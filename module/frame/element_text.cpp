#include "frame/element_text.h"

#include <cstdio>

void SetElementText(ELEMENT_HEADER* element, const char* format, double value) {
    auto* string = reinterpret_cast<ELEMENT_STRING*>(element);
    if (string == nullptr || string->text == nullptr) return;
    // The count is the low 16 bits at its offset; the simulator keeps the
    // character width in the high half.
    std::snprintf(string->text, std::size_t{string->charCount} + 1, format, value);
}
