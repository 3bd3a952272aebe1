// The A-723 long-range navigation receiver: a control head with a mode knob,
// an upper display of five digits, a lower one of six, a two-digit waypoint
// display, six decimal points, fourteen lamps and a keypad. The crew sets the
// clock, the calendar, the present position and nine waypoints by hand; after
// a lamp test and an alignment the set follows the aircraft and shows ground
// speed, track, distance and bearing to the active waypoint. Gauges read and
// set the fields directly.
#pragma once

#include <cstdint>

#include "state/sim_stopwatch.h"

class AircraftState;

class A723Receiver {
public:
    static constexpr int kDotCount = 6;
    static constexpr int kSlotDigitCount = 2;
    static constexpr int kUpperDigitCount = 5;
    static constexpr int kLowerDigitCount = 6;
    static constexpr int kCoordinateSlots = 11;  // present position, nine waypoints, one never used
    static constexpr int kEntrySlots = 10;
    static constexpr int kScratchSize = 12;
    static constexpr std::int32_t kBlank = -1;         // a dark digit position
    static constexpr std::int32_t kRandomDigits = 10;  // FillDigits of this or more draws random digits

    enum ReceiverState : std::int32_t { Off = 0, SelfTest = 1, Ready = 2, Aligning = 3, Navigating = 4 };
    enum ClockState : std::int32_t { ClockUnset = 0, TimeEntered = 1, TimeOnly = 2, TimeAndDate = 3 };
    enum EntryState : std::int32_t {
        Empty = 0,
        AwaitLatHemisphere = 1,
        LatDigits = 2,
        AwaitLonHemisphere = 3,
        LonDigits = 4,
        Complete = 5,
    };
    // Mode knob positions, by their legends on the face plate.
    enum KnobPosition : std::int32_t {
        kKnobOff = 0,           // ОТКЛ
        kKnobTimeDate = 1,      // Т/ДАТ
        kKnobPosition = 2,      // МС
        kKnobWaypoint = 3,      // ППМ
        kKnobTrackError = 4,    // ΔПУ/ЛБУ
        kKnobTimeDistance = 5,  // t0/S
        kKnobTrack = 6,         // ЗПУ
        kKnobSpeed = 7,         // W/Tп
        kKnobDistance = 8,      // D/A
        kKnobRadio = 9,         // РНС
        kKnobCheck = 10,        // КОНТР
    };
    // The decimal points, by the positions they lie between.
    enum Dot {
        kDotUpper2_3 = 0,
        kDotUpper4_5 = 1,
        kDotLower2_3 = 2,
        kDotLower4_5 = 3,
        kDotLower3_4 = 4,
        kDotLower5_6 = 5,
    };
    enum class Display { Upper, Lower };

    // Lamps and flags; a power-off frame puts out all fourteen at once.
    struct Lamps {
        bool lampFailure;        // ОТКАЗ
        bool stopMode;           // СТОП
        bool lampDeadReckoning;  // СЧИСЛ
        bool lampSync;           // СИНХР
        bool lampZone;           // ЗОНА
        bool lampFrom;           // ОТ
        bool lampTo;             // НА
        bool lampNorth;          // СЕВ
        bool lampSouth;          // ЮГ
        bool lampWest;           // ЗАП
        bool lampEast;           // ВОСТ
        bool lampPrecise;        // ТОЧН
        bool lampMinus;          // bar before the upper display
        bool enterLight;         // light of the ВВОД key
    };

    A723Receiver();
    ~A723Receiver();
    A723Receiver(const A723Receiver&) = delete;
    A723Receiver& operator=(const A723Receiver&) = delete;

    void Update();

    // Registers: each character of the text gives a digit, a blank a dark
    // position; the text ending early darkens the rest.
    void SetUpper(const char* text);
    void SetLower(const char* text);
    void SetSlotDigits(const char* text);
    void BlankUpper();
    void BlankLower();
    void BlankSlotDigits();
    void FillDigits(std::int32_t digit);
    void BlankAll();

