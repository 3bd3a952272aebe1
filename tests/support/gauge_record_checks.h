// Checks of a gauge's static records against tables written from their
// description: the element chain, a needle's point table, the mouse list.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/panel_records.h"
#include "sim/gauge_access.h"
#include "support/module_fixture.h"

namespace gauge_records {

struct ElementRow {
    ElementKind kind;
    std::int32_t bitmapId;
    PIXPOINT position;
    std::uint32_t imageFlags;
    std::int32_t pictures;  // icons only
    bool hasCallback;
};

struct PointRow {
    std::int32_t x, y;
    double value;
};

struct AreaRow {
    MouseRectKind kind;
    int x, y, width, height;
    std::int32_t cursor;
    std::uint32_t eventMask;
};

inline constexpr AreaRow kParent = {kMouseParent, 0, 0, 0, 0, -1, 0};
inline constexpr AreaRow kClose = {kMouseCloseParent, 0, 0, 0, 0, -1, 0};

inline AreaRow Child(int x, int y, int width, int height, std::int32_t cursor, std::uint32_t mask) {
    return {kMouseChild, x, y, width, height, cursor, mask};
}

// The image flags as the module set them: without the on-screen bit, which the
// simulator sets as it draws.
inline std::uint32_t ModuleImageFlags(const ELEMENT_HEADER* element) {
    return element->imageFlags & ~image_flag::kOnScreen;
}

// A chain: each element holds exactly the next one; the background is the
// gauge's one top-level element.
inline void ExpectChain(const GAUGEHDR* gauge, const std::vector<ElementRow>& rows) {
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->version, 900);
    EXPECT_EQ(gauge->sizeValue, 300);
    const auto elements = gauge_access::Elements(gauge);
    ASSERT_EQ(elements.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(testing::Message() << gauge->name << " element " << i + 1);
        const ELEMENT_HEADER* element = elements[i];
        const ElementRow& row = rows[i];
        EXPECT_EQ(element->kind, row.kind);
        EXPECT_EQ(element->bitmapId, row.bitmapId);
        EXPECT_EQ(element->position.x, row.position.x);
        EXPECT_EQ(element->position.y, row.position.y);
        EXPECT_EQ(ModuleImageFlags(element), row.imageFlags);
        EXPECT_EQ(element->gauge, gauge);
        EXPECT_EQ(element->failures, nullptr);
        if (element->kind != kElementNeedle) {
            EXPECT_EQ(element->offset.x, 0);
            EXPECT_EQ(element->offset.y, 0);
        }
        if (i + 1 < rows.size()) {
            ASSERT_NE(element->children, nullptr);
            EXPECT_EQ(element->children[0], elements[i + 1]);
            EXPECT_EQ(element->children[1], nullptr);
        } else {
            EXPECT_EQ(element->children, nullptr);
        }
        if (element->kind == kElementIcon) {
            const auto* icon = reinterpret_cast<const ELEMENT_ICON*>(element);
            EXPECT_EQ(icon->pictureCount, row.pictures);
            EXPECT_EQ(icon->callback != nullptr, row.hasCallback);
        } else if (element->kind == kElementNeedle) {
            EXPECT_NE(reinterpret_cast<const ELEMENT_NEEDLE*>(element)->callback, nullptr);
        }
    }
    EXPECT_EQ(gauge->elements[0], elements[0]);
    EXPECT_EQ(gauge->elements[1], nullptr);
}

inline void ExpectNeedle(const ELEMENT_HEADER* element, PIXPOINT pivotInBitmap, int maxTurn,
                         const std::vector<PointRow>& points) {
    ASSERT_NE(element, nullptr);
    ASSERT_EQ(element->kind, kElementNeedle);
    const auto* needle = reinterpret_cast<const ELEMENT_NEEDLE*>(element);
    EXPECT_EQ(needle->header.offset.x, pivotInBitmap.x);
    EXPECT_EQ(needle->header.offset.y, pivotInBitmap.y);
    EXPECT_EQ(needle->maxTurnDegrees, maxTurn);
    ASSERT_EQ(needle->pointCount, static_cast<std::int32_t>(points.size()));
    ASSERT_NE(needle->points, nullptr);
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "needle point " << i);
        EXPECT_EQ(needle->points[i].x, points[i].x);
        EXPECT_EQ(needle->points[i].y, points[i].y);
        EXPECT_EQ(needle->points[i].value, points[i].value);
    }
}

