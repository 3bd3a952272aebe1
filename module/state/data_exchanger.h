// One access to the table of 116 shared slots that the aircraft's gauge
// modules publish to each other. Construct one for a single read or write and
// destroy it straight after: the block and the slot guards exist only while
// some module holds them open.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/kernel_objects.h"
#include "state/shared_slots.h"

class DataExchanger {
public:
    static constexpr int kSlotCount = shared_slot::kCount;
    static constexpr std::size_t kBlockBytes = 944;
    static constexpr const char* kBlockName = "$$$AVRIONDATAEXCHANGER$$$";
    static constexpr const char* kEventNameFormat = "$$$AVRIONSECUREEVENT_%d";

    DataExchanger();
    ~DataExchanger();
    DataExchanger(const DataExchanger&) = delete;
    DataExchanger& operator=(const DataExchanger&) = delete;

    // True when stored; false when the block is missing, the slot is busy or
    // the slot number is outside 0 to 115.
    bool Write(int slot, double value);
    // The slot's value, or -1.0 when the read fails as a write would.
    double Read(int slot);

    // Opens every slot's guard up front instead of only the accessed one.
    // Nothing a sibling can observe differs; kept to measure the cost.
    void OpenAllEvents();

    bool valid;
    platform::Handle mapping;
    double* slots;
    std::unique_ptr<platform::Handle[]> events;  // opened on first use of a slot

private:
    // The slot's guard, held and free to use; null when the slot is busy.
    platform::Handle TakeSlot(int slot);
    platform::Handle SlotEvent(int slot);
};
