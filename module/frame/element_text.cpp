#include "frame/element_text.h"

#include <cstdio>

void SetElementText(ELEMENT_HEADER* element, const char* format, double value) {
    auto* string = reinterpret_cast<ELEMENT_STRING*>(element);
    if (string == nullptr || string->text == nullptr || string->charCount < 0) return;
    std::snprintf(string->text, static_cast<std::size_t>(string->charCount) + 1, format, value);
}
