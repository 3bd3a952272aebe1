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
inline constexpr std::uint32_t kBackgroundImageFlags = 0x1;

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

constexpr MOUSERECT MouseArea(MouseRectKind kind) {
    MOUSERECT area{};
    area.kind = kind;
    area.cursor = -1;
    return area;
}
constexpr MOUSERECT MouseOpenParent() { return MouseArea(kMouseParent); }
constexpr MOUSERECT MouseCloseParent() { return MouseArea(kMouseCloseParent); }
constexpr MOUSERECT MouseListEnd() { return MouseArea(kMouseEnd); }

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
