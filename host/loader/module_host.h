// Runs a gauge module as the simulator does: loads it, hands it the PANELS
// table, starts it, calls its gauges every frame, and shuts it down.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "loader/module_library.h"
#include "loader/simulator_fields.h"
#include "sim/simulator.h"

class ModuleHost {
public:
    explicit ModuleHost(Simulator& simulator) : simulator_(simulator) {}
    ~ModuleHost() { Unload(); }
    ModuleHost(const ModuleHost&) = delete;
    ModuleHost& operator=(const ModuleHost&) = delete;

    // Empty on success, otherwise what went wrong. The module's settings are
    // read at load from the simulator root named by SetSimRoot.
    std::string Load(const std::string& modulePath);
    // ModuleDeinit, then the library is released. Harmless when not loaded.
    void Unload();
    bool loaded() const { return library_.IsOpen(); }

    // One simulator frame: the clock moves on and every gauge's callback is
    // called with the per-frame service id, in Linkage order.
    void RunFrame();
    // Calls one gauge's callback with any service id.
    void Service(GAUGEHDR* gauge, int serviceId);

    const std::vector<GAUGEHDR*>& gauges() const { return gauges_; }
    GAUGEHDR* FindGauge(std::string_view name) const;
    const MODULE_LINKAGE* linkage() const { return library_.linkage(); }

    // Where a panel configuration puts a gauge: written into its header now
    // and at every load, as the simulator does when it creates the gauge.
    void PlaceGauge(std::string_view name, GaugeSite site);

    // Whether every string element's callback kept within its text buffer.
    bool TextBuffersIntact() const;

    // Makes a folder the simulator's installation: the module reads its
    // configuration below it and its sounds relative to it. Set before Load.
    // Empty on success, otherwise what went wrong.
    static std::string SetSimRoot(const std::string& folder);

private:
    Simulator& simulator_;
    ModuleLibrary library_;
    void AttachTextBuffers();

    std::vector<GAUGEHDR*> gauges_;
    SimulatorFields simulatorFields_;
    // The text buffer of each string element: its characters, a terminating
    // zero, then guard bytes that must never change.
    std::vector<std::vector<char>> textBuffers_;
};
