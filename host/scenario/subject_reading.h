// What a subject reads at a moment of a run: the one place that decides how a
// variable, an element of a gauge, a slot or a window is read, for the
// expectations, the trace and the plots alike.
#pragma once

#include <optional>
#include <string>

#include "frame/panel_records.h"
#include "scenario/scenario.h"

class ModuleHost;
class Simulator;
class SiblingModules;

namespace scenario {

struct Reading {
    std::optional<double> number;  // what plots draw and values compare; none for a text or an unreadable slot
    std::string text;              // as the trace writes it
};

class SubjectReader {
public:
    SubjectReader(const ModuleHost& host, const Simulator& simulator, SiblingModules& siblings)
        : host_(host), simulator_(simulator), siblings_(siblings) {}

    Reading Read(const Subject& subject) const;
    // Element number of the named gauge, from 1; null when there is none.
    ELEMENT_HEADER* Element(const std::string& gauge, int number) const;

private:
    const ModuleHost& host_;
    const Simulator& simulator_;
    SiblingModules& siblings_;
};

}  // namespace scenario
