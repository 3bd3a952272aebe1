#include "sim/simulator.h"

#include <cstring>

Simulator* Simulator::active_ = nullptr;

Simulator::Simulator() {
    namespace slot = panels_slot;
    table_.slots[slot::kElementRoutine1] = reinterpret_cast<void*>(&ElementRoutine<slot::kElementRoutine1>);
    table_.slots[slot::kElementRoutine2] = reinterpret_cast<void*>(&ElementRoutineArg<slot::kElementRoutine2>);
    table_.slots[slot::kElementRoutine3] = reinterpret_cast<void*>(&ElementRoutine<slot::kElementRoutine3>);
    table_.slots[slot::kElementRoutine4] = reinterpret_cast<void*>(&ElementRoutine<slot::kElementRoutine4>);
    table_.slots[slot::kElementRoutine5] = reinterpret_cast<void*>(&ElementRoutineArg<slot::kElementRoutine5>);
    table_.slots[slot::kElementRoutine6] = reinterpret_cast<void*>(&ElementRoutine<slot::kElementRoutine6>);
    table_.slots[slot::kElementRoutine7] = reinterpret_cast<void*>(&ElementRoutine<slot::kElementRoutine7>);
    table_.slots[slot::kTogglePanelWindow] = reinterpret_cast<void*>(&TogglePanelWindow);
    table_.slots[slot::kLookupVariable] = reinterpret_cast<void*>(&LookupVariable);
    table_.slots[slot::kAircraftVariable] = reinterpret_cast<void*>(&AircraftVariableQuery);
    table_.slots[slot::kSendEvent] = reinterpret_cast<void*>(&SendEvent);
}

Simulator::~Simulator() {
    if (active_ == this) active_ = nullptr;
}

PANELS* Simulator::Panels() {
    active_ = this;
    return &table_;
}

void Simulator::SetVariable(int token, double value) {
    auto& bytes = variables_[token];
    std::memcpy(bytes.data(), &value, sizeof value);
}

void Simulator::SetIntegerVariable(int token, std::uint32_t value) {
    auto& bytes = variables_[token];
    bytes.fill(0);
    std::memcpy(bytes.data(), &value, sizeof value);
}

double Simulator::Variable(int token) const {
    double value = 0.0;
    if (auto found = variables_.find(token); found != variables_.end())
        std::memcpy(&value, found->second.data(), sizeof value);
    return value;
}

std::uint32_t Simulator::IntegerVariable(int token) const {
    std::uint32_t value = 0;
    if (auto found = variables_.find(token); found != variables_.end())
        std::memcpy(&value, found->second.data(), sizeof value);
    return value;
}

void Simulator::SetAircraftVariable(int variable, int unit, int index, double value) {
    aircraftVariables_[{variable, unit, index}] = value;
}

double Simulator::AircraftVariable(int variable, int unit, int index) const {
    auto found = aircraftVariables_.find({variable, unit, index});
    return found != aircraftVariables_.end() ? found->second : 0.0;
}

void Simulator::BeginFrame() {
    if (frameRate > 0.0) SetVariable(kClockToken, Variable(kClockToken) + 1.0 / frameRate);
    frameLookups_.clear();
    frameAircraftQueries_.clear();
}

void Simulator::ShowWindow(std::uint32_t windowId, bool shown) {
    if (shown)
        shownWindows_.insert(windowId);
    else
        shownWindows_.erase(windowId);
}

void Simulator::ClearRecords() {
    frameLookups_.clear();
    frameAircraftQueries_.clear();
    callCounts_.clear();
    actions_.clear();
}

void Simulator::Record(const Action& action) {
    ++callCounts_[action.slot];
    actions_.push_back(action);
    if (actions_.size() > kActionLogLimit) actions_.pop_front();
}

RoutineValue FSAPI Simulator::Routine(int slot, ELEMENT_HEADER* element, RoutineValue argument) {
    if (active_ == nullptr) return 0;
    active_->Record({slot, static_cast<std::uint32_t>(argument), 0, element});
    return active_->routineResult;
}

template <int Slot>
RoutineValue FSAPI Simulator::ElementRoutine(ELEMENT_HEADER* element) {
    return Routine(Slot, element, 0);
}

template <int Slot>
RoutineValue FSAPI Simulator::ElementRoutineArg(ELEMENT_HEADER* element, RoutineValue argument) {
    return Routine(Slot, element, argument);
}

void FSAPI Simulator::TogglePanelWindow(std::uint32_t windowId) {
    if (active_ == nullptr) return;
    active_->Record({panels_slot::kTogglePanelWindow, windowId, 0, nullptr});
    active_->ShowWindow(windowId, !active_->IsWindowShown(windowId));
}

void FSAPI Simulator::LookupVariable(MODULE_VAR* variable) {
    if (active_ == nullptr || variable == nullptr) return;
    ++active_->callCounts_[panels_slot::kLookupVariable];
    auto found = active_->variables_.find(variable->token);
    if (found != active_->variables_.end())
        std::memcpy(variable->value, found->second.data(), sizeof variable->value);
    else
        std::memset(variable->value, 0, sizeof variable->value);
    active_->frameLookups_.emplace_back(variable->token, active_->Variable(variable->token));
}

double FSAPI Simulator::AircraftVariableQuery(std::int32_t variable, std::int32_t unit, std::int32_t index) {
    if (active_ == nullptr) return 0.0;
    ++active_->callCounts_[panels_slot::kAircraftVariable];
    active_->frameAircraftQueries_.emplace_back(variable, unit, index);
    return active_->AircraftVariable(variable, unit, index);
}

void FSAPI Simulator::SendEvent(std::uint32_t eventId, std::uint32_t value) {
    if (active_ == nullptr) return;
    active_->Record({panels_slot::kSendEvent, eventId, value, nullptr});
    active_->PerformEvent(eventId);
}

void Simulator::PerformEvent(std::uint32_t eventId) {
    // The transponder's digit buttons: each advances one octal digit of the
    // code (four 4-bit groups, the first the most significant), 7 wrapping to 0.
    if (eventId < kTransponderDigitEvent1 || eventId >= kTransponderDigitEvent1 + 4) return;
    const int shift = 12 - 4 * static_cast<int>(eventId - kTransponderDigitEvent1);
    std::uint32_t code = IntegerVariable(kTransponderCodeToken);
    const std::uint32_t digit = ((code >> shift) & 0xF) + 1;
    code = (code & ~(0xFu << shift)) | ((digit > 7 ? 0 : digit) << shift);
    SetIntegerVariable(kTransponderCodeToken, code);
}
