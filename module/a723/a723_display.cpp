// The receiver's display registers and the values formatted into them.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "a723/a723_receiver.h"
#include "a723/lamp_test_random.h"
#include "a723/nav_calculator.h"
#include "frame/module_objects.h"
#include "state/numeric.h"

namespace {

constexpr char kBlankText[] = "          ";
constexpr char kBlankSlotText[] = "  ";
constexpr int kDecimalBase = 10;
constexpr double kCourseTenMinutesPerDegree = 6.0;  // a digit of tens of arc minutes
constexpr double kTenths = 10.0;

// printf's %u takes the bits of a negative value as they stand. Every text is
// formatted with the scratch buffer's size: a value far out of range (a day
// count that ran on without a calendar, a wild course) is cut, never written
// past it.
std::uint32_t Unsigned(std::int32_t value) { return static_cast<std::uint32_t>(value); }

}  // namespace

void A723Receiver::DigitsFromText(std::int32_t* digits, int count, const char* text) {
    bool ended = false;
    for (int i = 0; i < count; ++i) {
        if (!ended && text[i] == '\0') ended = true;
        digits[i] = ended || text[i] == ' ' ? kBlank : text[i] - '0';
    }
}

void A723Receiver::SetUpper(const char* text) { DigitsFromText(upperDigits, kUpperDigitCount, text); }
void A723Receiver::SetLower(const char* text) { DigitsFromText(lowerDigits, kLowerDigitCount, text); }
void A723Receiver::SetSlotDigits(const char* text) { DigitsFromText(slotDigits, kSlotDigitCount, text); }
void A723Receiver::BlankUpper() { SetUpper(kBlankText); }
void A723Receiver::BlankLower() { SetLower(kBlankText); }
void A723Receiver::BlankSlotDigits() { SetSlotDigits(kBlankSlotText); }

// The random digits of the lamp test: see lamp_test_random.h.
void A723Receiver::FillDigits(std::int32_t digit) {
    for (std::int32_t& d : upperDigits) d = digit >= kRandomDigits ? lamp_test_random::Next() % kDecimalBase : digit;
    for (std::int32_t& d : lowerDigits) d = digit >= kRandomDigits ? lamp_test_random::Next() % kDecimalBase : digit;
}

void A723Receiver::BlankAll() {
    BlankLower();
    BlankUpper();
    std::fill(std::begin(dots), std::end(dots), false);
    lamps.lampNorth = lamps.lampSouth = lamps.lampWest = lamps.lampEast = false;
}

void A723Receiver::ShowTime() {
    std::snprintf(textScratch, sizeof textScratch, "%02u%02u%u", Unsigned(hours), Unsigned(minutes), Unsigned(tenths));
    SetUpper(textScratch);
    dots[kDotUpper2_3] = dots[kDotUpper4_5] = true;
}

void A723Receiver::ShowDate() {
    std::snprintf(textScratch, sizeof textScratch, "%02u%02u%02u", Unsigned(year), Unsigned(month), Unsigned(day));
    SetLower(textScratch);
    dots[kDotLower2_3] = dots[kDotLower4_5] = true;
}

void A723Receiver::ShowLatitude(double degrees) {
    const double magnitude = std::fabs(degrees);
    std::snprintf(textScratch, sizeof textScratch, "%02u%02u%u",
                  Unsigned(navCalculator.SplitDegrees(magnitude, NavCalculator::kWholeDegrees)),
                  Unsigned(navCalculator.SplitDegrees(magnitude, NavCalculator::kMinutes)),
                  Unsigned(navCalculator.SplitDegrees(magnitude, NavCalculator::kTenthsOfMinute)));
    SetUpper(textScratch);
    dots[kDotUpper2_3] = dots[kDotUpper4_5] = true;
    // Only ever lit here; a knob turn puts them out.
    if (degrees < 0.0)
        lamps.lampSouth = true;
    else
        lamps.lampNorth = true;
}

void A723Receiver::ShowLongitude(double degrees) {
    const double magnitude = std::fabs(degrees);
    std::snprintf(textScratch, sizeof textScratch, "%03u%02u%u",
                  Unsigned(navCalculator.SplitDegrees(magnitude, NavCalculator::kWholeDegrees)),
                  Unsigned(navCalculator.SplitDegrees(magnitude, NavCalculator::kMinutes)),
                  Unsigned(navCalculator.SplitDegrees(magnitude, NavCalculator::kTenthsOfMinute)));
    SetLower(textScratch);
    dots[kDotLower3_4] = dots[kDotLower5_6] = true;
    if (degrees < 0.0)
        lamps.lampWest = true;
    else
        lamps.lampEast = true;
}

// Whole degrees and a digit of tens of arc minutes.
void A723Receiver::ShowCourse(double degrees, Display display) {
    const std::int32_t whole = TruncateToInt32(degrees);
    const std::int32_t tensOfMinutes = TruncateToInt32((degrees - whole) * kCourseTenMinutesPerDegree);
    if (display == Display::Upper) {
        std::snprintf(textScratch, sizeof textScratch, " %03u%u", Unsigned(whole), Unsigned(tensOfMinutes));
        SetUpper(textScratch);
        dots[kDotUpper4_5] = true;
    } else {
        std::snprintf(textScratch, sizeof textScratch, "  %03u%u", Unsigned(whole), Unsigned(tensOfMinutes));
        SetLower(textScratch);
        dots[kDotLower5_6] = true;
    }
}

void A723Receiver::ShowSpeed(double kmh) {
    std::snprintf(textScratch, sizeof textScratch, "  %03u", Unsigned(TruncateToInt32(kmh)));
    SetUpper(textScratch);
}

// Four whole kilometres, the point, and tenths of a kilometre, padded with
// blanks. No blank-for-sign flag: on an unsigned number one C runtime adds a
// sixth character for it and pushes the tenths off the display.
void A723Receiver::ShowDistance(double km) {
    const std::int32_t whole = TruncateToInt32(km);
    const std::int32_t tenthsOfKm = TruncateToInt32((km - whole) * kTenths);
    std::snprintf(textScratch, sizeof textScratch, "%4u%u", Unsigned(whole), Unsigned(tenthsOfKm));
    SetUpper(textScratch);
    dots[kDotUpper4_5] = true;
}
