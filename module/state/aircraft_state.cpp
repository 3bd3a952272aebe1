#include "state/aircraft_state.h"

#include "a723/a723_receiver.h"
#include "airdata/air_data_computer.h"
#include "frame/panels.h"
#include "pps/fire_protection_system.h"
#include "state/simulator_variables.h"
#include "state/snapshot_conversions.h"
#include "systems/aircraft_systems.h"

namespace {
// Slot 75 query: aircraft variable 54 in unit 63.
constexpr int kAircraftVariable54 = 54;
constexpr int kAircraftVariable54Unit = 63;
}  // namespace

// The snapshot fields are deliberately not initialised here: the one instance
// is static, so they are zero until the first frame.
AircraftState::AircraftState()
    : fireProtection(new FireProtectionSystem),
      airData(new AirDataComputer),
      systems(new AircraftSystems),
      receiver(new A723Receiver) {
    // The system objects are complete before any of them learns its owner.
    fireProtection->owner = this;
    airData->owner = this;
    systems->owner = this;
    receiver->owner = this;
}

// Destroyed in the order they were created.
AircraftState::~AircraftState() {
    delete fireProtection;
    delete airData;
    delete systems;
    delete receiver;
}

void AircraftState::Update() {
    TakeSnapshot();
    fireProtection->Update();
    airData->Update();
    systems->Update();
    receiver->Update();
}

void AircraftState::TakeSnapshot() {
    namespace vars = simulator_variables;
    namespace convert = snapshot_conversions;

    speedKmh = convert::SpeedKmh(vars::LookUpFloat(vars::groundSpeed));
    latitudeDeg = convert::LatitudeDeg(vars::LookUpFloat(vars::latitude));
    longitudeDeg = convert::LongitudeDeg(vars::LookUpFloat(vars::longitude));
    simTime = vars::LookUpFloat(vars::simulatorClock);
    aircraftVar54 = panels::AircraftVariable(kAircraftVariable54, kAircraftVariable54Unit, 0);
    engineValues[0] = vars::LookUpFloat(vars::engine1);
    engineValues[1] = vars::LookUpFloat(vars::engine2);
    engineValues[2] = vars::LookUpFloat(vars::engine3);
    airTempC = vars::LookUpFloat(vars::airTemperature);
    pressureSetting16 = vars::LookUpFloat(vars::pressureSetting);
    token4Value = convert::RoundToFloat(vars::LookUpFloat(vars::token4));
    supplyVoltage = convert::RoundToFloat(vars::LookUpFloat(vars::supplyVoltage));
    speedToken61 = vars::LookUpFloat(vars::speed61);
    machRaw = vars::LookUpFloat(vars::mach);
    altitudeM = vars::LookUpFloat(vars::altitude);
    transponderCodeBcd = vars::LookUpInteger(vars::transponderCode);
    token322Flag = convert::Flag(vars::LookUpFloat(vars::token322));
    fuelGallons = vars::LookUpFloat(vars::fuel);
    token60Flag = convert::Flag(vars::LookUpFloat(vars::token60));
    token333Value = vars::LookUpFloat(vars::token333);
}
