// The random digits of the A-723 lamp test come from the generator of the
// Microsoft C runtime the Windows build runs on (msvcrt's rand: a linear
// congruential generator starting from 1, never seeded by the module). The
// module carries that generator itself, so that the Linux build, whose C
// library draws another sequence, shows the same digits.
#pragma once

#include <cstdint>

namespace lamp_test_random {

inline constexpr int kLargest = 0x7FFF;  // RAND_MAX of that runtime

// The next value, 0 to kLargest, as that runtime's rand gives it.
int Next();
// Starts the sequence again as srand would; the module itself never does.
void Seed(std::uint32_t seed);

}  // namespace lamp_test_random
