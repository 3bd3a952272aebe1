// The PPS fire protection panel: lamps, flash sequence and siren arming.
#pragma once

class AircraftState;

class FireProtectionSystem {
public:
    FireProtectionSystem();
    ~FireProtectionSystem();
    FireProtectionSystem(const FireProtectionSystem&) = delete;
    FireProtectionSystem& operator=(const FireProtectionSystem&) = delete;

    void Update();

    AircraftState* owner;  // set by the owner once every system exists
};
