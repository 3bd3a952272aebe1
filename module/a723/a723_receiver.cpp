#include "a723/a723_receiver.h"

#include <algorithm>
#include <iterator>

constinit A723ModuleValues a723Values;

// The ВВОД light is left to the power-off frame that follows, but starts dark
// rather than undefined.
A723Receiver::A723Receiver()
    : dots{},
      owner(nullptr),
      modeKnob(kKnobOff),
      breakerOn(false),
      lamps{},
      entryError(false),
      groundSpeed(0.0),
      slotLat{},
      slotLon{},
      hours(0),
      minutes(0),
      tenths(0),
      year(0),
      month(0),
      day(0),
      tickArmed(false),
      tickReference(0.0),
      textScratch{},
      receiverState(Off),
      clockState(ClockUnset),
      entryState{} {
    std::fill(std::begin(slotDigits), std::end(slotDigits), kBlank);
    std::fill(std::begin(upperDigits), std::end(upperDigits), kBlank);
    std::fill(std::begin(lowerDigits), std::end(lowerDigits), kBlank);
}

A723Receiver::~A723Receiver() = default;

std::int32_t A723Receiver::DaysOfMonth(std::int32_t month) {
    constexpr std::int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    constexpr std::int32_t kMonths = static_cast<std::int32_t>(std::size(kDays));
    return month >= 1 && month <= kMonths ? kDays[month - 1] : 0;
}
