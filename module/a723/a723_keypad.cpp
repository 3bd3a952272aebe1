// The mode knob and the keypad: entry of the clock, the calendar, the present
// position and the waypoints, one digit at a time, with the hemisphere keys
// СЕВ (2), ЮГ (8), ЗАП (4) and ВОСТ (6).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "a723/a723_receiver.h"
#include "frame/module_objects.h"

namespace {

constexpr std::int32_t kHighestKnobPosition = A723Receiver::kKnobCheck;
constexpr std::int32_t kHighestKey = 9;
constexpr std::int32_t kDecimalBase = 10;
constexpr std::int32_t kKeyNorth = 2;
constexpr std::int32_t kKeySouth = 8;
constexpr std::int32_t kKeyWest = 4;
constexpr std::int32_t kKeyEast = 6;

constexpr std::int32_t kTimeDigits = 5;       // hh mm t
constexpr std::int32_t kDateDigits = 6;       // yy mm dd
constexpr std::int32_t kLatitudeDigits = 5;   // dd mm t
constexpr std::int32_t kLongitudeDigits = 6;  // ddd mm t
constexpr std::int32_t kLatestHour = 23;
constexpr std::int32_t kLatestMinute = 59;
constexpr std::int32_t kMonthsPerYear = 12;
constexpr double kLatitudeLimit = 90.0;
constexpr double kLongitudeLimit = 180.0;
constexpr double kMinutesPerDegree = 60.0;
constexpr double kTenthOfMinute = 0.1;

// Two digits of a register as a number.
std::int32_t Pair(const std::int32_t* digits) { return kDecimalBase * digits[0] + digits[1]; }

}  // namespace

// --- Typing and deleting digits; the displays fill from the right. ---

void A723Receiver::ShiftUpper(std::int32_t key) {
    std::int32_t& count = a723Values.digitCount;
    if (count >= 1)
        std::copy(std::begin(upperDigits) + 1, std::end(upperDigits), std::begin(upperDigits));
    else
        lamps.enterLight = true;
    upperDigits[kUpperDigitCount - 1] = key;
    ++count;
    if (count > 1) dots[kDotUpper4_5] = true;
    if (count > 3) dots[kDotUpper2_3] = true;
}

void A723Receiver::ShiftLower(std::int32_t key) {
    std::int32_t& count = a723Values.digitCount;
    if (count >= 1) std::copy(std::begin(lowerDigits) + 1, std::end(lowerDigits), std::begin(lowerDigits));
    lowerDigits[kLowerDigitCount - 1] = key;
    ++count;
}

void A723Receiver::BackspaceUpper() {
    std::int32_t& count = a723Values.digitCount;
    std::copy_backward(std::begin(upperDigits), std::end(upperDigits) - 1, std::end(upperDigits));
    upperDigits[0] = kBlank;
    --count;
    if (count < 2) dots[kDotUpper4_5] = false;
    if (count < 4) dots[kDotUpper2_3] = false;
}

void A723Receiver::BackspaceLower() {
    std::int32_t& count = a723Values.digitCount;
    std::copy_backward(std::begin(lowerDigits), std::end(lowerDigits) - 1, std::end(lowerDigits));
    lowerDigits[0] = kBlank;
    --count;
    if (count < 5) dots[kDotLower2_3] = false;
    if (count < 4) dots[kDotLower3_4] = false;
    if (count < 3) dots[kDotLower4_5] = false;
    if (count < 2) dots[kDotLower5_6] = false;
}

// --- The knob. ---

void A723Receiver::TurnModeKnob(std::int32_t step) {
    if (step == -1) {
        if (modeKnob < 1) return;
        --modeKnob;
    } else if (step == 1) {
        if (modeKnob >= kHighestKnobPosition) return;
        ++modeKnob;
    } else {
        return;
    }
    OnModeChange();
    soundBank.PlaySelectorClick();
}

