// Where the renderer reports what it could not draw as asked; drawing always goes on.
#pragma once

#include <errno.h>

#include <functional>
#include <iostream>
#include <string>

namespace render {

using WarningSink = std::function<void(const std::string& warning)>;

inline WarningSink StderrWarnings() {
    // Named after the program that draws: avrion-render, avrion-scenario, avrion-panel.
    return [](const std::string& warning) {
        std::cerr << program_invocation_short_name << ": warning: " << warning << "\n";
    };
}

}  // namespace render
