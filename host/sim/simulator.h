// The host's stand-in for the simulator's panel system: the variables it
// answers by token, the aircraft-variable query, the panel windows, the clock,
// and a record of everything the module asked of it through PANELS.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "frame/panel_records.h"

class Simulator {
public:
    static constexpr int kClockToken = 604;
    static constexpr int kTransponderCodeToken = 38;
    static constexpr std::uint32_t kTransponderDigitEvent1 = 65651;  // to 65654
    static constexpr double kDefaultFrameRate = 18.0;
    static constexpr std::size_t kActionLogLimit = 4096;

    // A call of slot 35 or 79, or one of the seven generic routines.
    struct Action {
        int slot;
        std::uint32_t first;      // window, event, or the routine's argument
        std::uint32_t second;     // event value
        ELEMENT_HEADER* element;  // generic routines only
    };

    Simulator();
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // The PANELS table to hand to a module; its functions answer from this
    // simulator (one simulator answers at a time).
    PANELS* Panels();

    void SetVariable(int token, double value);
    // For variables the module reads as a 32-bit integer (token 38).
    void SetIntegerVariable(int token, std::uint32_t value);
    double Variable(int token) const;
    std::uint32_t IntegerVariable(int token) const;
    void SetAircraftVariable(int variable, int unit, int index, double value);
    double AircraftVariable(int variable, int unit, int index) const;

    // Starts a frame: advances the clock by one frame and forgets the
    // previous frame's lookups.
    void BeginFrame();
    double frameRate = kDefaultFrameRate;
    // What the seven generic routines' slots answer.
    RoutineValue routineResult = 0;

    bool IsWindowShown(std::uint32_t windowId) const { return shownWindows_.count(windowId) != 0; }
    const std::set<std::uint32_t>& shownWindows() const { return shownWindows_; }
    void ShowWindow(std::uint32_t windowId, bool shown);

    // Tokens looked up since the frame began, in order, with the value given.
    const std::vector<std::pair<int, double>>& frameLookups() const { return frameLookups_; }
    const std::vector<std::tuple<int, int, int>>& frameAircraftQueries() const { return frameAircraftQueries_; }
    // Calls per PANELS slot since the simulator was made.
    const std::map<int, std::uint64_t>& callCounts() const { return callCounts_; }
    // The latest window, event and generic-routine calls, oldest first.
    const std::deque<Action>& actions() const { return actions_; }
    void ClearRecords();

private:
    static Simulator* active_;
    static RoutineValue FSAPI Routine(int slot, ELEMENT_HEADER* element, RoutineValue argument);
    template <int Slot>
    static RoutineValue FSAPI ElementRoutine(ELEMENT_HEADER* element);
    template <int Slot>
    static RoutineValue FSAPI ElementRoutineArg(ELEMENT_HEADER* element, RoutineValue argument);
    static void FSAPI TogglePanelWindow(std::uint32_t windowId);
    static void FSAPI LookupVariable(MODULE_VAR* variable);
    static double FSAPI AircraftVariableQuery(std::int32_t variable, std::int32_t unit, std::int32_t index);
    static void FSAPI SendEvent(std::uint32_t eventId, std::uint32_t value);

    void Record(const Action& action);
    void PerformEvent(std::uint32_t eventId);

    PANELS table_{};
    std::map<int, std::array<std::uint8_t, 8>> variables_;
    std::map<std::tuple<int, int, int>, double> aircraftVariables_;
    std::set<std::uint32_t> shownWindows_;
    std::vector<std::pair<int, double>> frameLookups_;
    std::vector<std::tuple<int, int, int>> frameAircraftQueries_;
    std::map<int, std::uint64_t> callCounts_;
    std::deque<Action> actions_;
};
