// The profile-file (ini) reading rules of Windows' GetPrivateProfileIntA,
// over text already in memory. Shared by the POSIX back end and the tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The raw value of the first key of that name in the first section of that
// name (both matched without regard to case or surrounding blanks), with
// blanks and one pair of enclosing quotes removed; nothing when either is
// missing.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section, std::string_view key);

// The leading optionally signed decimal integer of a value, wrapping modulo
// 2^32 ("42A9" gives 42, "B42" gives 0).
int ParseProfileInt(std::string_view value);

// The whole lookup: default for a missing key or an empty value.
int ProfileIntFromText(std::string_view text, std::string_view section, std::string_view key, int defaultValue);

}  // namespace platform