void A723Receiver::OnModeChange() {
    A723ModuleValues& values = a723Values;
    // The lamp test runs on whatever the knob does, short of switching off.
    if (receiverState == SelfTest && modeKnob != kKnobOff) return;
    if (!values.blankPending) {
        BlankLower();
        BlankUpper();
    }
    std::fill(std::begin(dots), std::end(dots), false);
    lamps.lampEast = lamps.lampWest = lamps.lampNorth = lamps.lampSouth = false;
    values.digitCount = 0;
    values.cursorSlot = modeKnob == kKnobPosition ? 0 : values.currentSlot;
    // Digits typed so far are gone: the entry asks for its hemisphere again.
    std::int32_t& entry = entryState[values.cursorSlot];
    if (entry == LatDigits) entry = AwaitLatHemisphere;
    if (entry == LonDigits) entry = AwaitLonHemisphere;
    std::snprintf(textScratch, sizeof textScratch, "%u%u", static_cast<unsigned>(values.fromSlot),
                  static_cast<unsigned>(values.toSlot));
    SetSlotDigits(textScratch);
    values.selectionPending = false;
}

// --- The keys. ---

// The chosen slot padded to two places with a blank. No blank-for-sign flag:
// on an unsigned number one C runtime adds a third character for it.
void A723Receiver::ShowChosenSlot(std::int32_t slot) {
    std::snprintf(textScratch, sizeof textScratch, "%2u", static_cast<unsigned>(slot));
    SetSlotDigits(textScratch);
}

void A723Receiver::PressDigit(std::int32_t key) {
    A723ModuleValues& values = a723Values;
    // Only the ten keys exist; a slot number beyond them has no table entry.
    if (key < 0 || key > kHighestKey) return;

    if (values.blankPending) {
        BlankLower();
        BlankUpper();
        values.blankPending = false;
    }

    if (modeKnob == kKnobTimeDate) {
        if (clockState == ClockUnset && values.digitCount < kTimeDigits) {
            ShiftUpper(key);
        } else if (clockState == TimeEntered && values.digitCount < kDateDigits) {
            ShiftLower(key);
            if (values.digitCount > 2) dots[kDotLower4_5] = true;
            if (values.digitCount > 4) dots[kDotLower2_3] = true;
        }
        return;
    }
    if (modeKnob != kKnobPosition && modeKnob != kKnobWaypoint) return;

    // Waypoint choice: a first key on a complete slot shows the slot of that
    // number, a second one starts its entry and counts as its hemisphere key.
    if (entryState[values.cursorSlot] == Complete && modeKnob == kKnobWaypoint && key >= 1) {
        if (!values.selectionPending) {
            BlankAll();
            values.currentSlot = key;
            ShowChosenSlot(values.currentSlot);
            values.selectionPending = true;
            return;
        }
        values.selectionPending = false;
        values.cursorSlot = values.currentSlot;
        entryState[values.cursorSlot] = AwaitLatHemisphere;
    } else if (entryState[values.cursorSlot] == Empty) {
        entryState[values.cursorSlot] = AwaitLatHemisphere;
        if (modeKnob == kKnobWaypoint) {
            // The first press marks the slot under the cursor; pressing a
            // number twice takes that slot.
            if (key != 0) {
                values.currentSlot = key;
                values.cursorSlot = key;
                ShowChosenSlot(key);
            }
            return;
        }
        BlankSlotDigits();
        values.currentSlot = 0;
    }
    EnterCoordinateKey(key);
}

void A723Receiver::EnterCoordinateKey(std::int32_t key) {
    A723ModuleValues& values = a723Values;
    std::int32_t& entry = entryState[values.cursorSlot];
    // The present position is typed only with СТОП on.
    const bool locked = modeKnob == kKnobPosition && !lamps.stopMode;

    if (entry == AwaitLatHemisphere) {
        if (locked) return;
        lamps.lampNorth = lamps.lampSouth = false;
        BlankUpper();
        if (key == kKeyNorth) lamps.lampNorth = true;
        if (key == kKeySouth) lamps.lampSouth = true;
        if (key == kKeyNorth || key == kKeySouth) {
            lamps.enterLight = true;
            entry = LatDigits;
        }
    } else if (entry == LatDigits && values.digitCount < kLatitudeDigits) {
        if (locked) return;
        ShiftUpper(key);
    } else if (entry == AwaitLonHemisphere) {
        if (locked) return;
        lamps.lampWest = lamps.lampEast = false;
        BlankLower();
        if (key == kKeyWest) lamps.lampWest = true;
        if (key == kKeyEast) lamps.lampEast = true;
        if (key == kKeyWest || key == kKeyEast) entry = LonDigits;
    } else if (entry == LonDigits && values.digitCount < kLongitudeDigits) {
        if (locked) return;
        ShiftLower(key);
        if (values.digitCount > 1) dots[kDotLower5_6] = true;
        if (values.digitCount > 3) dots[kDotLower3_4] = true;
    }
}

