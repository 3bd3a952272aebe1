// Result codes of the audio and sound interfaces: the Windows HRESULT values
// that DirectSound uses, on every build.
#pragma once

#include <cstdint>

namespace result_code {

using Result = std::int32_t;

inline constexpr Result kOk = 0;
inline constexpr Result kFalse = 1;
inline constexpr Result kInvalidArgument = static_cast<Result>(0x80070057u);
inline constexpr Result kFail = static_cast<Result>(0x80004005u);
inline constexpr Result kOutOfMemory = static_cast<Result>(0x8007000Eu);
inline constexpr Result kNotInitialised = static_cast<Result>(0x800401F0u);
inline constexpr Result kBufferLost = static_cast<Result>(0x88780096u);
inline constexpr Result kNoVirtualisation = static_cast<Result>(0x0878000Au);
inline constexpr Result kNoDriver = static_cast<Result>(0x88780078u);
inline constexpr Result kInvalidCall = static_cast<Result>(0x88780032u);

inline constexpr bool Failed(Result result) { return result < 0; }

}  // namespace result_code
