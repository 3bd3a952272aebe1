// The A-723 long-range navigation receiver.
#pragma once

class AircraftState;

class A723Receiver {
public:
    A723Receiver();
    ~A723Receiver();
    A723Receiver(const A723Receiver&) = delete;
    A723Receiver& operator=(const A723Receiver&) = delete;

    void Update();

    AircraftState* owner;  // set by the owner once every system exists
};
