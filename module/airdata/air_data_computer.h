// The air-data computer behind the KAI_487 indicator.
#pragma once

class AircraftState;

class AirDataComputer {
public:
    AirDataComputer();
    ~AirDataComputer();
    AirDataComputer(const AirDataComputer&) = delete;
    AirDataComputer& operator=(const AirDataComputer&) = delete;

    void Update();

    AircraftState* owner;  // set by the owner once every system exists
};
