// The receiver's frame: power and lamp test, clock and calendar, alignment and
// navigation, and the displays for the knob's position. Every comparison of
// times is strict: a time exactly on a boundary belongs to neither side.
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "a723/a723_receiver.h"
#include "a723/nav_calculator.h"
#include "frame/module_objects.h"
#include "state/aircraft_state.h"

namespace {

// Lamp test timeline, seconds since it began.
constexpr double kTestAllLampsFrom = 4.0;
constexpr double kTestSouthEastFrom = 6.0;
constexpr double kTestPreciseFrom = 8.0;
constexpr double kTestEnd = 10.0;

constexpr double kClockTickSeconds = 6.0;  // a tenth of a minute
constexpr std::int32_t kTenthsPerMinute = 10;
constexpr std::int32_t kMinutesPerHour = 60;
constexpr std::int32_t kHoursPerDay = 24;
constexpr std::int32_t kMonthsPerYear = 12;
constexpr std::int32_t kYearsPerCentury = 100;

constexpr double kBlinkSeconds = 0.5;
constexpr double kSpeedSampleSeconds = 1.0;
constexpr double kSecondsPerHour = 3600.0;  // the sample's distance per hour, taken as one second
constexpr double kMaxGroundSpeed = 999.0;
constexpr double kMaxDistanceToGo = 2000.0;

constexpr double kAlignRadiusKm = 60.0;
constexpr double kAlignHoldSeconds = 5.0;
constexpr std::int32_t kStationsNeeded = 3;

constexpr std::int32_t kAllEights = 8;
constexpr char kAllEightsSlot[] = "88";
constexpr char kReadySlot[] = "01";

}  // namespace

void A723Receiver::Update() {
    const AircraftState& state = *owner;
    A723ModuleValues& values = a723Values;

    // 1. Power, by the knob.
    if (modeKnob >= 1) {
        if (receiverState == Off) receiverState = SelfTest;
    } else {
        receiverState = Off;
    }

    // 2. Clock set and present position complete: align.
    if (receiverState == Ready && (clockState == TimeOnly || clockState == TimeAndDate) && entryState[0] == Complete)
        receiverState = Aligning;

    if (receiverState == SelfTest) RunLampTest();                                      // 3.
    if (receiverState == Off) PowerOffFrame();                                         // 4.
    if (clockState == TimeOnly || clockState == TimeAndDate) RunClock(state.simTime);  // 5.
    if (clockState == TimeAndDate) RunCalendar();                                      // 6.
    if (entryError) BlinkEnterLight();                                                 // 7.

    // 8. Navigating, the present position is the aircraft's.
    if (receiverState == Navigating) {
        slotLat[0] = state.latitudeDeg;
        slotLon[0] = state.longitudeDeg;
    }

    // 9. СТОП freezes the shown position once the set aligns.
    if (!lamps.stopMode || receiverState < Aligning) {
        values.shownLat = slotLat[0];
        values.shownLon = slotLon[0];
    }
    values.refLat = slotLat[0];
    values.refLon = slotLon[0];

    // 10.
    if (receiverState == Navigating)
        SampleGroundSpeed();
    else
        groundSpeed = 0.0;

    // 11. The active leg.
    const std::int32_t to = values.toSlot;
    const std::int32_t from = values.fromSlot;
    values.distanceToGo =
        std::min(navCalculator.Distance(slotLat[0], slotLon[0], slotLat[to], slotLon[to]), kMaxDistanceToGo);
    values.bearingToGo =
        navCalculator.Course(slotLat[0], slotLon[0], slotLat[to], slotLon[to], values.refLat, values.refLon);
    values.legCourse =
        navCalculator.Course(slotLat[from], slotLon[from], slotLat[to], slotLon[to], values.refLat, values.refLon);

    RefreshDisplays();  // 12.

    if (receiverState == Aligning) Align(state.latitudeDeg, state.longitudeDeg);  // 13.

    // 14. Coverage lost: back to aligning, for good (slot 0 stops following).
    if (receiverState == Navigating && navCalculator.StationsInRange(*this) < kStationsNeeded) {
        receiverState = Aligning;
        lamps.lampSync = lamps.lampDeadReckoning = true;
    }
}

void A723Receiver::RunLampTest() {
    if (!testTimer.running) {
        testTimer.Start();
        FillDigits(kRandomDigits);
        BlankSlotDigits();
    }
    const double t = testTimer.Elapsed();
    if (t > kTestAllLampsFrom && t < kTestSouthEastFrom) {
        lamps.lampFailure = lamps.stopMode = lamps.lampDeadReckoning = lamps.lampSync = true;
        lamps.lampZone = lamps.lampFrom = lamps.lampTo = lamps.enterLight = true;
        SetSlotDigits(kAllEightsSlot);
        std::fill(std::begin(dots), std::end(dots), true);
        FillDigits(kAllEights);
        lamps.lampNorth = lamps.lampWest = true;
    }
    if (t > kTestSouthEastFrom && t < kTestPreciseFrom) {
        lamps.lampNorth = lamps.lampWest = false;
        lamps.lampSouth = lamps.lampEast = true;
    }
    if (t > kTestPreciseFrom && t < kTestEnd) {
        lamps.lampSouth = lamps.lampEast = false;
        lamps.lampPrecise = lamps.lampMinus = true;
    }
    if (t > kTestEnd) {
        testTimer.Stop();
        receiverState = Ready;
        lamps.lampFailure = lamps.stopMode = lamps.lampDeadReckoning = lamps.lampSync = false;
        lamps.lampPrecise = lamps.lampMinus = lamps.enterLight = false;
        SetSlotDigits(kReadySlot);
        FillDigits(0);
        std::fill(std::begin(dots), std::end(dots), false);
        // ЗОНА, ОТ and НА stay lit.
    }
}

