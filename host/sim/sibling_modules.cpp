#include "sim/sibling_modules.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr const char* kBlockName = "$$$AVRIONDATAEXCHANGER$$$";
constexpr const char* kGuardNameFormat = "$$$AVRIONSECUREEVENT_%d";
constexpr std::size_t kBlockBytes = 944;
}  // namespace

SiblingModules::SiblingModules() {
    mapping_ = platform::OpenNamedMapping(kBlockName);
    bool created = false;
    if (mapping_ == nullptr) {
        mapping_ = platform::CreateNamedMapping(kBlockName, kBlockBytes);
        created = true;
    }
    if (mapping_ == nullptr) return;
    void* view = platform::MapView(mapping_, kBlockBytes);
    if (view == nullptr) return;
    if (created) std::memset(view, 0, kBlockBytes);
    slots_ = static_cast<double*>(view);
    // The siblings keep every guard open too, as modules whose exchangers
    // live as long as they do. The module's own opens of a guard then find
    // it existing, instead of creating and discarding it on each access.
    for (int slot = 0; slot < kSlotCount; ++slot) Guard(slot);
}

SiblingModules::~SiblingModules() {
    if (slots_ != nullptr) platform::UnmapView(slots_, kBlockBytes);
    platform::CloseNamedObject(mapping_);
    for (platform::Handle guard : guards_) platform::CloseNamedObject(guard);
}

platform::Handle SiblingModules::Guard(int slot) {
    if (slot < 0 || slot >= kSlotCount) return nullptr;
    if (guards_[slot] == nullptr) {
        char name[48];
        std::snprintf(name, sizeof name, kGuardNameFormat, slot);
        guards_[slot] = platform::CreateNamedEvent(name, /*manualReset=*/true, /*initiallySignalled=*/true);
    }
    return guards_[slot];
}

bool SiblingModules::SetSlot(int slot, double value) {
    platform::Handle guard = Guard(slot);
    if (!valid() || guard == nullptr || !platform::TestEvent(guard)) return false;
    platform::ResetNamedEvent(guard);
    slots_[slot] = value;
    platform::SetNamedEvent(guard);
    return true;
}

bool SiblingModules::ReadSlot(int slot, double& value) {
    platform::Handle guard = Guard(slot);
    if (!valid() || guard == nullptr || !platform::TestEvent(guard)) return false;
    platform::ResetNamedEvent(guard);
    value = slots_[slot];
    platform::SetNamedEvent(guard);
    return true;
}

bool SiblingModules::HoldSlot(int slot) {
    platform::Handle guard = Guard(slot);
    return guard != nullptr && platform::ResetNamedEvent(guard);
}

void SiblingModules::ReleaseSlot(int slot) {
    if (platform::Handle guard = Guard(slot)) platform::SetNamedEvent(guard);
}
