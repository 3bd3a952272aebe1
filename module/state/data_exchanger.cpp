#include "state/data_exchanger.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr double kFailedRead = -1.0;

platform::Handle OpenOrCreateEvent(int slot) {
    char name[48];
    std::snprintf(name, sizeof name, DataExchanger::kEventNameFormat, slot);
    platform::Handle event = platform::OpenNamedEvent(name);
    if (event == nullptr) event = platform::CreateNamedEvent(name, /*manualReset=*/true, /*initiallySignalled=*/true);
    return event;
}

}  // namespace

DataExchanger::DataExchanger()
    : valid(false), mapping(nullptr), slots(nullptr), events(new platform::Handle[kSlotCount]()) {
    bool created = false;
    mapping = platform::OpenNamedMapping(kBlockName);
    if (mapping == nullptr) {
        mapping = platform::CreateNamedMapping(kBlockName, kBlockBytes);
        if (mapping == nullptr) return;
        created = true;
    }
    void* view = platform::MapView(mapping, kBlockBytes);
    if (view == nullptr) return;
    if (created) std::memset(view, 0, kBlockBytes);
    slots = static_cast<double*>(view);
    valid = true;
}

DataExchanger::~DataExchanger() {
    if (slots != nullptr) platform::UnmapView(slots, kBlockBytes);
    platform::CloseNamedObject(mapping);
    for (int slot = 0; slot < kSlotCount; ++slot) platform::CloseNamedObject(events[slot]);
}

void DataExchanger::OpenAllEvents() {
    for (int slot = 0; slot < kSlotCount; ++slot) SlotEvent(slot);
}

platform::Handle DataExchanger::SlotEvent(int slot) {
    if (events[slot] == nullptr) events[slot] = OpenOrCreateEvent(slot);
    return events[slot];
}

platform::Handle DataExchanger::TakeSlot(int slot) {
    if (!valid || slot < 0 || slot >= kSlotCount) return nullptr;
    platform::Handle event = SlotEvent(slot);
    if (event == nullptr || !platform::TestEvent(event)) return nullptr;
    platform::ResetNamedEvent(event);
    return event;
}

bool DataExchanger::Write(int slot, double value) {
    platform::Handle event = TakeSlot(slot);
    if (event == nullptr) return false;
    slots[slot] = value;
    platform::SetNamedEvent(event);
    return true;
}

double DataExchanger::Read(int slot) {
    platform::Handle event = TakeSlot(slot);
    if (event == nullptr) return kFailedRead;
    const double value = slots[slot];
    platform::SetNamedEvent(event);
    return value;
}
