#include "render/string_element.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "render/fixed_fonts.h"

namespace render {
namespace {

// DrawText's placement flags, which the element's font flags carry.
constexpr std::int32_t kCentre = 0x1;
constexpr std::int32_t kRight = 0x2;
constexpr std::int32_t kVerticalCentre = 0x4;
constexpr std::int32_t kBottom = 0x8;

constexpr int kLightestWeight = 100;
constexpr int kHeaviest = 1000;
constexpr int kNormalWeight = 400;

struct LayoutDeleter {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
struct FontDeleter {
    void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::map<std::string, std::string> InstalledFamilies() {
    std::map<std::string, std::string> names;
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(pango_cairo_font_map_get_default(), &families, &count);
    for (int i = 0; i < count; ++i) {
        const std::string name = pango_font_family_get_name(families[i]);
        names.emplace(Lower(name), name);
    }
    g_free(families);
    return names;
}

// The families fontconfig's configuration lists for a face, in its order of preference, lower case.
std::vector<std::string> SubstitutedFamilies(const std::string& face) {
    std::vector<std::string> families;
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return families;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        families.push_back(Lower(reinterpret_cast<const char*>(family)));
    FcPatternDestroy(pattern);
    return families;
}

// An installed family that the configuration puts in place of a face it lacks, as its metric aliases put
// Liberation Mono in place of Courier New; families that any unknown face would get do not count.
std::optional<std::string> AliasOf(const std::string& face, const std::map<std::string, std::string>& installed) {
    const std::vector<std::string> defaults = SubstitutedFamilies("avrion no such face");
    for (const std::string& family : SubstitutedFamilies(face)) {
        if (family == Lower(face) || std::find(defaults.begin(), defaults.end(), family) != defaults.end()) continue;
        if (auto found = installed.find(family); found != installed.end()) return found->second;
    }
    return std::nullopt;
}

// Logical size of the layout's text in pixels.
void PixelSize(PangoLayout* layout, double& width, double& height) {
    PangoRectangle logical{};
    pango_layout_get_extents(layout, nullptr, &logical);
    width = static_cast<double>(logical.width) / PANGO_SCALE;
    height = static_cast<double>(logical.height) / PANGO_SCALE;
}

}  // namespace

std::string FontChooser::Family(const std::string& requested) {
    UseFixedFonts();
    if (auto found = chosen_.find(requested); found != chosen_.end()) return found->second;
    if (!installed_) installed_ = InstalledFamilies();
    std::string family = requested;
    if (requested.empty() || installed_->count(Lower(requested)) == 0) {
        family = requested.empty() ? std::string(kFallback) : AliasOf(requested, *installed_).value_or(kFallback);
        if (family == kFallback && warnings_)
            warnings_("font \"" + requested + "\" is not installed; its text is set in " + std::string(kFallback));
    }
    chosen_[requested] = family;
    return family;
}

std::string TextToUtf8(const std::string& windowsText) {
    std::string printable = windowsText;
    // Control characters have no picture in the simulator's fonts either.
    for (char& c : printable)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    gsize written = 0;
    gchar* converted = g_convert_with_fallback(printable.data(), static_cast<gssize>(printable.size()), "UTF-8",
                                               "WINDOWS-1252", "?", nullptr, &written, nullptr);
    if (converted == nullptr) {
        // No converter at all: keep what is plain ASCII.
        for (char& c : printable)
            if (static_cast<unsigned char>(c) >= 0x80) c = '?';
        return printable;
    }
    std::string text(converted, written);
    g_free(converted);
    return text;
}

void DrawStringElement(cairo_t* cr, const ELEMENT_STRING& element, const std::string& text, FontChooser& fonts) {
    const double boxWidth = element.boxWidth, boxHeight = element.boxHeight;
    if (boxWidth <= 0 || boxHeight <= 0) return;
    UseFixedFonts();

    cairo_save(cr);
    cairo_translate(cr, element.header.position.x, element.header.position.y);
    cairo_rectangle(cr, 0, 0, boxWidth, boxHeight);
    cairo_clip(cr);
    const Rgb background = FromColourRef(element.backgroundColour);
    cairo_set_source_rgb(cr, background.red, background.green, background.blue);
    cairo_paint(cr);

    const std::string face(element.fontName, strnlen(element.fontName, sizeof element.fontName));
    std::unique_ptr<PangoFontDescription, FontDeleter> font(pango_font_description_new());
    pango_font_description_set_family(font.get(), fonts.Family(face).c_str());
    const int weight =
        element.fontWeight <= 0 ? kNormalWeight : std::clamp(element.fontWeight, kLightestWeight, kHeaviest);
    pango_font_description_set_weight(font.get(), static_cast<PangoWeight>(weight));

    // The font is as tall as the box, as a Windows font made with the box's height as its cell height.
    std::unique_ptr<PangoLayout, LayoutDeleter> layout(pango_cairo_create_layout(cr));
    // Advances rounded to whole pixels would undo the narrowing below.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout.get()), options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(pango_layout_get_context(layout.get()), FALSE);
    pango_layout_context_changed(layout.get());
    pango_font_description_set_absolute_size(font.get(), boxHeight * PANGO_SCALE);
    pango_layout_set_font_description(layout.get(), font.get());
    pango_layout_set_text(layout.get(), "0", -1);
    double width = 0.0, height = 0.0;
    PixelSize(layout.get(), width, height);
    if (height > 0.0) {
        pango_font_description_set_absolute_size(font.get(), boxHeight * boxHeight / height * PANGO_SCALE);
        pango_layout_set_font_description(layout.get(), font.get());
    }

    // A full line of the element's characters must fit across the box: narrow the letters when it would not.
    double squeeze = 1.0;
    if (element.charCount > 0) {
        const std::string fullLine(std::min<std::size_t>(element.charCount, 256), '0');
        pango_layout_set_text(layout.get(), fullLine.c_str(), -1);
        PixelSize(layout.get(), width, height);
        if (width > boxWidth) squeeze = boxWidth / width;
    }

    const std::string utf8 = TextToUtf8(text);
    pango_layout_set_text(layout.get(), utf8.c_str(), -1);
    PixelSize(layout.get(), width, height);
    width *= squeeze;
    double x = 0.0, y = 0.0;
    if (element.fontFlags & kRight)
        x = boxWidth - width;
    else if (element.fontFlags & kCentre)
        x = (boxWidth - width) / 2;
    if (element.fontFlags & kBottom)
        y = boxHeight - height;
    else if (element.fontFlags & kVerticalCentre)
        y = (boxHeight - height) / 2;

    const Rgb colour = FromColourRef(element.textColour);
    cairo_set_source_rgb(cr, colour.red, colour.green, colour.blue);
    cairo_translate(cr, x, y);
    // The layout keeps the unscaled context it was made with: updated to the narrowed one, Pango would lay the
    // glyphs out again at their full device width.
    cairo_scale(cr, squeeze, 1.0);
    pango_cairo_show_layout(cr, layout.get());
    cairo_restore(cr);
}

}  // namespace render
