#include "render/gauge_renderer.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <unordered_set>

#include "render/needle_geometry.h"
#include "sim/gauge_access.h"

namespace render {
namespace {

// Bounds on records that are the module's data: a tree or table beyond these is malformed, not large.
constexpr std::size_t kMostElements = 4096;
constexpr int kMostNeedlePoints = 4096;

std::string NameOf(const GAUGEHDR* gauge) {
    return gauge != nullptr && gauge->name != nullptr ? gauge->name : "(unnamed gauge)";
}

void Walk(ELEMENT_HEADER* const* list, std::vector<ELEMENT_HEADER*>& out,
          std::unordered_set<const ELEMENT_HEADER*>& seen) {
    for (; list != nullptr && *list != nullptr && out.size() < kMostElements; ++list) {
        if (!seen.insert(*list).second) continue;
        out.push_back(*list);
        Walk((*list)->children, out, seen);
    }
}

// Picture k for an icon's value: the value truncated as the simulator converts it; nothing for a value outside the
// pictures (-1 among them).
std::optional<std::int64_t> PictureIndex(double value, std::int32_t pictureCount) {
    if (!std::isfinite(value)) return std::nullopt;
    const double k = std::trunc(value);
    if (k < 0.0 || k >= pictureCount) return std::nullopt;
    return static_cast<std::int64_t>(k);
}

bool HasTable(const ELEMENT_NEEDLE* needle) {
    return needle->points != nullptr && needle->pointCount > 0 && needle->pointCount <= kMostNeedlePoints;
}

}  // namespace

std::vector<ELEMENT_HEADER*> ChainOrder(const GAUGEHDR* gauge) {
    std::vector<ELEMENT_HEADER*> elements;
    std::unordered_set<const ELEMENT_HEADER*> seen;
    if (gauge != nullptr) Walk(gauge->elements, elements, seen);
    return elements;
}

GaugeRenderer::GaugeRenderer(BitmapStore& bitmaps, WarningSink warnings)
    : bitmaps_(bitmaps), warnings_(warnings), fonts_(warnings) {}

void GaugeRenderer::WarnOnce(const std::string& warning) {
    if (warned_.insert(warning).second && warnings_) warnings_(warning);
}

Size GaugeRenderer::GaugeSize(const GAUGEHDR* gauge) {
    const std::vector<ELEMENT_HEADER*> elements = ChainOrder(gauge);
    if (elements.empty() || elements.front()->kind == kElementString) return {};
    const Bitmap& background = bitmaps_.Get(elements.front()->bitmapId);
    return {background.width, background.height};
}

bool GaugeRenderer::IsHidden(const GAUGEHDR* gauge) const {
    for (const ELEMENT_HEADER* element : ChainOrder(gauge))
        if ((element->imageFlags & image_flag::kHidden) == 0) return false;
    return true;
}

double GaugeRenderer::TurnNeedle(ELEMENT_NEEDLE* needle) {
    auto found = needles_.find(&needle->header);
    if (found != needles_.end() && found->second.frame == frame_) return found->second.angleDegrees;

    std::optional<double> target;
    if (HasTable(needle)) {
        target = NeedleAngle(needle->header.position, needle->points, needle->pointCount,
                             gauge_access::ElementValue(&needle->header));
    } else {
        WarnOnce("a needle of " + NameOf(needle->header.gauge) + " (bitmap " + std::to_string(needle->header.bitmapId) +
                 ") has no usable point table; drawn pointing right");
    }
    if (found == needles_.end()) {
        // The first draw shows the needle where it belongs; a value without an angle (NaN) leaves it at the
        // start of its table.
        if (!target && HasTable(needle))
            target = NeedleAngle(needle->header.position, needle->points, needle->pointCount, needle->points[0].value);
        found = needles_.emplace(&needle->header, NeedleState{target.value_or(0.0), frame_}).first;
        return found->second.angleDegrees;
    }
    if (target) found->second.angleDegrees = TurnToward(found->second.angleDegrees, *target, needle->maxTurnDegrees);
    found->second.frame = frame_;
    return found->second.angleDegrees;
}

std::optional<double> GaugeRenderer::NeedleAngleOf(const ELEMENT_HEADER* needle) const {
    auto found = needles_.find(needle);
    if (found == needles_.end()) return std::nullopt;
    return found->second.angleDegrees;
}

void GaugeRenderer::Update(const GAUGEHDR* gauge) {
    for (ELEMENT_HEADER* element : ChainOrder(gauge))
        if (element->kind == kElementNeedle) TurnNeedle(reinterpret_cast<ELEMENT_NEEDLE*>(element));
}

void GaugeRenderer::Draw(cairo_t* cr, const GAUGEHDR* gauge) {
    for (ELEMENT_HEADER* element : ChainOrder(gauge)) DrawElement(cr, element);
}

Surface GaugeRenderer::DrawGauge(const GAUGEHDR* gauge) {
    const Size size = GaugeSize(gauge);
    Surface surface = MakeSurface(size.width, size.height);
    Context cr = MakeContext(surface.get());
    Draw(cr.get(), gauge);
    cairo_surface_flush(surface.get());
    return surface;
}

void GaugeRenderer::DrawBitmap(cairo_t* cr, const Bitmap& bitmap, double x, double y, std::uint32_t imageFlags) {
    if ((imageFlags & image_flag::kTransparent) == 0) {
        // Without transparency the transparent colour is plain black.
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_rectangle(cr, x, y, bitmap.width, bitmap.height);
        cairo_fill(cr);
    }
    cairo_set_source_surface(cr, bitmap.surface.get(), x, y);
    cairo_paint(cr);
}

void GaugeRenderer::DrawNeedle(cairo_t* cr, ELEMENT_NEEDLE* needle) {
    const double angle = TurnNeedle(needle);
    const Bitmap& bitmap = bitmaps_.Get(needle->header.bitmapId);
    // Pixel centres meet: the pivot pixel of the bitmap lands on the pivot pixel of the gauge.
    cairo_save(cr);
    cairo_translate(cr, needle->header.position.x + 0.5, needle->header.position.y + 0.5);
    cairo_rotate(cr, angle * std::numbers::pi / 180.0);
    const double x = -needle->header.offset.x - 0.5, y = -needle->header.offset.y - 0.5;
    DrawBitmap(cr, bitmap, x, y, needle->header.imageFlags);
    cairo_restore(cr);
}

void GaugeRenderer::DrawElement(cairo_t* cr, ELEMENT_HEADER* element) {
    if (element->imageFlags & image_flag::kHidden) return;
    const double x = element->position.x, y = element->position.y;
    switch (element->kind) {
        case kElementStaticImage:
            DrawBitmap(cr, bitmaps_.Get(element->bitmapId), x, y, element->imageFlags);
            break;
        case kElementIcon: {
            auto* icon = reinterpret_cast<ELEMENT_ICON*>(element);
            const auto k = PictureIndex(gauge_access::ElementValue(element), icon->pictureCount);
            if (k) DrawBitmap(cr, bitmaps_.Get(std::int64_t{element->bitmapId} + *k), x, y, element->imageFlags);
            break;
        }
        case kElementNeedle:
            DrawNeedle(cr, reinterpret_cast<ELEMENT_NEEDLE*>(element));
            break;
        case kElementString: {
            auto* string = reinterpret_cast<ELEMENT_STRING*>(element);
            std::string text;
            // The callback writes into the buffer the simulator hands it; without one it must not run at all.
            if (string->text != nullptr)
                text = gauge_access::ElementText(element);
            else
                WarnOnce("a string element of " + NameOf(element->gauge) + " has no text buffer; drawn empty");
            DrawStringElement(cr, *string, text, fonts_);
            break;
        }
        default:
            WarnOnce("an element of " + NameOf(element->gauge) + " has the unknown kind " +
                     std::to_string(static_cast<int>(element->kind)) + "; not drawn");
            break;
    }
}

}  // namespace render
