#include "systems/aircraft_systems.h"

#include "frame/module_objects.h"
#include "frame/panels.h"
#include "state/aircraft_state.h"
#include "state/data_exchanger.h"
#include "state/numeric.h"
#include "state/shared_slots.h"

#include <optional>

namespace {

// Shared slots this update reads and writes.
constexpr int kSlotSetterPressure = shared_slot::kSetterPressure;
constexpr int kSlotSsosInput1 = shared_slot::kSsosInput1;
constexpr int kSlotSsosSiren = shared_slot::kSirenEnable;
constexpr int kSlotBusPower = shared_slot::kBusPower;
constexpr int kSlotPressureSignal = shared_slot::kPressureSignal;
constexpr int kSlotBreakerWord = shared_slot::kBreakerWord;
constexpr int kSlotSsosInput3 = shared_slot::kSsosInput3;
constexpr int kSlotSsosInput2 = shared_slot::kSsosInput2;
constexpr int kSlotReverseOffSlow = shared_slot::kReverseOffSlow;
constexpr int kSlotFanPower = shared_slot::kFanPower;
constexpr int kSlotTransponderPower = shared_slot::kTransponderPower;

constexpr double kSixteenthsPerMillibar = 16.0;
constexpr double kMmHgPerAtmosphere = 760.0;
constexpr double kMillibarsPerAtmosphere = 1013.0;

constexpr std::int32_t kBreakerWordDoorHeat = 1;
constexpr std::int32_t kBreakerWordGearVent = 2;

enum ClockDigit { kMinuteUnits, kMinuteTens, kHourUnits, kHourTens };

constexpr int kReplyModeFirst = 2;
constexpr int kReplyModeLast = 4;
constexpr double kReplyIntervalSeconds = 3.0;
constexpr std::int32_t kReplyLitFrames = 3;

// Landing model.
constexpr double kReverseCheckSpeedKmh = 100.0;
constexpr std::int32_t kCodeReverseOffSlow = 3;
constexpr double kGallonsToPounds = 6.69;
constexpr double kPoundsToKilograms = 0.45;
constexpr double kEmptyMassKg = 55100.0;
constexpr double kKilogramsPerTonne = 1000.0;
constexpr double kHeavyMassTonnes = 70.0;
constexpr double kBrakingSpeedKmh = 2.0;
constexpr double kSpeedHeatDivisor = 100.0;
constexpr double kFastCoolingSpeed = 100.0;
constexpr double kFastCooling = 0.0019;
constexpr double kSlowCooling = 0.00019;
constexpr double kRollAfterTouchdown = 30.0;
constexpr double kFanCooling = 20.0;
constexpr double kEngineRunning = 50.0;
constexpr int kEngineCount = 3;
constexpr double kIndicatorsMelt1 = 36.0;
constexpr double kIndicatorsMelt2 = 45.0;
constexpr double kIndicatorsMelt3 = 54.0;
constexpr std::uint32_t kMessagesWindow = 11241;

constexpr double kWaterQuarter = 125.0;
constexpr double kWaterHalf = 375.0;
constexpr double kWaterFull = 750.0;

// A slot counts as set when it reads anything but 0.0, a failed read (-1.0)
// included.
bool SlotSet(int slot) { return DataExchanger().Read(slot) != 0.0; }

}  // namespace

AircraftSystems::AircraftSystems()
    : transponderMode(0),
      transponderPowered(0),
      transponderReplyLamp(0),
      messageCount(0),
      messages{0, 0},
      brakeTemperature(0.0),
      waterQuantity(kFullWater),
      owner(nullptr),
      busPowered(0),
      pressureSignal(0.0),
      ardSetterPressure(0.0f),
      ardSetterInitialised(0),
      ssosLampOn(0),
      ardWindowOpen(0),
      ssosSirenArmed(0),
      clockDigits{0, 0, 0, 0},
      minuteLatched(0),
      latchedMinute(0.0f),
      itvBreaker(0),
      wingLightsBreaker(0),
      doorHeatBreaker(0),
      gearVentBreaker(0),
      ardHeatBreaker(0),
      waterLevelBreaker(0),
      waterPump1Breaker(0),
      waterPump2Breaker(0),
      breakerWord(0),
      drainHeatSwitch(1),
      tailSignalBreaker(0),
      waterLamps{0, 0, 0, 0},
      waterCheckPressed(0),
      drainCheckPressed(0),
      drainHeatLamp(0),
      tailCheckPressed(0),
      tailLamp(0),
      biLamp(0),
      blinkHoldFrames(0),
      pendingHeat(0.0),
      brakesNow(0),
      brakesBefore(0),
      landingHeatAdded(0),
      wasOnGround(1),
      touchdownMark(0.0),
      landingPhase(0),
      fansCooled(0),
      code3Raised(0),
      messagesWindowOpened(0),
      settings(&::settings) {}

