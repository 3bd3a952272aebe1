// The visitor of a std::variant made of one lambda for each alternative.
#pragma once

namespace scenario {

template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

}  // namespace scenario
