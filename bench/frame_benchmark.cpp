// What the shared slots and the frame cost the simulator.
#include <benchmark/benchmark.h>

#include "frame/exports.h"
#include "frame/module_objects.h"
#include "sim/sibling_modules.h"
#include "sim/simulator.h"
#include "state/data_exchanger.h"

namespace {

// One access as the systems make it, with a sibling module holding the block.
void BM_ReadWithSiblingHolding(benchmark::State& state) {
    SiblingModules sibling;
    sibling.SetSlot(109, 1.0);
    for (auto _ : state) benchmark::DoNotOptimize(DataExchanger().Read(109));
}
BENCHMARK(BM_ReadWithSiblingHolding);

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
