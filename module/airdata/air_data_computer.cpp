#include "airdata/air_data_computer.h"

AirDataComputer::AirDataComputer() : owner(nullptr) {}

AirDataComputer::~AirDataComputer() = default;

void AirDataComputer::Update() {}
