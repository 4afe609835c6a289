#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string readAll(const char *name, std::size_t capacity) {
    platform::TextInput *input = platform::openTextInput(name);
    EXPECT_NE(input, nullptr);
    if (input == nullptr) return {};
    std::string text;
    std::string block(capacity, '\0');
    std::size_t count = 0;
    while (platform::readText(input, block.data(), capacity, count) == platform::ReadStatus::Data) {
        text.append(block, 0, count);
    }
    platform::closeTextInput(input);
    return text;
}

// Text-mode reading must give the same bytes whatever the size of the reads,
// also when a CR LF pair is cut between two of them.
TEST(TextInput, TranslatesLikeTheCRuntime) {
    struct Case {
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", "a\nb\n"},
        {"a\rb\r\r\nc\r", "a\rb\r\nc\r"},
        {"a\nb\x1a"
         "c\r\n",
         "a\nb"},
        {"\r\n\r\n\r", "\n\n\r"},
        {"x\r\x1a\n", "x\r"},
        {"\x1a", ""},
        {"\xEF\xBB\xBF\xE9\r\n", "\xEF\xBB\xBF\xE9\n"},
    };
    const char *name = "norvex_platform_test.txt";
    for (const Case &c : cases) {
        std::FILE *file = std::fopen(name, "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(c.bytes.data(), 1, c.bytes.size(), file);
        std::fclose(file);
        for (std::size_t capacity : {2, 3, 5, 4096}) {
            EXPECT_EQ(readAll(name, capacity), c.text) << "capacity " << capacity;
        }
    }
    std::remove(name);
}

} // namespace
