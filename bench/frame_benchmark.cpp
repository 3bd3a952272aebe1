// What the shared slots and the frame cost the simulator.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "frame/exports.h"
#include "frame/module_objects.h"
#include "platform/kernel_objects_table.h"
#include "sim/objects_table.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"
#include "state/data_exchanger.h"

namespace {

// The benchmarks' own table of named objects, never one another run uses.
const std::unique_ptr<ObjectsTable> table = [] {
    std::string error;
    return ObjectsTable::OfItsOwn(error);
}();

// One access as the systems make it, with a sibling module holding the block:
// with one view of the block shared by the process's handles, and with a view
// mapped and unmapped by every access, as before views were shared.
void BM_ReadWithSiblingHolding(benchmark::State& state) {
    const bool separateViews = state.range(0) != 0;
    platform::posix::UseSeparateViews(separateViews);
    SiblingModules sibling;
    sibling.SetSlot(109, 1.0);
    for (auto _ : state) benchmark::DoNotOptimize(DataExchanger().Read(109));
    platform::posix::UseSeparateViews(false);
}
BENCHMARK(BM_ReadWithSiblingHolding)->ArgName("separate_views")->Arg(0)->Arg(1);

// The same access opening all 116 slot guards, for comparison.
void BM_ReadOpeningAllGuards(benchmark::State& state) {
    SiblingModules sibling;
    sibling.SetSlot(109, 1.0);
    for (auto _ : state) {
        DataExchanger exchanger;
        exchanger.OpenAllEvents();
        benchmark::DoNotOptimize(exchanger.Read(109));
    }
}
BENCHMARK(BM_ReadOpeningAllGuards);

// A whole frame of the model, snapshot included.
void BM_AircraftStateFrame(benchmark::State& state) {
    Simulator simulator;
    SiblingModules sibling;
    sibling.SetSlot(109, 1.0);
    ImportTable.panels.pointer = simulator.Panels();
    for (auto _ : state) {
        simulator.BeginFrame();
        aircraftState.Update();
    }
    ImportTable.panels.pointer = nullptr;
}
BENCHMARK(BM_AircraftStateFrame);

}  // namespace
