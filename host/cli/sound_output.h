// Where the module's sound goes on Linux: OpenAL Soft's default output, or a
// WAV file written by its wave-writer back end.
#pragma once

#include <string>

// Sends all sound to a WAV file; call before the module is loaded. Empty on
// success, otherwise what went wrong.
std::string SendSoundToFile(const std::string& wavPath);
