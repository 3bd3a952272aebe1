#include "pps/fire_protection_system.h"

FireProtectionSystem::FireProtectionSystem() : owner(nullptr) {}

FireProtectionSystem::~FireProtectionSystem() = default;

void FireProtectionSystem::Update() {}
