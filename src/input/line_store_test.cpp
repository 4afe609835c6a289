#include "input/line_store.h"

#include "key_order.h"
#include "text/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

int sign(int value) { return (value > 0) - (value < 0); }

// The definition the store's ordering is checked against.
TEST(CompareSortKeys, KeyPairs) {
    struct Case {
        const char *a;
        const char *b;
        int expected;
    };
    const Case cases[] = {
        {"\\a\\y,2", "\\B\\x,1", -1}, // letters compare folded
        {"\\A_\\x", "\\AB\\x", -1},   // '_' sorts before every letter
        {"\\[", "\\a", -1},
        {"\\`", "\\a", -1}, // so does the rest of 0x5B..0x60
        {"\\{", "\\z", 1},  // '{' is above the letters
        {"\\Pics\\Set01\\A.jpg", "\\pics\\set01\\a.JPG", 0},
        {"\\Pics", "\\Pics\\x", -1},    // a proper prefix first
        {"\\caf\xC3\xA9", "\\cafe", 1}, // bytes above 0x7F are unsigned
        {"\\\xC9", "\\\xE9", -1},       // and never folded
        {"\\a very long common directory name\\X", "\\A VERY LONG COMMON DIRECTORY NAME\\y", -1},
        {"\\a very long common directory name\\Y", "\\A VERY LONG COMMON DIRECTORY NAME\\x", 1},
        {"\\0123456789abcdef@", "\\0123456789ABCDEF[", -1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(sign(support::compareSortKeys(c.a, c.b)), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(sign(support::compareSortKeys(c.b, c.a)), -c.expected) << c.b << " vs " << c.a;
    }
}

std::vector<std::string> storedLines(const std::string &text) {
    platform::ByteBuffer bytes(platform::allocateBytes(text.size() + 1));
    std::memcpy(bytes.get(), text.data(), text.size());
    LineStore store;
    store.assign(std::move(bytes), text.size(), {});
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < store.size(); ++k)
        lines.emplace_back(store.line(k));
    return lines;
}

TEST(LineStore, RegistersTrimsAndOrders) {
    struct Case {
        std::string text;
        std::vector<std::string> expected;
    };
    const std::string longLine = "D:\\L\\" + std::string(20000, 'x');
    const Case cases[] = {
        {"E:\\B\\x,1\nD:\\a\\y,2\n", {"D:\\a\\y,2", "E:\\B\\x,1"}},
        {"E:\\A\\x,1\nD:\\A\\x,1\nC:\\a\\X,1\n", {"E:\\A\\x,1", "D:\\A\\x,1", "C:\\a\\X,1"}},
        {"D:\\AB\\x\nD:\\A_\\x\n", {"D:\\A_\\x", "D:\\AB\\x"}},
        {"D:\\b\\x\nlast line without break", {"last line without break", "D:\\b\\x"}},
        // Lines without a key come first, in reading order.
        {"D:\\z\\1\nPath,Size\n\nD:\\a\\2\n  \n", {"Path,Size", "", "", "D:\\a\\2", "D:\\z\\1"}},
        {" \tD:\\a\\Caf\xC3\xA9 \r\n\xE9"
         "D:\\a\\b\xE9\n",
         {"\xE9"
          "D:\\a\\b\xE9",
          "D:\\a\\Caf\xC3\xA9"}},
        {longLine + "\nD:\\A\\1\n", {"D:\\A\\1", longLine}},
        {"", {}},
        {"\n", {""}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(storedLines(c.text), c.expected) << c.text;
}

TEST(LineStore, StableForManyEqualKeys) {
    // Keys equal but for letter case; what precedes the first backslash
    // (here the reading order) takes no part in the order.
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += std::to_string(i) + (i % 3 ? ":\\Dir\\f,1\n" : ":\\DIR\\F,1\n");
    }
    std::vector<std::string> lines = storedLines(text);
    ASSERT_EQ(lines.size(), 3000u);
    for (std::size_t k = 0; k < lines.size(); ++k)
        EXPECT_EQ(std::stoi(lines[k]), static_cast<int>(k));
}

TEST(LineStore, OrderIsTheKeyOrderAndStable) {
    // Long shared prefixes and keys that end at and around eight-byte steps
    // exercise every depth of the ordering.
    const std::string pieces[] = {"\\",     "a",      "A",    "_", "Z",  "\xE9",
                                  "photos", "PHOTOS", "2024", "x", ",1", "12345678"};
    std::mt19937 random(11);
    std::string text;
    std::vector<std::string> expected;
    for (int i = 0; i < 4000; ++i) {
        std::string line = random() % 8 ? "D:" : "";
        for (int n = random() % 9; n > 0; --n)
            line += pieces[random() % 12];
        text += line + "\n";
        expected.push_back(line);
    }
    std::stable_sort(expected.begin(), expected.end(), support::storeOrder);
    EXPECT_EQ(storedLines(text), expected);
}

} // namespace
