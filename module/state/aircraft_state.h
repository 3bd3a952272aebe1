// The module's one model object: the snapshot of simulator variables taken at
// the start of every frame, and the four system objects that it owns.
#pragma once

#include <cstdint>

class FireProtectionSystem;
class AirDataComputer;
class AircraftSystems;
class A723Receiver;

class AircraftState {
public:
    AircraftState();
    ~AircraftState();
    AircraftState(const AircraftState&) = delete;
    AircraftState& operator=(const AircraftState&) = delete;

    // The frame: snapshot, then each system in a fixed order.
    void Update();
    void TakeSnapshot();

    // Snapshot, filled only by TakeSnapshot; zero before the first frame.
    double speedKmh;
    double latitudeDeg;
    double longitudeDeg;
    double simTime;  // simulator seconds
    double aircraftVar54;
    double engineValues[3];  // an engine runs when its entry is above 50
    double airTempC;
    double pressureSetting16;  // sixteenths of a millibar
    float token4Value;
    float supplyVoltage;
    double speedToken61;
    double machRaw;  // Mach = value / 65536 * 3.2
    double altitudeM;
    std::uint32_t transponderCodeBcd;  // four 4-bit digits, most significant first
    bool token322Flag;
    double fuelGallons;
    bool token60Flag;
    double token333Value;

    FireProtectionSystem* fireProtection;
    AirDataComputer* airData;
    AircraftSystems* systems;
    A723Receiver* receiver;
};
