#include "sim/gauge_access.h"

#include <cstring>

namespace gauge_access {
namespace {

void Walk(ELEMENT_HEADER* const* list, std::vector<ELEMENT_HEADER*>& out) {
    for (; list != nullptr && *list != nullptr; ++list) {
        out.push_back(*list);
        Walk((*list)->children, out);
    }
}

ElementCallback CallbackOf(ELEMENT_HEADER* element) {
    switch (element->kind) {
        case kElementIcon:
            return reinterpret_cast<ELEMENT_ICON*>(element)->callback;
        case kElementNeedle:
            return reinterpret_cast<ELEMENT_NEEDLE*>(element)->callback;
        case kElementString:
            return reinterpret_cast<ELEMENT_STRING*>(element)->callback;
        default:
            return nullptr;
    }
}

}  // namespace

std::vector<ELEMENT_HEADER*> Elements(const GAUGEHDR* gauge) {
    std::vector<ELEMENT_HEADER*> elements;
    if (gauge != nullptr) Walk(gauge->elements, elements);
    return elements;
}

double ElementValue(ELEMENT_HEADER* element) {
    ElementCallback callback = element != nullptr ? CallbackOf(element) : nullptr;
    return callback != nullptr ? callback(element) : 0.0;
}

std::string ElementText(ELEMENT_HEADER* element) {
    if (element == nullptr || element->kind != kElementString) return std::string();
    auto* text = reinterpret_cast<ELEMENT_STRING*>(element);
    ElementValue(element);
    if (text->text == nullptr) return std::string();
    return std::string(text->text, strnlen(text->text, std::size_t{text->charCount}));
}

std::vector<MouseArea> ChildAreas(const GAUGEHDR* gauge) {
    std::vector<MouseArea> areas;
    if (gauge == nullptr || gauge->mouseRects == nullptr) return areas;
    // Offsets of the open parent areas; each box is relative to the innermost.
    std::vector<std::pair<int, int>> parents{{0, 0}};
    for (const MOUSERECT* rect = gauge->mouseRects; rect->kind != kMouseEnd; ++rect) {
        const auto [baseX, baseY] = parents.back();
        switch (rect->kind) {
            case kMouseParent:
                parents.emplace_back(baseX + rect->x, baseY + rect->y);
                break;
            case kMouseCloseParent:
                if (parents.size() > 1) parents.pop_back();
                break;
            case kMouseChild:
                areas.push_back({rect, baseX + rect->x, baseY + rect->y, rect->width, rect->height});
                break;
            default:
                break;
        }
    }
    return areas;
}

std::optional<MouseArea> AreaAt(const GAUGEHDR* gauge, int x, int y) {
    for (const MouseArea& area : ChildAreas(gauge))
        if (x >= area.x && x < area.x + area.width && y >= area.y && y < area.y + area.height) return area;
    return std::nullopt;
}

bool DeliverMouse(const GAUGEHDR* gauge, int x, int y, std::uint32_t eventFlags) {
    const auto area = AreaAt(gauge, x, y);
    if (!area || (area->rect->eventMask & eventFlags) == 0 || area->rect->handler == nullptr) return false;
    PIXPOINT point{x, y};
    area->rect->handler(&point, eventFlags);
    return true;
}

}  // namespace gauge_access
