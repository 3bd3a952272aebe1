#include "scenario/scenario_checks.h"

#include <initializer_list>
#include <string>
#include <string_view>

#include "sim/gauge_access.h"

namespace scenario {
namespace {

const char* KindName(ElementKind kind) {
    switch (kind) {
        case kElementStaticImage:
            return "a static picture";
        case kElementNeedle:
            return "a needle";
        case kElementString:
            return "a text";
        case kElementIcon:
            return "an icon";
    }
    return "an element of unknown kind";
}

class GaugeChecker {
public:
    GaugeChecker(const std::vector<GAUGEHDR*>& gauges, std::vector<Problem>& problems)
        : gauges_(gauges), problems_(problems) {}

    const GAUGEHDR* Gauge(const std::string& name, const Location& where) {
        for (const GAUGEHDR* gauge : gauges_)
            if (gauge->name != nullptr && name == gauge->name) return gauge;
        std::string known;
        for (const GAUGEHDR* gauge : gauges_)
            if (gauge->name != nullptr) known += (known.empty() ? "" : ", ") + std::string(gauge->name);
        problems_.push_back({where, "the module has no gauge \"" + name + "\" (its gauges: " + known + ")"});
        return nullptr;
    }

    // The element, if it exists and is of a kind that answers the question.
    void Element(const std::string& gauge, int number, const Location& where, std::string_view asked,
                 std::initializer_list<ElementKind> answering) {
        const GAUGEHDR* header = Gauge(gauge, where);
        if (header == nullptr) return;
        const auto elements = gauge_access::Elements(header);
        if (number < 1 || number > static_cast<int>(elements.size())) {
            problems_.push_back({where, gauge + " has " + std::to_string(elements.size()) +
                                            " elements; there is no element " + std::to_string(number)});
            return;
        }
        const ElementKind kind = elements[static_cast<std::size_t>(number) - 1]->kind;
        for (ElementKind answers : answering)
            if (kind == answers) return;
        problems_.push_back({where, "element " + std::to_string(number) + " of " + gauge + " is " + KindName(kind) +
                                        ", which has no " + std::string(asked)});
    }

    void Mouse(const MouseEvent& event) {
        const GAUGEHDR* gauge = Gauge(event.gauge, event.where);
        if (gauge == nullptr) return;
        if (event.area > 0) {
            const auto areas = gauge_access::ChildAreas(gauge);
            if (event.area > static_cast<int>(areas.size()))
                problems_.push_back({event.where, event.gauge + " has " + std::to_string(areas.size()) +
                                                      " mouse areas; there is no area " + std::to_string(event.area)});
        } else if (!gauge_access::AreaAt(gauge, event.x, event.y)) {
            problems_.push_back({event.where, "the point (" + std::to_string(event.x) + ", " + std::to_string(event.y) +
                                                  ") lies outside every mouse area of " + event.gauge});
        }
    }

private:
    const std::vector<GAUGEHDR*>& gauges_;
    std::vector<Problem>& problems_;
};

}  // namespace

std::vector<Problem> CheckAgainstGauges(const Scenario& scenario, const std::vector<GAUGEHDR*>& gauges) {
    std::vector<Problem> problems;
    GaugeChecker check(gauges, problems);
    for (const MouseEvent& event : scenario.mouse) check.Mouse(event);
    // An element asked for its value (a needle, an icon, a text's number), its text, or its lamp picture.
    const auto element = [&](const Subject& subject, const Location& where, bool lamp) {
        const auto* e = std::get_if<ElementSubject>(&subject);
        if (e == nullptr) return;
        if (e->text)
            check.Element(e->gauge, e->element, where, "text", {kElementString});
        else if (lamp)
            check.Element(e->gauge, e->element, where, "lamp picture", {kElementIcon});
        else
            check.Element(e->gauge, e->element, where, "value", {kElementIcon, kElementNeedle, kElementString});
    };
    for (const Expectation& expect : scenario.expectations)
        element(expect.subject, expect.where, std::holds_alternative<LampLit>(expect.expected));
    for (const TraceColumn& column : scenario.trace) element(column.subject, column.where, false);
    return problems;
}

}  // namespace scenario