AircraftSystems::~AircraftSystems() = default;

void AircraftSystems::Update() {
    UpdateSetterStart();
    busPowered = SlotSet(kSlotBusPower);
    pressureSignal = DataExchanger().Read(kSlotPressureSignal);
    DataExchanger().Write(kSlotSetterPressure, ardSetterPressure);

    breakerWord = 0;
    if (gearVentBreaker) breakerWord |= kBreakerWordGearVent;
    if (doorHeatBreaker) breakerWord |= kBreakerWordDoorHeat;
    DataExchanger().Write(kSlotBreakerWord, breakerWord);

    UpdateSsos();
    UpdateClock();
    UpdateTransponder();
    UpdateLanding();
    UpdateWater();
    UpdateLamps();
}

void AircraftSystems::UpdateSetterStart() {
    if (ardSetterInitialised) return;
    const double mmHg =
        owner->pressureSetting16 / kSixteenthsPerMillibar * kMmHgPerAtmosphere / kMillibarsPerAtmosphere;
    // An absurd setting stays at the edge of the range, whence the setter's
    // buttons can only bring it back.
    ardSetterPressure = static_cast<float>(TruncateToInt32(mmHg));
    ardSetterInitialised = 1;
}

void AircraftSystems::UpdateSsos() {
    {
        // The exchangers of one condition stay open until it is settled (the
        // last made closing first), and the reads stop at the first that
        // decides it.
        DataExchanger input1;
        std::optional<DataExchanger> power, input2, input3;
        bool lit = input1.Read(kSlotSsosInput1) != 0.0;
        if (lit) lit = power.emplace().Read(kSlotBusPower) != 0.0;
        if (lit) {
            lit = input2.emplace().Read(kSlotSsosInput2) != 0.0;
            if (!lit) lit = input3.emplace().Read(kSlotSsosInput3) != 0.0;
        }
        ssosLampOn = lit;
    }
    ssosSirenArmed = ssosLampOn && SlotSet(kSlotSsosSiren);
}

void AircraftSystems::UpdateClock() {
    if (!busPowered || !itvBreaker) {
        for (std::int32_t& digit : clockDigits) digit = 0;
        return;
    }
    const float minuteSource = owner->token4Value;
    if (!minuteLatched) {
        latchedMinute = minuteSource;
        minuteLatched = 1;
    }
    if (minuteLatched && minuteSource != latchedMinute) {
        ++clockDigits[kMinuteUnits];
        minuteLatched = 0;
    }
    // The set buttons add 1 to their digits between frames, as many times as
    // they are pressed, and a carry from the digit below adds 1 more: at 00:59
    // both minute buttons make 7 minute tens. So each carry takes every whole
    // base off its digit instead of waiting for the digit to equal the base;
    // 00:59 plus eleven minutes reads 01:10, and no digit is ever left where no
    // carry catches it. The hours tens wrap at 3 (a press at 21:30 gives 01:30)
    // before the 24-hour test, so that the test sees a wrapped digit.
    CarryDigit(kMinuteUnits, kMinuteTens, 10);
    CarryDigit(kMinuteTens, kHourUnits, 6);
    CarryDigit(kHourUnits, kHourTens, 10);
    clockDigits[kHourTens] %= 3;
    if (clockDigits[kHourTens] == 2 && clockDigits[kHourUnits] > 3) {
        clockDigits[kHourTens] = 0;
        clockDigits[kHourUnits] = 0;
    }
}

// Digits only ever count up, so they are never negative here.
void AircraftSystems::CarryDigit(int digit, int next, std::int32_t base) {
    clockDigits[next] += clockDigits[digit] / base;
    clockDigits[digit] %= base;
}

void AircraftSystems::UpdateTransponder() {
    transponderPowered = busPowered && SlotSet(kSlotTransponderPower);

    if (!transponderPowered || transponderMode < kReplyModeFirst || transponderMode > kReplyModeLast) {
        transponderReplyLamp = 0;
        replyBlinkTimer.Stop();
        blinkHoldFrames = 0;
        return;
    }
    if (!replyBlinkTimer.running && blinkHoldFrames == 0) replyBlinkTimer.Start();
    if (replyBlinkTimer.Elapsed() > kReplyIntervalSeconds) {
        replyBlinkTimer.Stop();
        transponderReplyLamp = 1;
        blinkHoldFrames = kReplyLitFrames;
    }
    if (blinkHoldFrames > 0)
        --blinkHoldFrames;
    else
        transponderReplyLamp = 0;
}

