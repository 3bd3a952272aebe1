#include "state/settings.h"

#include "platform/profile_files.h"

namespace {

constexpr const char* kGaugeSettingsFile = "\\Gauges\\Avrion_cfg\\avrion_gau.cfg";
constexpr const char* kAircraftFile = "\\Aircraft\\Qiro_Avrion\\Aircraft.cfg";

constexpr int kDefaultKeyLevel = 30;
constexpr int kDefaultSoundOn = 1;
constexpr int kDefaultKeySoundOn = 1;
constexpr int kDefaultSirenLevel = 70;
constexpr int kDefaultPayloadPounds = 1000;

constexpr double kKilogramsPerPound = 0.45;
constexpr std::int32_t kKilogramsPerTonne = 1000;
constexpr double kEmptyEnduranceHours = 20.9;
constexpr double kEnduranceLostPerTonneHours = 0.9;
constexpr double kShortestEnduranceHours = 2.0;
constexpr double kFullWaterSupply = 1000.0;
constexpr double kSecondsPerHour = 3600.0;
constexpr double kFramesPerSecond = 18.0;

// The folder of an executable path, keeping its final separator.
std::string FolderOf(const std::string& executablePath) {
    const auto cut = executablePath.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : executablePath.substr(0, cut + 1);
}

std::string PathBelow(const std::string& folder, const char* relative) {
    std::string path = folder;
    if (!platform::AppendPath(path, relative)) return std::string();
    return path;
}

}  // namespace

Settings::Settings() { Read(platform::MainExecutablePath()); }

Settings::Settings(const std::string& executablePath) { Read(executablePath); }

void Settings::Read(const std::string& executablePath) {
    const std::string root = FolderOf(executablePath);
    const std::string gaugeSettings = PathBelow(root, kGaugeSettingsFile);
    const std::string aircraft = PathBelow(root, kAircraftFile);

    keyLevel = platform::ReadProfileInt("sound", "key_lev", kDefaultKeyLevel, gaugeSettings);
    soundOn = platform::ReadProfileInt("sound", "sound", kDefaultSoundOn, gaugeSettings);
    keySoundOn = platform::ReadProfileInt("sound", "key_sound_on", kDefaultKeySoundOn, gaugeSettings);
    sirenLevel = platform::ReadProfileInt("sound", "sirena_lev", kDefaultSirenLevel, gaugeSettings);
    const int payloadPounds =
        platform::ReadProfileInt("WEIGHT_AND_BALANCE", "station_load.0", kDefaultPayloadPounds, aircraft);

    payloadKg = PayloadKg(payloadPounds);
    waterPerFrame = WaterPerFrame(payloadKg);
}

std::int32_t Settings::PayloadKg(std::int32_t payloadPounds) {
    // |pounds| < 2^31, so the product always fits back into 32 bits.
    return static_cast<std::int32_t>(payloadPounds * kKilogramsPerPound);
}

double Settings::WaterPerFrame(std::int32_t payloadKg) {
    const std::int32_t tonnes = payloadKg / kKilogramsPerTonne;
    double hours = kEmptyEnduranceHours - kEnduranceLostPerTonneHours * tonnes;
    if (hours < kShortestEnduranceHours) hours = kShortestEnduranceHours;
    return kFullWaterSupply / (hours * kSecondsPerHour * kFramesPerSecond);
}
