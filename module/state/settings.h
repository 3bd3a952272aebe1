// Sound options of the module's own configuration file and the payload of the
// aircraft's, read once when the module is loaded.
#pragma once

#include <cstdint>
#include <string>

class Settings {
public:
    // Reads the files below the folder of the simulator's executable.
    Settings();
    // Reads the files below the folder of the given executable path.
    explicit Settings(const std::string& executablePath);

    std::int32_t payloadKg;
    double waterPerFrame;  // drop of the 1000-unit water supply per frame
    std::int32_t keyLevel;
    std::int32_t soundOn;
    std::int32_t keySoundOn;
    std::int32_t sirenLevel;

    // Water drop per frame for a payload: 1000 units last 20.9 hours at 18
    // frames per second, 0.9 hour less per whole tonne, never under 2 hours.
    static double WaterPerFrame(std::int32_t payloadKg);
    // Payload in kilograms from the aircraft file's pounds, truncated.
    static std::int32_t PayloadKg(std::int32_t payloadPounds);

private:
    void Read(const std::string& executablePath);
};
