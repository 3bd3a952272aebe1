// Plays the aircraft's other gauge modules: holds the shared slot block open
// and every slot's guard open for as long as it lives, so that values persist
// between the module's accesses, and reads and writes slots under the same
// per-slot guards.
#pragma once

#include <array>

#include "platform/kernel_objects.h"
#include "state/shared_slots.h"

class SiblingModules {
public:
    static constexpr int kSlotCount = shared_slot::kCount;

    SiblingModules();
    ~SiblingModules();
    SiblingModules(const SiblingModules&) = delete;
    SiblingModules& operator=(const SiblingModules&) = delete;

    bool valid() const { return slots_ != nullptr; }

    // False when the slot is out of range, the block is missing or the slot
    // is held by someone else at this instant.
    bool SetSlot(int slot, double value);
    // The slot's value; false when it cannot be read now.
    bool ReadSlot(int slot, double& value);

    // Keeps a slot's guard taken (busy) until released, as a module in the
    // middle of an access would.
    bool HoldSlot(int slot);
    void ReleaseSlot(int slot);

private:
    platform::Handle Guard(int slot);

    platform::Handle mapping_ = nullptr;
    double* slots_ = nullptr;
    std::array<platform::Handle, kSlotCount> guards_{};
};
