// String elements as the simulator draws them: a box in the background colour and one line of text in the element's
// font and colour, fitted to the box.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "frame/panel_records.h"
#include "render/warnings.h"

namespace render {

struct Rgb {
    double red, green, blue;
};
// A Windows colour reference, 0x00BBGGRR.
constexpr Rgb FromColourRef(std::uint32_t colour) {
    return {(colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0, ((colour >> 16) & 0xFF) / 255.0};
}

// The installed font family to use for a requested face: the face itself when installed, else the family that
// fontconfig's configuration puts in its place (a metric-compatible alias), else a monospace one.
class FontChooser {
public:
    static constexpr const char* kFallback = "Monospace";

    explicit FontChooser(WarningSink warnings = StderrWarnings()) : warnings_(std::move(warnings)) {}
    // Warns once per face that is neither installed nor aliased.
    std::string Family(const std::string& requested);

private:
    WarningSink warnings_;
    std::optional<std::map<std::string, std::string>> installed_;  // by lower-case name
    std::map<std::string, std::string> chosen_;
};

// The element's text as UTF-8: the module writes bytes in the Windows Latin code page.
std::string TextToUtf8(const std::string& windowsText);

// Draws the element's box at its position and the text in it; text beyond the box is cut off. The text is at most
// the element's character count long (the caller reads it through the callback).
void DrawStringElement(cairo_t* cr, const ELEMENT_STRING& element, const std::string& text, FontChooser& fonts);

}  // namespace render
