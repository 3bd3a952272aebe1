// The profile-file (ini) reading rules of Windows' GetPrivateProfileIntA,
// over text already in memory. Shared by the POSIX back end and the tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The raw value of the first key of that name in the first section of that
// name (both matched without regard to case or surrounding blanks), with
// blanks and one pair of enclosing quotes removed; empty for a key line with
// no '='; nothing when either is missing.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section, std::string_view key);

// The leading integer of a value as Windows reads it (RtlUnicodeStringToInteger
// with base 0): blanks, an optional sign, an optional lowercase prefix 0x,
// 0o or 0b, then the digits of that base up to the first that is not one,
// wrapping modulo 2^32 ("42A9" gives 42, "B42" 0, "0x10" 16, "0X10" 0, "010" 10).
int ParseProfileInt(std::string_view value);

// The whole lookup: default for a missing key or an empty value; the number
// is read from the value's first 29 characters, as Windows reads it.
int ProfileIntFromText(std::string_view text, std::string_view section, std::string_view key, int defaultValue);

}  // namespace platform