// Every frame the knob is off, not only the first. The clock fields and the
// points stay as they are. No stopwatch or clock tick runs on: a hold, a speed
// sample or a blink begun before the switch-off would otherwise carry into the
// next session, which must start as the first did.
void A723Receiver::PowerOffFrame() {
    A723ModuleValues& values = a723Values;
    testTimer.Stop();
    blinkTimer.Stop();
    alignTimer.Stop();
    speedTimer.Stop();
    tickArmed = false;
    clockState = ClockUnset;
    entryState[0] = Empty;
    values.digitCount = 0;
    entryError = false;
    lamps = Lamps{};
    BlankLower();
    BlankUpper();
    BlankSlotDigits();
    std::fill(std::begin(slotLat), std::begin(slotLat) + kEntrySlots, 0.0);
    std::fill(std::begin(slotLon), std::begin(slotLon) + kEntrySlots, 0.0);
    std::fill(std::begin(entryState) + 1, std::end(entryState), Empty);
    values.blankPending = true;
    values.toSlot = 1;
    values.fromSlot = 0;
    values.currentSlot = 1;
}

// A tick is more than six seconds after the frame that armed it, so the clock
// runs slow by up to a frame a tick.
void A723Receiver::RunClock(double simTime) {
    if (!tickArmed) {
        tickReference = simTime;
        tickArmed = true;
    }
    if (simTime - tickReference > kClockTickSeconds) {
        tickArmed = false;
        ++tenths;
    }
    if (tenths > kTenthsPerMinute - 1) {
        tenths = 0;
        ++minutes;
    }
    if (minutes > kMinutesPerHour - 1) {
        minutes = 0;
        ++hours;
    }
    if (hours > kHoursPerDay - 1) {
        hours = 0;
        ++day;  // without a calendar the day just counts on
    }
}

// A month without days (never accepted by the keypad) moves on to the next.
void A723Receiver::RunCalendar() {
    if (day > DaysOfMonth(month)) {
        day = 1;
        ++month;
    }
    if (month > kMonthsPerYear) {
        month = 1;
        ++year;
    }
    if (year > kYearsPerCentury - 1) year = 0;
}

// The timer restarts the frame after each change, so the light changes about
// every half second.
void A723Receiver::BlinkEnterLight() {
    if (!blinkTimer.running) blinkTimer.Start();
    if (blinkTimer.Elapsed() > kBlinkSeconds) {
        lamps.enterLight = !lamps.enterLight;
        blinkTimer.Stop();
    }
}

// The distance of a sample is taken per hour as though it lasted exactly one
// second, whatever it measured.
void A723Receiver::SampleGroundSpeed() {
    A723ModuleValues& values = a723Values;
    if (!speedTimer.running) {
        speedTimer.Start();
        values.prevLat = slotLat[0];
        values.prevLon = slotLon[0];
    }
    if (speedTimer.Elapsed() > kSpeedSampleSeconds) {
        speedTimer.Stop();
        groundSpeed =
            std::min(navCalculator.Distance(slotLat[0], slotLon[0], values.prevLat, values.prevLon) * kSecondsPerHour,
                     kMaxGroundSpeed);
        values.trackAngle =
            navCalculator.Course(values.prevLat, values.prevLon, slotLat[0], slotLon[0], values.refLat, values.refLon);
    }
}

// Positions 0, 4, 5, 9 and 10 refresh nothing; a display not refreshed keeps
// its digits.
void A723Receiver::RefreshDisplays() {
    const A723ModuleValues& values = a723Values;
    const bool showing = receiverState > SelfTest && !lamps.stopMode;
    switch (modeKnob) {
        case kKnobTimeDate:
            if (clockState >= TimeOnly) ShowTime();
            if (clockState == TimeAndDate) ShowDate();
            break;
        case kKnobPosition:
            if (entryState[0] > LatDigits) ShowLatitude(values.shownLat);
            if (entryState[0] == Complete) ShowLongitude(values.shownLon);
            break;
        case kKnobWaypoint: {
            const std::int32_t slot = values.currentSlot;
            std::snprintf(textScratch, sizeof textScratch, " %u", static_cast<unsigned>(slot));
            SetSlotDigits(textScratch);
            if (receiverState > SelfTest) {
                if (entryState[slot] > LatDigits) ShowLatitude(slotLat[slot]);
                if (entryState[slot] == Complete) ShowLongitude(slotLon[slot]);
            }
            break;
        }
        case kKnobTrack:
            if (showing) {
                ShowCourse(values.trackAngle, Display::Upper);
                ShowCourse(values.legCourse, Display::Lower);
            }
            break;
        case kKnobSpeed:
            if (showing) ShowSpeed(groundSpeed);
            break;
        case kKnobDistance:
            if (showing) {
                ShowDistance(values.distanceToGo);
                ShowCourse(values.bearingToGo, Display::Lower);
            }
            break;
        default:
            break;
    }
}

void A723Receiver::Align(double aircraftLat, double aircraftLon) {
    lamps.lampZone = false;
    lamps.lampSync = lamps.lampDeadReckoning = true;
    const bool inPlace = navCalculator.Distance(slotLat[0], slotLon[0], aircraftLat, aircraftLon) < kAlignRadiusKm &&
                         navCalculator.StationsInRange(*this) >= kStationsNeeded;
    if (inPlace) {
        if (!alignTimer.running) alignTimer.Start();
    } else {
        alignTimer.Stop();
    }
    if (alignTimer.Elapsed() > kAlignHoldSeconds) {
        alignTimer.Stop();
        receiverState = Navigating;
        lamps.lampSync = lamps.lampDeadReckoning = false;
    }
}