void AircraftSystems::PushMessage(std::int32_t code) {
    // Two codes fit; a further one is dropped rather than written past them.
    if (messageCount < 0 || messageCount >= kMessageCapacity) return;
    messages[messageCount++] = code;
}

bool AircraftSystems::FansRun() const {
    if (!gearVentBreaker) return false;
    DataExchanger power;
    if (power.Read(kSlotTransponderPower) == 0.0) return false;
    DataExchanger secondInput;
    return secondInput.Read(kSlotFanPower) != 0.0;
}

void AircraftSystems::UpdateLanding() {
    const AircraftState& state = *owner;
    const bool onGround = state.token60Flag;

    if (state.speedKmh < kReverseCheckSpeedKmh && onGround && !code3Raised && SlotSet(kSlotReverseOffSlow)) {
        code3Raised = 1;
        PushMessage(kCodeReverseOffSlow);
    }

    const double massTonnes =
        (state.fuelGallons * kGallonsToPounds * kPoundsToKilograms + settings->payloadKg + kEmptyMassKg) /
        kKilogramsPerTonne;
    const double massExcess = massTonnes - kHeavyMassTonnes < 0.0 ? 0.0 : massTonnes - kHeavyMassTonnes;

    brakesNow = state.token322Flag;
    if (brakesNow && !brakesBefore && onGround && state.speedKmh > kBrakingSpeedKmh) {
        pendingHeat += state.speedKmh / kSpeedHeatDivisor;
        if (!landingHeatAdded) {
            pendingHeat += massExcess + state.airTempC;
            landingHeatAdded = 1;
        }
    }
    brakesBefore = brakesNow;

    if (onGround) {
        brakeTemperature += pendingHeat;
        pendingHeat = 0.0;
    } else {
        landingHeatAdded = 0;
        const double cooling = state.token333Value > kFastCoolingSpeed ? kFastCooling : kSlowCooling;
        if (brakeTemperature > 0.0)
            brakeTemperature -= cooling;
        else
            brakeTemperature = 0.0;
    }
    if (state.airTempC <= 0.0) brakeTemperature = 0.0;

    const bool fansRun = FansRun();

    if (onGround && !wasOnGround) {
        touchdownMark = state.aircraftVar54;
        landingPhase = 1;
    }
    wasOnGround = onGround;

    if (landingPhase == 1) {
        const double rolled = touchdownMark - state.aircraftVar54;
        if (rolled > kRollAfterTouchdown || -rolled > kRollAfterTouchdown) {
            if (fansRun) {
                brakeTemperature = brakeTemperature <= kFanCooling ? 0.0 : brakeTemperature - kFanCooling;
                fansCooled = 1;
            }
            landingPhase = 2;
        }
    }
    if (landingPhase == 2 && !fansRun) fansCooled = 0;

    int enginesRunning = 0;
    for (int engine = 0; engine < kEngineCount; ++engine)
        if (state.engineValues[engine] > kEngineRunning) ++enginesRunning;

    if (landingPhase == 2 && enginesRunning < 2) {
        if (fansCooled) brakeTemperature = 0.0;
        if (brakeTemperature > kIndicatorsMelt1 && brakeTemperature <= kIndicatorsMelt2)
            PushMessage(0);
        else if (brakeTemperature > kIndicatorsMelt2 && brakeTemperature <= kIndicatorsMelt3)
            PushMessage(1);
        else if (brakeTemperature > kIndicatorsMelt3)
            PushMessage(2);
        landingPhase = 0;
    }

    if (enginesRunning == 0 && !messagesWindowOpened && messageCount > 0) {
        panels::TogglePanelWindow(kMessagesWindow);
        messagesWindowOpened = 1;
    }
}

void AircraftSystems::UpdateWater() {
    if (waterQuantity > settings->waterPerFrame)
        waterQuantity -= settings->waterPerFrame;
    else
        waterQuantity = 0.0;
}

void AircraftSystems::UpdateLamps() {
    const bool shown = waterLevelBreaker != 0;
    const double water = waterQuantity;
    const bool bands[4] = {water < kWaterQuarter, water >= kWaterQuarter && water < kWaterHalf,
                           water >= kWaterHalf && water < kWaterFull, water >= kWaterFull};
    for (int lamp = 0; lamp < 4; ++lamp)
        waterLamps[lamp] = busPowered && (waterCheckPressed || (shown && bands[lamp]));

    drainHeatLamp = busPowered && (drainCheckPressed || drainHeatSwitch != 1);
    tailLamp = busPowered && tailCheckPressed && tailSignalBreaker;
    biLamp = busPowered && pressureSignal > 0.0;
}
