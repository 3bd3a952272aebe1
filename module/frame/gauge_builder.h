// Builders for the static records of a gauge. Everything here is evaluated at
// compile time, so the records are constant-initialised data that exists
// before any static constructor runs.
#pragma once

#include "frame/gauge_callbacks.h"
#include "frame/generic_routines.h"
#include "frame/panel_records.h"

namespace gauge_builder {

inline constexpr std::int32_t kVersionLogic = 800;
inline constexpr std::int32_t kVersionVisible = 900;
inline constexpr std::int32_t kSizeLogic = 1;
inline constexpr std::int32_t kSizeVisible = 300;
inline constexpr std::uint32_t kBackgroundImageFlags = image_flag::kTransparent;

constexpr ELEMENT_STATIC_IMAGE BackgroundImage(std::int32_t bitmapId, GAUGEHDR* gauge,
                                               ELEMENT_HEADER** children = nullptr,
                                               std::uint32_t imageFlags = kBackgroundImageFlags) {
    ELEMENT_STATIC_IMAGE image{};
    image.header.kind = kElementStaticImage;
    image.header.bitmapId = bitmapId;
    image.header.gauge = gauge;
    image.header.children = children;
    image.header.imageFlags = imageFlags;
    return image;
}

// Image flags of the elements above the background.
inline constexpr std::uint32_t kImageTransparentErase = image_flag::kTransparent | image_flag::kErase;
inline constexpr std::uint32_t kImageTransparentEraseBright = kImageTransparentErase | image_flag::kBright;

constexpr ELEMENT_HEADER ElementHeader(ElementKind kind, std::int32_t bitmapId, PIXPOINT position, GAUGEHDR* gauge,
                                       ELEMENT_HEADER** children, std::uint32_t imageFlags) {
    ELEMENT_HEADER header{};
    header.kind = kind;
    header.bitmapId = bitmapId;
    header.position = position;
    header.gauge = gauge;
    header.children = children;
    header.imageFlags = imageFlags;
    return header;
}

// An icon showing picture k (bitmap bitmapId + k) for a callback result of
// k, or nothing for -1.
constexpr ELEMENT_ICON Icon(std::int32_t bitmapId, PIXPOINT position, std::int32_t pictureCount,
                            std::uint32_t imageFlags, ElementCallback callback, GAUGEHDR* gauge,
                            ELEMENT_HEADER** children = nullptr) {
    ELEMENT_ICON icon{};
    icon.header = ElementHeader(kElementIcon, bitmapId, position, gauge, children, imageFlags);
    icon.pictureCount = pictureCount;
    icon.callback = callback;
    return icon;
}

constexpr NEEDLE_POINT NeedlePoint(std::int32_t x, std::int32_t y, double value) {
    NEEDLE_POINT point{};
    point.x = x;
    point.y = y;
    point.value = value;
    return point;
}

// A needle turning about its pivot on the gauge; pivotInBitmap is the pivot
// inside the needle's bitmap, which is drawn pointing to the right.
constexpr ELEMENT_NEEDLE Needle(std::int32_t bitmapId, PIXPOINT pivot, PIXPOINT pivotInBitmap, NEEDLE_POINT* points,
                                std::int32_t pointCount, std::int32_t maxTurnDegrees, std::uint32_t imageFlags,
                                ElementCallback callback, GAUGEHDR* gauge, ELEMENT_HEADER** children = nullptr) {
    ELEMENT_NEEDLE needle{};
    needle.header = ElementHeader(kElementNeedle, bitmapId, pivot, gauge, children, imageFlags);
    needle.header.offset = pivotInBitmap;
    needle.points = points;
    needle.pointCount = pointCount;
    needle.maxTurnDegrees = maxTurnDegrees;
    needle.callback = callback;
    return needle;
}

inline constexpr std::uint32_t kTextColourPale = 0x00F4F4EA;  // 0x00BBGGRR
inline constexpr std::int32_t kFontWeightNormal = 400;
inline constexpr std::int32_t kCharSetDefault = 1;
inline constexpr std::int32_t kFontFlags = 32;

// A line of text in Courier New; the simulator supplies its buffer and the
// callback writes the text (see element_text.h).
constexpr ELEMENT_STRING Text(PIXPOINT position, std::int32_t boxWidth, std::int32_t boxHeight, std::int32_t charCount,
                              std::uint32_t textColour, std::uint32_t backgroundColour, std::uint32_t highlightColour,
                              std::uint32_t imageFlags, ElementCallback callback, GAUGEHDR* gauge,
                              ELEMENT_HEADER** children = nullptr) {
    ELEMENT_STRING text{};
    text.header = ElementHeader(kElementString, -1, position, gauge, children, imageFlags);
    text.boxWidth = boxWidth;
    text.boxHeight = boxHeight;
    text.textColour = textColour;
    text.backgroundColour = backgroundColour;
    text.highlightColour = highlightColour;
    constexpr char kFont[] = "Courier New";
    for (std::size_t i = 0; i < sizeof kFont; ++i) text.fontName[i] = kFont[i];
    text.fontWeight = kFontWeightNormal;
    text.charSet = kCharSetDefault;
    text.fontFlags = kFontFlags;
    text.charCount = static_cast<std::uint16_t>(charCount);
    text.callback = callback;
    return text;
}

constexpr MOUSERECT MouseArea(MouseRectKind kind) {
    MOUSERECT area{};
    area.kind = kind;
    area.cursor = -1;
    return area;
}
constexpr MOUSERECT MouseOpenParent() { return MouseArea(kMouseParent); }
constexpr MOUSERECT MouseCloseParent() { return MouseArea(kMouseCloseParent); }
constexpr MOUSERECT MouseListEnd() { return MouseArea(kMouseEnd); }

// A child area: box relative to its parent, the cursor it shows, the events
// that wake its handler.
constexpr MOUSERECT MouseChild(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                               std::int32_t cursor, std::uint32_t eventMask, MouseHandler handler) {
    MOUSERECT area{};
    area.kind = kMouseChild;
    area.x = x;
    area.y = y;
    area.width = width;
    area.height = height;
    area.cursor = cursor;
    area.eventMask = eventMask;
    area.handler = handler;
    return area;
}

constexpr GAUGEHDR GaugeHeader(std::int32_t version, const char* name, ELEMENT_HEADER** elements,
                               std::int32_t sizeValue, MOUSERECT* mouseRects, GaugeCallback callback) {
    GAUGEHDR header{};
    header.version = version;
    header.name = name;
    header.elements = elements;
    header.routine1 = GenericRoutine1;
    header.routine2 = GenericRoutine2;
    header.routine3 = GenericRoutine3;
    header.routine4 = GenericRoutine4;
    header.routine5 = GenericRoutine5;
    header.routine6 = GenericRoutine6;
    header.routine7 = GenericRoutine7;
    header.sizeValue = sizeValue;
    header.mouseRects = mouseRects;
    header.callback = callback;
    return header;
}

// Header of every gauge but logic: version 900, size 300, the idle callback.
constexpr GAUGEHDR VisibleGaugeHeader(const char* name, ELEMENT_HEADER** elements, MOUSERECT* mouseRects) {
    return GaugeHeader(kVersionVisible, name, elements, kSizeVisible, mouseRects, IdleGaugeCallback);
}

}  // namespace gauge_builder

// A visible gauge that so far has only its background image and an empty
// mouse list (one parent area, its close and the end of the list).
#define AVRION_BACKGROUND_ONLY_GAUGE(gaugeName, bitmapId)                                                         \
    namespace gauges {                                                                                            \
    namespace gaugeName##_records {                                                                               \
        ELEMENT_STATIC_IMAGE background = gauge_builder::BackgroundImage(bitmapId, &gaugeName);                   \
        ELEMENT_HEADER* elements[] = {&background.header, nullptr};                                               \
        MOUSERECT mouse[] = {gauge_builder::MouseOpenParent(), gauge_builder::MouseCloseParent(),                 \
                             gauge_builder::MouseListEnd()};                                                      \
    }                                                                                                             \
    GAUGEHDR gaugeName =                                                                                          \
        gauge_builder::VisibleGaugeHeader(#gaugeName, gaugeName##_records::elements, gaugeName##_records::mouse); \
    }
