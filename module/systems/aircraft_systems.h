// Bus power, lamps, clock, transponder, water, heating and the landing model.
#pragma once

class AircraftState;

class AircraftSystems {
public:
    AircraftSystems();
    ~AircraftSystems();
    AircraftSystems(const AircraftSystems&) = delete;
    AircraftSystems& operator=(const AircraftSystems&) = delete;

    void Update();

    AircraftState* owner;  // set by the owner once every system exists
};
