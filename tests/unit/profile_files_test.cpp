// The profile-file rules the settings depend on. On the Windows build the same
// table runs against GetPrivateProfileIntA itself, so the two readers are held
// to one behaviour.
#include "platform/profile_files.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/temp_folder.h"

namespace {

struct ProfileCase {
    const char* description;
    const char* text;
    const char* section;
    const char* key;
    int expected;  // with default 77
};

constexpr int kDefault = 77;

const ProfileCase kCases[] = {
    {"plain value", "[sound]\nkey_lev=42\n", "sound", "key_lev", 42},
    {"section and key ignore case", "[SOUND]\nKEY_LEV=42\n", "sound", "key_lev", 42},
    {"blanks around names and equals", "  [ sound ]  \n  key_lev   =   42   \n", "sound", "key_lev", 42},
    {"windows line ends", "[sound]\r\nkey_lev=42\r\n", "sound", "key_lev", 42},
    {"trailing garbage after the number", "[sound]\nkey_lev=42A9\n", "sound", "key_lev", 42},
    {"no leading number gives zero", "[sound]\nkey_lev=B42\n", "sound", "key_lev", 0},
    {"negative value", "[sound]\nkey_lev=-15\n", "sound", "key_lev", -15},
    {"explicit plus sign", "[sound]\nkey_lev=+15\n", "sound", "key_lev", 15},
    {"empty value gives the default", "[sound]\nkey_lev=\n", "sound", "key_lev", kDefault},
    {"missing key", "[sound]\nsound=0\n", "sound", "key_lev", kDefault},
    {"missing section", "[other]\nkey_lev=42\n", "sound", "key_lev", kDefault},
    {"key of another section", "[other]\nkey_lev=42\n[sound]\n", "sound", "key_lev", kDefault},
    {"first matching key counts", "[sound]\nkey_lev=1\nkey_lev=2\n", "sound", "key_lev", 1},
    {"first section of a name counts", "[sound]\nsound=1\n[sound]\nkey_lev=2\n", "sound", "key_lev", kDefault},
    {"commented-out key", "[sound]\n;key_lev=42\n", "sound", "key_lev", kDefault},
    {"largest int", "[sound]\nkey_lev=2147483647\n", "sound", "key_lev", INT_MAX},
    {"smallest int", "[sound]\nkey_lev=-2147483648\n", "sound", "key_lev", INT_MIN},
    {"wraps modulo 2^32", "[sound]\nkey_lev=4294967297\n", "sound", "key_lev", 1},
    {"wraps to negative", "[sound]\nkey_lev=2147483648\n", "sound", "key_lev", INT_MIN},
    {"dotted key name", "[WEIGHT_AND_BALANCE]\nstation_load.0=2221\n", "WEIGHT_AND_BALANCE", "station_load.0", 2221},
    {"decimal point stops the number", "[sound]\nkey_lev=12.9\n", "sound", "key_lev", 12},
    // Section lines: a name runs to the last ']'; a '[' line without one is no header.
    {"a '[' line with no ']' starts no section", "[other]\n[sound\nkey_lev=5\n", "sound", "key_lev", kDefault},
    {"a '[' line with no ']' ends no section", "[sound]\n[other\nkey_lev=5\n", "sound", "key_lev", 5},
    {"a name runs to the last ']'", "[sound ]]\nkey_lev=5\n", "sound ]", "key_lev", 5},
    {"a name with a ']' in it is another", "[sound ]]\nkey_lev=5\n", "sound", "key_lev", kDefault},
    {"text after the last ']' is no part of the name", "[sound] x\nkey_lev=5\n", "sound", "key_lev", 5},
    // A key line without '=' has an empty value, and the first line of a key counts.
    {"a bare key hides a later value", "[sound]\nkey_lev\nkey_lev=5\n", "sound", "key_lev", kDefault},
    {"a bare key of another name hides nothing", "[sound]\nsound\nkey_lev=5\n", "sound", "key_lev", 5},
    // Numbers as Windows reads them: a lowercase base prefix, digits of that base.
    {"hexadecimal", "[sound]\nkey_lev=0x10\n", "sound", "key_lev", 16},
    {"negative hexadecimal", "[sound]\nkey_lev=-0x10\n", "sound", "key_lev", -16},
    {"signed hexadecimal", "[sound]\nkey_lev=+0x10\n", "sound", "key_lev", 16},
    {"an uppercase prefix is no prefix", "[sound]\nkey_lev=0X10\n", "sound", "key_lev", 0},
    {"hexadecimal up to the first non-digit", "[sound]\nkey_lev=0x1G\n", "sound", "key_lev", 1},
    {"hexadecimal letters of either case", "[sound]\nkey_lev=0xaB\n", "sound", "key_lev", 171},
    {"binary", "[sound]\nkey_lev=0b101\n", "sound", "key_lev", 5},
    {"binary up to the first non-digit", "[sound]\nkey_lev=0b1012\n", "sound", "key_lev", 5},
    {"octal", "[sound]\nkey_lev=0o17\n", "sound", "key_lev", 15},
    {"a leading zero is decimal", "[sound]\nkey_lev=010\n", "sound", "key_lev", 10},
    {"a prefix with no digits", "[sound]\nkey_lev=0x\n", "sound", "key_lev", 0},
    {"hexadecimal wraps to negative", "[sound]\nkey_lev=0xFFFFFFFF\n", "sound", "key_lev", -1},
    {"hexadecimal wraps modulo 2^32", "[sound]\nkey_lev=0x100000000\n", "sound", "key_lev", 0},
    {"quotes are taken off first", "[sound]\nkey_lev=\"0x10\"\n", "sound", "key_lev", 16},
    {"only the first 29 characters count", "[sound]\nkey_lev=000000000000000000000000000042\n", "sound", "key_lev", 4},
    {"a number past 29 characters", "[sound]\nkey_lev=0000000000000000000000000000000042\n", "sound", "key_lev", 0},
    {"29 digits wrap modulo 2^32", "[sound]\nkey_lev=1234567890123456789012345678901234\n", "sound", "key_lev",
     1849262357},
    {"blanks inside quotes", "[sound]\nkey_lev=\" 42\"\n", "sound", "key_lev", 42},
};

class ProfileFileTest : public testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileFileTest, ReadsAsTheSimulatorsPlatformDoes) {
    const ProfileCase& c = GetParam();
    TempFolder folder;
    const auto file = folder.Write("settings.cfg", c.text);
    EXPECT_EQ(platform::ReadProfileInt(c.section, c.key, kDefault, file.string()), c.expected) << c.description;
}

INSTANTIATE_TEST_SUITE_P(Rules, ProfileFileTest, testing::ValuesIn(kCases));

TEST(ProfileFiles, MissingFileGivesTheDefault) {
    TempFolder folder;
    EXPECT_EQ(platform::ReadProfileInt("sound", "key_lev", kDefault, (folder.path() / "absent.cfg").string()),
              kDefault);
}

TEST(ProfileFiles, AppendPathPutsOneSeparatorBetween) {
    TempFolder folder;
    std::string root = folder.path().string();
    root += std::filesystem::path::preferred_separator;
    std::string path = root;
    ASSERT_TRUE(platform::AppendPath(path, "\\Gauges\\Avrion_cfg\\avrion_gau.cfg"));
    const auto expected = folder.path() / "Gauges" / "Avrion_cfg" / "avrion_gau.cfg";
    EXPECT_EQ(path, expected.string());
}

TEST(ProfileFiles, AppendPathRefusesPathsLongerThanTheBuffer) {
    std::string folder(250, 'a');
    const std::string before = folder;
    EXPECT_FALSE(platform::AppendPath(folder, "\\Gauges\\Avrion_cfg\\avrion_gau.cfg"));
    EXPECT_EQ(folder, before);
}

}  // namespace
