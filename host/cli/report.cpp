#include "cli/report.h"

#include <cstdio>
#include <string>

#include "loader/module_host.h"
#include "sim/host_desktop.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"
#include "sim/variable_catalogue.h"
#include "state/shared_slots.h"

namespace {

std::string Format(const char* format, auto... values) {
    char line[160];
    std::snprintf(line, sizeof line, format, values...);
    return line;
}

void PrintSnapshot(std::ostream& out, const Simulator& simulator) {
    out << "Snapshot taken in the last frame (variables the module looked up):\n";
    out << "  token  variable              value\n";
    for (const auto& [token, value] : simulator.frameLookups()) {
        const variables::Variable* variable = variables::FindToken(token);
        if (variable && variable->digits())
            out << Format("  %5d  %-20s  %04X\n", token, variable->name, simulator.IntegerVariable(token));
        else
            out << Format("  %5d  %-20s  %.10g\n", token, variables::NameOf(token).c_str(), value);
    }
    for (const auto& [variable, unit, index] : simulator.frameAircraftQueries())
        out << Format("  slot 75 (%d, %d, %d)          %.6g\n", variable, unit, index,
                      simulator.AircraftVariable(variable, unit, index));
}

void PrintRequests(std::ostream& out, const Simulator& simulator) {
    out << "What the module asked of the simulator:\n";
    if (simulator.callCounts().empty()) out << "  nothing\n";
    for (const auto& [slot, count] : simulator.callCounts())
        out << Format("  PANELS slot %3d: %llu call(s)\n", slot, static_cast<unsigned long long>(count));
    for (const Simulator::Action& action : simulator.actions()) {
        if (action.slot == panels_slot::kTogglePanelWindow)
            out << Format("  toggled panel window %u (now %s)\n", action.first,
                          simulator.IsWindowShown(action.first) ? "shown" : "hidden");
        else if (action.slot == panels_slot::kSendEvent)
            out << Format("  sent event %u with value %u\n", action.first, action.second);
    }
}

void PrintPublishedSlots(std::ostream& out, SiblingModules& siblings) {
    out << "Shared slots the module publishes:";
    for (int slot : shared_slot::kWrittenByModule) {
        double value = 0.0;
        if (siblings.ReadSlot(slot, value))
            out << Format(" slot %d = %g;", slot, value);
        else
            out << Format(" slot %d unreadable;", slot);
    }
    out << "\n";
}

void PrintMessages(std::ostream& out) {
    const auto& messages = HostDesktop::Instance().messages();
    out << "Message boxes the module showed: " << (messages.empty() ? "none" : "") << "\n";
    for (const HostDesktop::Message& message : messages)
        out << Format("  [%s] %s (style 0x%X)\n", message.caption.c_str(), message.text.c_str(), message.style);
}

}  // namespace

void PrintRunReport(std::ostream& out, const ModuleHost& host, const Simulator& simulator, SiblingModules& siblings,
                    int frames) {
    const MODULE_LINKAGE* linkage = host.linkage();
    out << Format("Module id 0x%X, version 0x%X, %zu gauges; ran %d frame(s) at %g per second, clock now %.3f s\n",
                  linkage->moduleId, linkage->version, host.gauges().size(), frames, simulator.frameRate,
                  simulator.Variable(Simulator::kClockToken));
    PrintSnapshot(out, simulator);
    PrintRequests(out, simulator);
    PrintPublishedSlots(out, siblings);
    PrintMessages(out);
}
