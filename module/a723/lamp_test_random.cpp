#include "a723/lamp_test_random.h"

namespace lamp_test_random {
namespace {

constexpr std::uint32_t kMultiplier = 214013u;
constexpr std::uint32_t kIncrement = 2531011u;
constexpr int kOutputShift = 16;

// One sequence for the whole module, like the runtime's own; only the frame's
// thread draws from it.
std::uint32_t state = 1;

}  // namespace

int Next() {
    state = state * kMultiplier + kIncrement;  // modulo 2^32
    return static_cast<int>((state >> kOutputShift) & static_cast<std::uint32_t>(kLargest));
}

void Seed(std::uint32_t seed) { state = seed; }

}  // namespace lamp_test_random
