#include "input/listing_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string preparedBytes(std::string bytes, std::size_t skip, PreparedText &prepared) {
    prepared = prepareByteText(bytes.data(), bytes.size(), skip);
    return bytes.substr(0, prepared.size);
}

// Byte listings read as text mode reads them.
TEST(PrepareByteText, TranslatesLikeTextMode) {
    struct Case {
        std::string bytes;
        std::string text;
        std::uint64_t afterCtrlZ;
        bool warns;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", "a\nb\n", 0, false},
        {"a\rb\r\r\nc\r", "a\rb\r\nc\r", 0, false},
        {"a\nb\x1a"
         "c\r\n",
         "a\nb", 3, true},
        {"\r\n\r\n\r", "\n\n\r", 0, false},
        {"x\r\x1a\n", "x\r", 1, false},
        {"\x1a", "", 0, false},
        {"a\r\n\x1a \r\n\t", "a\n", 4, false}, // an end-of-file mark before blanks is silent
        {"\xE9\r\n", "\xE9\n", 0, false},
    };
    for (const Case &c : cases) {
        PreparedText prepared;
        EXPECT_EQ(preparedBytes(c.bytes, 0, prepared), c.text) << c.bytes;
        EXPECT_EQ(prepared.bytesAfterCtrlZ, c.afterCtrlZ) << c.bytes;
        EXPECT_EQ(prepared.endedAtCtrlZ && prepared.textAfterCtrlZ, c.warns) << c.bytes;
        EXPECT_EQ(prepared.status, PreparedText::Ready);
    }
    PreparedText prepared;
    EXPECT_EQ(preparedBytes("\xEF\xBB\xBF"
                            "a\r\n",
                            3, prepared),
              "a\n");
    preparedBytes(std::string("a\0b", 3), 0, prepared);
    EXPECT_EQ(prepared.status, PreparedText::NulByte);
    EXPECT_EQ(preparedBytes(std::string("a\x1a\0", 3), 0, prepared), "a"); // past the end
    EXPECT_EQ(prepared.status, PreparedText::Ready);
}

std::string utf16le(std::u16string_view units) {
    std::string bytes;
    for (char16_t unit : units) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string preparedUtf16(const std::string &bytes, bool bigEndian, PreparedText &prepared) {
    std::string out(utf16TextCapacity(bytes.size()), '\0');
    prepared = prepareUtf16Text(bytes.data(), bytes.size(), bigEndian, out.data());
    return out.substr(0, prepared.size);
}

TEST(PrepareUtf16Text, SameRulesOnCodeUnits) {
    PreparedText prepared;
    // CR LF is one break, a lone CR stays, pairs and lone surrogates survive.
    EXPECT_EQ(
        preparedUtf16(utf16le(u"D:\\Caf\u00E9\r\nx\ry\r\n\U0001F4F7\xD800z"), false, prepared),
        "D:\\Caf\xC3\xA9\nx\ry\n\xF0\x9F\x93\xB7\xED\xA0\x80z");
    // U+011A holds a byte 0x1A and U+0A0D bytes of CR and LF: only whole code
    // units count.
    EXPECT_EQ(preparedUtf16(utf16le(u"\u011A\u0A0D"), false, prepared), "\xC4\x9A\xE0\xA8\x8D");
    EXPECT_FALSE(prepared.endedAtCtrlZ);
    EXPECT_EQ(preparedUtf16(std::string("\0a\0\x1a\0b", 6), true, prepared), "a");
    EXPECT_EQ(prepared.bytesAfterCtrlZ, 2u);
    EXPECT_TRUE(prepared.textAfterCtrlZ);
    preparedUtf16(utf16le(u"a") + std::string(2, '\0'), false, prepared);
    EXPECT_EQ(prepared.status, PreparedText::NulByte);
    preparedUtf16("abc", false, prepared);
    EXPECT_EQ(prepared.status, PreparedText::HalfUnit);
}

TEST(EncodingMark, DecidesTheForm) {
    EXPECT_EQ(encodingMarkOf("\xFF\xFE"
                             "a")
                  .form,
              ListingForm::Utf16LE);
    EXPECT_EQ(encodingMarkOf("\xFE\xFF"
                             "a")
                  .form,
              ListingForm::Utf16BE);
    EXPECT_EQ(encodingMarkOf("\xEF\xBB\xBF"
                             "a")
                  .mark,
              "\xEF\xBB\xBF");
    EXPECT_EQ(encodingMarkOf("\xEF\xBB\xBF"
                             "a")
                  .form,
              ListingForm::Bytes);
    EXPECT_EQ(encodingMarkOf("D:\\").mark, "");
}

} // namespace
