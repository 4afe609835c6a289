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
        // Nothing from the listing can leave the current folder or break a name.
        {"Disc", "D:\\a/../../x\\f,1", 1, "Disc_a_.._.._x_1.csv"},
        {"Disc", "D:\\<a>:\"b\"|?*\\c\tx\\f", 12, "Disc__a___b_____c_x_12.csv"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(buildOutputName(c.prefix, splitComponents(c.lastLine, '\\'), c.count), c.expected)
            << c.lastLine;
    }
}

TEST(CandidateName, NumbersGoBeforeTheExtension) {
    OutputName name = outputNameOf("Disc", splitComponents("D:\\Pics\\f", '\\'), 1);
    EXPECT_EQ(candidateName(name, 1), "Disc_Pics_1.csv");
    EXPECT_EQ(candidateName(name, 2), "Disc_Pics_1 (2).csv");
    EXPECT_EQ(candidateName(name, 100013), "Disc_Pics_1 (100013).csv");
}

TEST(CandidateName, NamesOfACodePageListingAreItsCharacters) {
    ListingEncoding encoding;
    encoding.namesInCodePage = true;
    ASSERT_TRUE(builtInCodePage(850, encoding.codePage));
    OutputName name =
        outputNameOf("L", splitComponents("C:\\M\xA3sica\\Caf\x82\\f", '\\'), 2, encoding);
    EXPECT_EQ(candidateName(name, 1), "L_M\xC3\xBAsica_Caf\xC3\xA9_2.csv");
}

// The shortening rule: at most 255 bytes with the number; the prefix, the
// count and the deepest components stay; one '~' marks the cut.
TEST(CandidateName, LongNamesAreShortenedByOneRule) {
    struct Case {
        std::string prefix;
        std::string line;
        std::size_t number;
        std::string expected;
    };
    const std::string a100(100, 'a');
    const std::string b100(100, 'b');
    const std::string c100(100, 'c');
    const std::string e200 = [] {
        std::string text;
        for (int i = 0; i < 100; ++i)
            text += "\xC3\xA9"; // é, two bytes each
        return text;
    }();
    const Case cases[] = {
        // 4 + 101 + 101 + 6 = 212 bytes: nothing to do.
        {"Disc", "D:\\" + a100 + "\\" + b100 + "\\f", 1, "Disc_" + a100 + "_" + b100 + "_1.csv"},
        // 4 + 303 + 6 bytes: the shallowest component gives way.
        {"Disc", "D:\\" + a100 + "\\" + b100 + "\\" + c100 + "\\f", 1,
         "Disc~_" + b100 + "_" + c100 + "_1.csv"},
        // The number's room is kept: still 255 bytes at most.
        {"Disc", "D:\\" + a100 + "\\" + b100 + "\\" + c100 + "\\f", 12,
         "Disc~_" + b100 + "_" + c100 + "_1 (12).csv"},
        // A deepest component too long on its own keeps its end, cut between
        // characters.
        {"Dis", "D:\\" + e200 + e200 + "\\f", 1, "Dis~" + e200.substr(0, 44) + e200 + "_1.csv"},
        // A prefix too long on its own keeps its start.
        {std::string(300, 'p'), "D:\\a\\f", 1, std::string(248, 'p') + "~_1.csv"},
    };
    for (const Case &c : cases) {
        OutputName name = outputNameOf(c.prefix, splitComponents(c.line, '\\'), 1);
        name.count = 1;
        std::string fitted = candidateName(name, c.number);
        EXPECT_EQ(fitted, c.expected) << c.line;
        EXPECT_LE(fitted.size(), MAX_NAME_BYTES);
    }
}

TEST(DeviceNames, AreFoundAtTheStartOfAPrefix) {
    for (const char *prefix : {"NUL.x", "con.list", "COM1 .x", "lpt9.a.b", "Aux.."})
        EXPECT_TRUE(startsWithDeviceName(prefix)) << prefix;
    for (const char *prefix : {"NUL", "NULL.x", "COM0.x", "COM10.x", "x.NUL", "CONSOLE.x", ""})
        EXPECT_FALSE(startsWithDeviceName(prefix)) << prefix;
}

} // namespace
