#include "systems/aircraft_systems.h"

AircraftSystems::AircraftSystems() : owner(nullptr) {}

AircraftSystems::~AircraftSystems() = default;

void AircraftSystems::Update() {}
