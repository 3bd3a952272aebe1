#include "sim/pointer.h"

#include "sim/gauge_access.h"

namespace {

bool Deliver(const Pointer::Target& target, std::uint32_t flags) {
    return gauge_access::DeliverMouse(target.gauge, target.x, target.y, flags);
}

}  // namespace

bool Pointer::Click(const Target& target, std::uint32_t flags) { return Deliver(target, flags); }

bool Pointer::Press(const Target& target) {
    held_ = target;
    pressedSinceFrame_ = true;
    return Deliver(target, mouse_flag::kLeftSingle);
}

bool Pointer::Release() {
    if (!held_) return false;
    const Target target = *held_;
    held_.reset();
    return Deliver(target, mouse_flag::kLeftRelease);
}

bool Pointer::Leave() {
    if (!held_) return false;
    const Target target = *held_;
    held_.reset();
    return Deliver(target, mouse_flag::kLeave);
}

void Pointer::BeforeFrame() {
    if (held_ && !pressedSinceFrame_) Deliver(*held_, mouse_flag::kLeftRepeat);
    pressedSinceFrame_ = false;
}
