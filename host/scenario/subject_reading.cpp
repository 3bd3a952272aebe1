#include "scenario/subject_reading.h"

#include "loader/module_host.h"
#include "sim/gauge_access.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"

namespace scenario {
namespace {

Reading Number(double value) { return {value, FormatNumber(value)}; }

}  // namespace

ELEMENT_HEADER* SubjectReader::Element(const std::string& gauge, int number) const {
    const auto elements = gauge_access::Elements(host_.FindGauge(gauge));
    if (number < 1 || number > static_cast<int>(elements.size())) return nullptr;
    return elements[static_cast<std::size_t>(number) - 1];
}

Reading SubjectReader::Read(const Subject& subject) const {
    return std::visit(
        Overloaded{
            [&](const VariableSubject& v) {
                const double raw = variables::RawValue(simulator_, *v.variable);
                if (v.variable->digits())
                    return Reading{raw, variables::FormatTransponderDigits(static_cast<unsigned>(raw))};
                return Number(raw / v.unit.toRaw);
            },
            [&](const ElementSubject& e) {
                ELEMENT_HEADER* element = Element(e.gauge, e.element);
                if (e.text) return Reading{std::nullopt, gauge_access::ElementText(element)};
                return Number(gauge_access::ElementValue(element));
            },
            [&](const SlotSubject& s) {
                double value = 0.0;
                return siblings_.ReadSlot(s.slot, value) ? Number(value) : Reading{std::nullopt, "busy"};
            },
            [&](const WindowSubject& w) {
                const bool shown = simulator_.IsWindowShown(w.window);
                return Reading{shown ? 1.0 : 0.0, shown ? "1" : "0"};
            },
        },
        subject);
}

}  // namespace scenario
