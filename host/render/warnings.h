// Where the renderer reports what it could not draw as asked; drawing always goes on.
#pragma once

#include <functional>
#include <iostream>
#include <string>

namespace render {

using WarningSink = std::function<void(const std::string& warning)>;

inline WarningSink StderrWarnings() {
    return [](const std::string& warning) { std::cerr << "avrion-render: warning: " << warning << "\n"; };
}

}  // namespace render
