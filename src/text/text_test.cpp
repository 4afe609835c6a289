#include "text/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TrimCase {
    std::string input;
    std::string expected;
};

class TrimTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimTest, TrimsOnlyControlBytesAndBlanks) {
    std::string buffer = GetParam().input;
    buffer.push_back('\0');
    char *result = trimInPlace(buffer.data());
    EXPECT_EQ(result, buffer.data());
    EXPECT_EQ(std::string(result), GetParam().expected);
    EXPECT_EQ(std::string(trimmed(GetParam().input)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrimTest,
    testing::Values(TrimCase{"", ""}, TrimCase{" \t\r\n  ", ""}, TrimCase{" a b \r\n", "a b"},
                    TrimCase{"abc", "abc"}, TrimCase{"\x01x\x1f", "x"},
                    // Bytes 0x80 and above are text: accented letters survive.
                    TrimCase{"\xE9t\xE9", "\xE9t\xE9"}, TrimCase{" Caf\xC3\xA9 \r", "Caf\xC3\xA9"},
                    TrimCase{"\x7f", "\x7f"}, TrimCase{"\xFF \xA0", "\xFF \xA0"}),
    [](const testing::TestParamInfo<TrimCase> &info) {
        return "row" + std::to_string(info.index);
    });

TEST(CompareIgnoreAsciiCase, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(compareIgnoreAsciiCase("/QUIET", "/quiet"), 0);
    EXPECT_EQ(compareIgnoreAsciiCase("/Quiet", "/quiet"), 0);
    EXPECT_NE(compareIgnoreAsciiCase("/quiet2", "/quiet"), 0);
    EXPECT_NE(compareIgnoreAsciiCase("/quie", "/quiet"), 0);
    EXPECT_NE(compareIgnoreAsciiCase("", "/quiet"), 0);
    EXPECT_NE(compareIgnoreAsciiCase("\xC9", "\xE9"), 0); // no folding beyond ASCII
    EXPECT_NE(compareIgnoreAsciiCase("[", "{"), 0);
    EXPECT_LT(compareIgnoreAsciiCase("a", "\xE9"), 0); // unsigned bytes
}

TEST(NameHelpers, BaseNameAndPrefix) {
    struct Case {
        const char *path;
        const char *base;
        const char *prefix;
    };
    const Case cases[] = {
        {"C:\\data\\Disc_0042.csv", "Disc_0042.csv", "Disc"},
        // Whatever folder the argument names, the outputs land in the current one.
        {"dir/sub\\x_1.csv", "x_1.csv", "x"},
        {"../..\\L_1.csv", "L_1.csv", "L"},
        {"x/\\tmp\\out\\L_1.csv", "L_1.csv", "L"},
        {"C:x_1.csv", "x_1.csv", "x"},
        {"a<b>|\"c_1.csv", "a<b>|\"c_1.csv", "a_b___c"},
        {"x_1.csv", "x_1.csv", "x"},
        {"/x_1.csv", "x_1.csv", "x"},
        {"a/", "", ""},
        {"GardenShowArchive_Lumastrip_90765.csv", "GardenShowArchive_Lumastrip_90765.csv",
         "GardenShowArchive_Lumastrip"},
        {"listing.csv", "listing.csv", "listing.csv"},
        {"my_dir\\listing.csv", "listing.csv", "listing.csv"},
        {"_0042.csv", "_0042.csv", ""},
        {"\xC9t\xE9_1.csv", "\xC9t\xE9_1.csv", "\xC9t\xE9"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(baseNameOf(c.path), c.base) << c.path;
        EXPECT_EQ(outputPrefixOf(c.path), c.prefix) << c.path;
    }
}

} // namespace
