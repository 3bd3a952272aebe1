#include "render/label.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <memory>

#include "render/fixed_fonts.h"

namespace render {
namespace {

struct LayoutDeleter {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
struct FontDeleter {
    void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};

std::unique_ptr<PangoLayout, LayoutDeleter> MakeLayout(cairo_t* cr, const std::string& text, const LabelStyle& style) {
    UseFixedFonts();
    std::unique_ptr<PangoLayout, LayoutDeleter> layout(pango_cairo_create_layout(cr));
    std::unique_ptr<PangoFontDescription, FontDeleter> font(pango_font_description_from_string("Sans"));
    pango_font_description_set_absolute_size(font.get(), style.sizePx * PANGO_SCALE);
    pango_font_description_set_weight(font.get(), style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout.get(), font.get());
    // Names may come from a layout file in any encoding; Pango takes only UTF-8.
    gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
    pango_layout_set_text(layout.get(), valid, -1);
    g_free(valid);
    return layout;
}

LabelExtent ExtentOf(PangoLayout* layout) {
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    return {static_cast<double>(width), static_cast<double>(height)};
}

}  // namespace

LabelExtent DrawLabel(cairo_t* cr, const std::string& text, double x, double y, const LabelStyle& style) {
    auto layout = MakeLayout(cr, text, style);
    cairo_save(cr);
    cairo_set_source_rgb(cr, style.red, style.green, style.blue);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout.get());
    cairo_restore(cr);
    return ExtentOf(layout.get());
}

LabelExtent MeasureLabel(cairo_t* cr, const std::string& text, const LabelStyle& style) {
    return ExtentOf(MakeLayout(cr, text, style).get());
}

}  // namespace render

namespace render {

void ReleaseFontCaches() {
    pango_cairo_font_map_set_default(nullptr);
    cairo_debug_reset_static_data();
    FcFini();
    ForgetFixedFonts();
}

}  // namespace render
