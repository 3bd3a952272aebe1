#include "cli/sound_output.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

std::string SendSoundToFile(const std::string& wavPath) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path output = fs::absolute(wavPath, error);
    if (error) return "cannot use " + wavPath + " for sound: " + error.message();
    // OpenAL Soft reads its configuration from the file named by ALSOFT_CONF.
    const fs::path config = fs::temp_directory_path(error) / ("avrion-host-openal-" + std::to_string(getpid()) + ".conf");
    std::ofstream file(config);
    file << "[general]\ndrivers = wave\nchannels = mono\nfrequency = 22050\nsample-type = int16\n[wave]\nfile = " << output.string()
         << "\n";
    if (!file) return "cannot write the sound configuration " + config.string();
    setenv("ALSOFT_CONF", config.c_str(), 1);
    return std::string();
}
