// The visitor of a std::variant made of one lambda for each alternative.
#pragma once

namespace scenario {

template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Clang 14 deduces an aggregate's template arguments only with a guide.
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace scenario
