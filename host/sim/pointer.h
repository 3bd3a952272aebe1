// The mouse pointer as the simulator works it, the one press, hold and release
// of the command line's clicks, the scenarios and the live panel: a click is
// one event; a left press holds the button on its point until released (or the
// pointer leaves), and before every frame meanwhile, but for the first after
// the press, the area there gets the repeat event.
#pragma once

#include <cstdint>
#include <optional>

#include "frame/panel_records.h"

class Pointer {
public:
    // A point of a gauge, in gauge pixels.
    struct Target {
        const GAUGEHDR* gauge = nullptr;
        int x = 0, y = 0;
    };

    // Each true when a handler took the event. A click is one event (the
    // mouse_flag the simulator sends), with no button held.
    bool Click(const Target& target, std::uint32_t flags);
    bool Press(const Target& target);
    // At the held point; false with nothing held.
    bool Release();
    bool Leave();
    // Before each frame: the held button's repeat event.
    void BeforeFrame();
    // Forgets a held button without an event (its module is gone).
    void Drop() { held_.reset(); }

    const std::optional<Target>& held() const { return held_; }

private:
    std::optional<Target> held_;
    bool pressedSinceFrame_ = false;
};
