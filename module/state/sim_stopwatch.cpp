#include "state/sim_stopwatch.h"

#include "state/simulator_variables.h"

namespace {
double SimulatorClock() { return simulator_variables::LookUpFloat(simulator_variables::simulatorClock); }
}  // namespace

SimStopwatch::SimStopwatch() : running(false), startTime(0.0) {}

void SimStopwatch::Start() {
    startTime = SimulatorClock();
    running = true;
}

double SimStopwatch::Elapsed() { return running ? SimulatorClock() - startTime : 0.0; }

void SimStopwatch::Stop() { running = false; }