// The whole list, parents and closes included, then the terminator.
inline void ExpectMouseList(const GAUGEHDR* gauge, const std::vector<AreaRow>& rows) {
    ASSERT_NE(gauge, nullptr);
    const MOUSERECT* list = gauge->mouseRects;
    ASSERT_NE(list, nullptr);
    for (std::size_t i = 0; i <= rows.size(); ++i) {
        SCOPED_TRACE(testing::Message() << gauge->name << " mouse entry " << i + 1);
        const MOUSERECT& rect = list[i];
        const AreaRow row = i < rows.size() ? rows[i] : AreaRow{kMouseEnd, 0, 0, 0, 0, -1, 0};
        EXPECT_EQ(rect.kind, row.kind);
        EXPECT_EQ(rect.x, row.x);
        EXPECT_EQ(rect.y, row.y);
        EXPECT_EQ(rect.width, row.width);
        EXPECT_EQ(rect.height, row.height);
        EXPECT_EQ(rect.cursor, row.cursor);
        EXPECT_EQ(rect.helpId, 0);
        EXPECT_EQ(rect.eventMask, row.eventMask);
        EXPECT_EQ(rect.eventId, 0);
        EXPECT_EQ(rect.handler != nullptr, row.kind == kMouseChild);
    }
}

// A flat list of child areas inside the one parent area.
inline void ExpectChildAreas(const GAUGEHDR* gauge, std::vector<AreaRow> children) {
    children.insert(children.begin(), kParent);
    children.push_back(kClose);
    ExpectMouseList(gauge, children);
}

// How far the simulator reads and writes a record of each kind from its start:
// its own sizes on its 32-bit target, the records' pointer-wide sizes elsewhere.
inline std::size_t ElementExtent(ElementKind kind) {
    constexpr bool kSimulatorTarget = sizeof(void*) == 4;
    switch (kind) {
        case kElementNeedle:
            return kSimulatorTarget ? simulator_size::kNeedle : sizeof(ELEMENT_NEEDLE);
        case kElementString:
            return kSimulatorTarget ? simulator_size::kString : sizeof(ELEMENT_STRING);
        case kElementIcon:
            return kSimulatorTarget ? simulator_size::kIcon : sizeof(ELEMENT_ICON);
        default:
            return kSimulatorTarget ? simulator_size::kStaticImage : sizeof(ELEMENT_STATIC_IMAGE);
    }
}

// Every record the simulator reaches from the gauges (headers, element lists,
// elements, needle tables, mouse lists) lies apart from every other:
// none starts inside another's extent, where the simulator's own writes to
// the first would land on it.
inline void ExpectRecordsApart(const std::vector<GAUGEHDR*>& gauges) {
    struct Record {
        const void* start;
        std::size_t extent;
        std::string what;
    };
    std::vector<Record> records;
    auto add = [&](const void* start, std::size_t extent, std::string what) {
        if (start != nullptr) records.push_back({start, extent, std::move(what)});
    };
    auto addList = [&](ELEMENT_HEADER* const* list, const std::string& what) {
        std::size_t count = 1;
        while (list != nullptr && list[count - 1] != nullptr) ++count;
        add(list, count * sizeof(ELEMENT_HEADER*), what);
    };
    for (const GAUGEHDR* gauge : gauges) {
        const std::string name = gauge->name;
        add(gauge, sizeof(GAUGEHDR), name + " header");
        addList(gauge->elements, name + " element list");
        std::size_t areas = 1;
        while (gauge->mouseRects != nullptr && gauge->mouseRects[areas - 1].kind != kMouseEnd) ++areas;
        add(gauge->mouseRects, areas * sizeof(MOUSERECT), name + " mouse list");
        int number = 0;
        for (const ELEMENT_HEADER* element : gauge_access::Elements(gauge)) {
            const std::string what = name + " element " + std::to_string(++number);
            add(element, ElementExtent(element->kind), what);
            addList(element->children, what + " children");
            if (element->kind == kElementNeedle) {
                const auto* needle = reinterpret_cast<const ELEMENT_NEEDLE*>(element);
                add(needle->points, needle->pointCount * sizeof(NEEDLE_POINT), what + " points");
            }
        }
    }
    std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
        return std::less<const void*>()(a.start, b.start);
    });
    for (std::size_t i = 1; i < records.size(); ++i) {
        const Record& before = records[i - 1];
        const Record& after = records[i];
        if (after.start == before.start && after.extent == before.extent) continue;  // one record reached twice
        const auto* end = static_cast<const char*>(before.start) + before.extent;
        EXPECT_GE(static_cast<const char*>(after.start), end)
            << after.what << " starts inside " << before.what << " (" << before.extent << " bytes)";
    }
}

// A freshly loaded module whose gauges are named for the checks above.
class RecordsFixture : public ModuleFixture {
protected:
    void ExpectChain(const char* name, const std::vector<ElementRow>& rows) {
        gauge_records::ExpectChain(Gauge(name), rows);
    }
    void ExpectNeedle(const char* name, int number, PIXPOINT pivotInBitmap, int maxTurn,
                      const std::vector<PointRow>& points) {
        SCOPED_TRACE(testing::Message() << name << " needle " << number);
        gauge_records::ExpectNeedle(Element(name, number), pivotInBitmap, maxTurn, points);
    }
    void ExpectMouseList(const char* name, const std::vector<AreaRow>& rows) {
        gauge_records::ExpectMouseList(Gauge(name), rows);
    }
    void ExpectChildAreas(const char* name, const std::vector<AreaRow>& children) {
        gauge_records::ExpectChildAreas(Gauge(name), children);
    }
};

}  // namespace gauge_records
