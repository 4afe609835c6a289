#include "text/unicode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FoldNameCase, MatchesNamesAsNtfsDoes) {
    struct Case {
        std::string a;
        std::string b;
        bool same;
    };
    const Case cases[] = {
        {"Caf\xC3\xA9_1.csv", "CAF\xC3\x89_1.CSV", true},               // é É
        {"\xCF\x83\xCF\x82", "\xCE\xA3\xCE\xA3", true},                 // σ ς Σ
        {"\xD0\xB4\xD0\xBE\xD0\xBC", "\xD0\x94\xD0\x9E\xD0\x9C", true}, // дом ДОМ
        {"\xC3\xBF", "\xC5\xB8", true},                                 // ÿ Ÿ
        {"Stra\xC3\x9F"
         "e",
         "STRASSE", false},                              // ß stays ß
        {"e\xCC\x81", "\xC3\xA9", false},                // composed and not
        {"\xF0\x90\x90\xA8", "\xF0\x90\x90\x80", false}, // beyond the BMP
        {"a\xFF", "A\xFF", true},                        // bytes that are not UTF-8
    };
    for (const Case &c : cases) {
        EXPECT_EQ(foldNameCase(c.a) == foldNameCase(c.b), c.same) << c.a << " / " << c.b;
        EXPECT_EQ(foldedNameHash(c.a) == foldedNameHash(c.b), c.same) << c.a << " / " << c.b;
    }
}

TEST(Utf8, StrictCheckAndLosslessUtf16) {
    EXPECT_EQ(firstNonUtf8("plain, Caf\xC3\xA9 \xE6\xBC\xA2 \xF0\x9F\x93\xB7"), std::string::npos);
    EXPECT_EQ(firstNonUtf8("Caf\xE9"), 3u);
    EXPECT_EQ(firstNonUtf8("12345678\xC0\xAF"), 8u); // overlong
    EXPECT_EQ(firstNonUtf8("x\xED\xA0\x80"), 1u);    // a surrogate is not UTF-8
    EXPECT_EQ(firstNonUtf8("\xE6\xBC"), 0u);         // cut short

    const std::u16string units = {u'a', 0xD83D, 0xDCF7, 0xD800, u'b', 0xDC00};
    std::string text = utf8Of(units);
    EXPECT_EQ(text, "a\xF0\x9F\x93\xB7\xED\xA0\x80"
                    "b\xED\xB0\x80");
    EXPECT_EQ(utf16Of(text), units);
    EXPECT_EQ(utf16Of("\xE9"), u"\uFFFD");
}

TEST(Utf8, HeadsEndBetweenCharacters) {
    EXPECT_EQ(utf8Head("ab\xC3\xA9", 3), "ab");
    EXPECT_EQ(utf8Head("ab\xC3\xA9", 4), "ab\xC3\xA9");
    EXPECT_EQ(utf8Head("\xE6\xBC\xA2", 2), "");
}

TEST(CodePages, MapEveryByteAsWindowsDoes) {
    CodePage page;
    ASSERT_TRUE(builtInCodePage(1252, page));
    EXPECT_EQ(page.characters[0x80], U'\u20AC');
    for (unsigned char hole : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(page.characters[hole], hole);
    EXPECT_EQ(decodeCodePage(page, "M\xFCller"), "M\xC3\xBCller");
    ASSERT_TRUE(builtInCodePage(850, page));
    EXPECT_EQ(decodeCodePage(page, "M\xA3sica Caf\x82"), "M\xC3\xBAsica Caf\xC3\xA9");
    ASSERT_TRUE(builtInCodePage(437, page));
    EXPECT_EQ(decodeCodePage(page, "\xE1\x9A"), "\xC3\x9F\xC3\x9C");
    EXPECT_FALSE(builtInCodePage(1253, page));
}

} // namespace
