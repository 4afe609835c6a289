#include "split/group_writer.h"

#include <gtest/gtest.h>

namespace {

TEST(BuildOutputName, JoinsPrefixComponentsAndCount) {
    struct Case {
        const char *prefix;
        const char *lastLine;
        std::size_t count;
        const char *expected;
    };
    const Case cases[] = {
        {"Disc", "D:\\Pics\\Set01\\b.jpg,13", 2, "Disc_Pics_Set01_2.csv"},
        {"Disc", "C:\\c.jpg,1", 1, "Disc_1.csv"},
        {"Disc", "\\A\\X\\f.jpg,1", 1, "Disc_X_1.csv"},
        {"", "D:\\Pics\\Set01\\a.jpg", 2, "_Pics_Set01_2.csv"},
        {"Disc", "D:\\,\\Set\\a", 7, "Disc_Set_7.csv"},       // a lone comma is left out
        {"Disc", "D:\\a,b\\Set\\a", 7, "Disc_a,b_Set_7.csv"}, // a comma inside stays
        {"Disc", "Path,Size", 3, "Disc_3.csv"},
        {"sub\\x", "D:\\A\\B\\f", 1, "sub\\x_A_B_1.csv"}, // the user's prefix is used as given
        // Nothing from the listing can leave the current folder or break a name.
        {"Disc", "D:\\a/../../x\\f,1", 1, "Disc_a_.._.._x_1.csv"},
        {"Disc", "D:\\<a>:\"b\"|?*\\c\tx\\f", 12, "Disc__a___b_____c_x_12.csv"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(buildOutputName(c.prefix, splitComponents(c.lastLine, '\\'), c.count), c.expected)
            << c.lastLine;
    }
}

TEST(NumberedName, GoesBeforeTheExtension) {
    EXPECT_EQ(numberedName("Disc_Pics_1.csv", 2), "Disc_Pics_1 (2).csv");
    EXPECT_EQ(numberedName("_1.csv", 13), "_1 (13).csv");
}

} // namespace
