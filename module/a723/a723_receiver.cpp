#include "a723/a723_receiver.h"

A723Receiver::A723Receiver() : owner(nullptr) {}

A723Receiver::~A723Receiver() = default;

void A723Receiver::Update() {}