void A723Receiver::PressEnter() {
    A723ModuleValues& values = a723Values;
    if (modeKnob == kKnobTimeDate) {
        if (clockState == ClockUnset && values.digitCount == kTimeDigits) {
            hours = Pair(&upperDigits[0]);
            minutes = Pair(&upperDigits[2]);
            tenths = upperDigits[4];
            if (hours > kLatestHour || minutes > kLatestMinute) {
                entryError = true;
            } else {
                values.digitCount = 0;
                clockState = TimeEntered;
            }
        } else if (clockState == TimeEntered && values.digitCount == kDateDigits) {
            year = Pair(&lowerDigits[0]);
            month = Pair(&lowerDigits[2]);
            day = Pair(&lowerDigits[4]);
            // Month 00 has no days either, and is refused like month 13.
            if (month < 1 || month > kMonthsPerYear || day > DaysOfMonth(month)) {
                entryError = true;
            } else {
                values.digitCount = 0;
                clockState = TimeAndDate;
                lamps.enterLight = false;
            }
        } else if (clockState == TimeEntered && values.digitCount == 0) {
            clockState = TimeOnly;  // the clock runs without a date
            lamps.enterLight = false;
        }
        return;
    }
    if (modeKnob != kKnobPosition && modeKnob != kKnobWaypoint) return;

    // The value goes to the slot whose entry it completes. (Slot 0's entry,
    // left unfinished in МС and resumed after a waypoint was chosen in ППМ,
    // would otherwise land in that waypoint.)
    const std::int32_t slot = values.cursorSlot;
    std::int32_t& entry = entryState[slot];
    if (entry == LatDigits && values.digitCount == kLatitudeDigits) {
        const double latitude =
            Pair(&upperDigits[0]) + (Pair(&upperDigits[2]) + upperDigits[4] * kTenthOfMinute) / kMinutesPerDegree;
        slotLat[slot] = lamps.lampSouth ? -latitude : latitude;
        if (std::fabs(slotLat[slot]) < kLatitudeLimit) {
            entry = AwaitLonHemisphere;
            values.digitCount = 0;
        } else {
            entryError = true;
        }
    } else if (entry == LonDigits && values.digitCount == kLongitudeDigits) {
        const double longitude = kDecimalBase * Pair(&lowerDigits[0]) + lowerDigits[2] +
                                 (Pair(&lowerDigits[3]) + lowerDigits[5] * kTenthOfMinute) / kMinutesPerDegree;
        slotLon[slot] = lamps.lampWest ? -longitude : longitude;
        if (std::fabs(slotLon[slot]) >= kLongitudeLimit) {
            entryError = true;
            return;
        }
        if (modeKnob == kKnobPosition) {
            values.currentSlot = 1;
            values.shownLon = slotLon[0];
        }
        entry = Complete;
        values.digitCount = 0;
        lamps.enterLight = false;
    }
}

void A723Receiver::PressClear() {
    A723ModuleValues& values = a723Values;
    entryError = false;
    lamps.enterLight = true;
    if (modeKnob == kKnobTimeDate) {
        if (clockState == ClockUnset && values.digitCount >= 1)
            BackspaceUpper();
        else if (clockState == TimeEntered && values.digitCount >= 1)
            BackspaceLower();
        return;
    }
    if (modeKnob != kKnobPosition && modeKnob != kKnobWaypoint) return;

    values.selectionPending = false;
    std::int32_t& entry = entryState[values.cursorSlot];
    if (entry == AwaitLatHemisphere) {
        entry = Empty;
        lamps.enterLight = false;
    } else if (entry == LatDigits) {
        if (values.digitCount == 0) {
            entry = Empty;
            lamps.lampNorth = lamps.lampSouth = false;
        } else {
            BackspaceUpper();
        }
    } else if (entry == LonDigits) {
        if (values.digitCount == 0) {
            entry = AwaitLonHemisphere;
            lamps.lampWest = lamps.lampEast = false;
        } else {
            BackspaceLower();
        }
    }
}

void A723Receiver::ToggleStop() { lamps.stopMode = !lamps.stopMode; }
