#include "web/window_signature.h"

#include "sim/gauge_access.h"

namespace web {
namespace {

template <typename Value>
void Append(std::string& bytes, const Value& value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void AppendElement(std::string& bytes, ELEMENT_HEADER* element, render::GaugeRenderer& renderer) {
    Append(bytes, element->imageFlags);
    Append(bytes, element->position);
    switch (element->kind) {
        case kElementIcon:
            Append(bytes, gauge_access::ElementValue(element));
            break;
        case kElementNeedle:
            Append(bytes, renderer.NeedleAngleOf(element).value_or(0.0));
            break;
        case kElementString: {
            const auto* string = reinterpret_cast<const ELEMENT_STRING*>(element);
            // Without a text buffer the callback must not run; the renderer draws it empty.
            if (string->text != nullptr) bytes += gauge_access::ElementText(element);
            bytes += '\0';
            Append(bytes, string->textColour);
            Append(bytes, string->backgroundColour);
            Append(bytes, string->fontFlags);
            break;
        }
        default:
            break;
    }
}

}  // namespace

std::string WindowSignature(const render::PanelWindow& window, const render::GaugeDirectory& gauges,
                            render::GaugeRenderer& renderer) {
    std::string bytes;
    for (const render::GaugePlacement& placement : window.gauges) {
        const GAUGEHDR* gauge = gauges.Find(placement);
        if (gauge == nullptr) continue;  // drawn as a placeholder, which never changes
        renderer.Update(gauge);
        for (ELEMENT_HEADER* element : render::ChainOrder(gauge)) AppendElement(bytes, element, renderer);
    }
    return bytes;
}

}  // namespace web