    // Values formatted into the registers.
    void ShowTime();
    void ShowDate();
    void ShowLatitude(double degrees);
    void ShowLongitude(double degrees);
    void ShowCourse(double degrees, Display display);
    void ShowSpeed(double kmh);
    void ShowDistance(double km);

    // The knob and the keypad, one call per click.
    void TurnModeKnob(std::int32_t step);
    void PressDigit(std::int32_t key);
    void PressEnter();
    void PressClear();
    void ToggleStop();

    // Inner steps of the keypad.
    void OnModeChange();
    void ShiftUpper(std::int32_t key);
    void ShiftLower(std::int32_t key);
    void BackspaceUpper();
    void BackspaceLower();

    // Days of a month 1 to 12, no leap years; 0 for anything else.
    static std::int32_t DaysOfMonth(std::int32_t month);

    bool dots[kDotCount];
    AircraftState* owner;  // set by the owner once every system exists
    SimStopwatch testTimer;
    SimStopwatch blinkTimer;  // the ВВОД light while an entry is refused
    SimStopwatch alignTimer;
    SimStopwatch speedTimer;
    std::int32_t modeKnob;  // KnobPosition
    bool breakerOn;         // drawn only; nothing reads it
    Lamps lamps;
    std::int32_t slotDigits[kSlotDigitCount];  // 0 to 9, or kBlank
    std::int32_t upperDigits[kUpperDigitCount];
    std::int32_t lowerDigits[kLowerDigitCount];
    bool entryError;
    double groundSpeed;                // km/h
    double slotLat[kCoordinateSlots];  // degrees, north positive; slot 0 is the present position
    double slotLon[kCoordinateSlots];  // degrees, east positive
    std::int32_t hours;
    std::int32_t minutes;
    std::int32_t tenths;  // of a minute
    std::int32_t year;    // 0 to 99
    std::int32_t month;
    std::int32_t day;
    bool tickArmed;
    double tickReference;  // simTime at the start of the clock's tick
    char textScratch[kScratchSize];
    std::int32_t receiverState;            // ReceiverState
    std::int32_t clockState;               // ClockState
    std::int32_t entryState[kEntrySlots];  // EntryState of slots 0 to 9

private:
    void DigitsFromText(std::int32_t* digits, int count, const char* text);

    // Update steps.
    void RunLampTest();
    void PowerOffFrame();
    void RunClock(double simTime);
    void RunCalendar();
    void BlinkEnterLight();
    void SampleGroundSpeed();
    void RefreshDisplays();
    void Align(double aircraftLat, double aircraftLon);

    // PressDigit's steps for the entry of a slot's coordinates.
    void EnterCoordinateKey(std::int32_t key);
    void ShowChosenSlot(std::int32_t slot);
};

// Beside the one receiver, at module level: its navigation values and the
// keypad cursor. Constant-initialised, so they hold their initial values
// before any constructor runs.
struct A723ModuleValues {
    std::int32_t currentSlot = 1;   // the slot ППМ shows and edits
    std::int32_t fromSlot = 0;      // start of the active leg
    std::int32_t toSlot = 1;        // the active waypoint
    bool blankPending = true;       // the next key first blanks both displays
    std::int32_t digitCount = 0;    // digits typed in the current entry
    bool selectionPending = false;  // a waypoint number chosen in ППМ waits for its confirmation
    std::int32_t cursorSlot = 0;    // slot whose entry progress the keys advance
    double shownLat = 0.0;          // present position as МС shows it
    double shownLon = 0.0;
    double refLat = 0.0;  // slot 0, whose meridian courses are measured at
    double refLon = 0.0;
    double prevLat = 0.0;  // slot 0 at the start of the speed sample
    double prevLon = 0.0;
    double trackAngle = 0.0;    // degrees
    double distanceToGo = 0.0;  // km, at most 2000
    double bearingToGo = 0.0;   // degrees
    double legCourse = 0.0;     // degrees, at the meridian of slot 0
};

extern A723ModuleValues a723Values;
