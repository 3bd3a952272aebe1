// Measures elapsed simulator time (not wall time) for timed sequences.
#pragma once

class SimStopwatch {
public:
    SimStopwatch();

    void Start();
    // Simulator seconds since Start while running, else 0.
    double Elapsed();
    void Stop();

    bool running;
    double startTime;  // simulator seconds
};
