#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Each test works in a temporary folder of its own.
class PlatformTest : public testing::Test {
  protected:
    void SetUp() override {
        static int tests = 0;
        folder_ = fs::temp_directory_path() /
                  ("norvex-platform-test-" + std::to_string(static_cast<long>(getpid())) + "-" +
                   std::to_string(++tests));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // The UTF-8 name of a file in the test's folder.
    std::string at(const char *name) const {
        auto text = (folder_ / "").u8string() + reinterpret_cast<const char8_t *>(name);
        return std::string(text.begin(), text.end());
    }

    void writeFile(const char *name, const std::string &bytes) const {
        platform::WorkFile *file = nullptr;
        ASSERT_EQ(platform::createWorkFile(at(name).c_str(), file), platform::CreateStatus::Created)
            << name;
        ASSERT_TRUE(platform::writeWorkFile(file, bytes.data(), bytes.size()));
        ASSERT_TRUE(platform::closeWorkFile(file));
    }

    std::string readFile(const char *name, std::size_t capacity) const {
        platform::InputFile *input = platform::openInput(at(name).c_str());
        EXPECT_NE(input, nullptr) << name;
        if (input == nullptr) return {};
        std::string bytes;
        std::string block(capacity, '\0');
        std::size_t count = 0;
        while (platform::readBytes(input, block.data(), capacity, count) ==
               platform::ReadStatus::Data)
            bytes.append(block, 0, count);
        platform::closeInput(input);
        return bytes;
    }

    fs::path folder_;
};

// Files are written and read byte for byte: no line break or Ctrl-Z is
// translated on either build.
TEST_F(PlatformTest, BytesGoThroughUnchanged) {
    const std::string bytes("a\r\nb\n\x1a\r\0\xFF\xFE", 11);
    writeFile("bytes.csv", bytes);
    for (std::size_t capacity : {1, 3, 4096})
        EXPECT_EQ(readFile("bytes.csv", capacity), bytes);
    std::uint64_t size = 0;
    ASSERT_TRUE(platform::findFileSize(at("bytes.csv").c_str(), size));
    EXPECT_EQ(size, bytes.size());
}

// Names are UTF-8 text, compared as Windows compares them, and a rename
// never replaces a file whose name differs only in letter case.
TEST_F(PlatformTest, NamesAreTextAndNeverReplaced) {
    writeFile("Caf\xC3\xA9_1.csv", "first");
    platform::ExistingFile existing;
    ASSERT_TRUE(platform::findExisting(at("CAF\xC3\x89_1.CSV").c_str(), existing));
    EXPECT_EQ(existing.name, at("Caf\xC3\xA9_1.csv"));
    EXPECT_EQ(existing.size, 5u);
    EXPECT_TRUE(existing.regular);
    EXPECT_FALSE(platform::findExisting(at("Cafe_1.csv").c_str(), existing));

    writeFile("temp.csv", "second");
    platform::WorkFile *file = nullptr;
    EXPECT_EQ(platform::createWorkFile(at("TEMP.CSV").c_str(), file),
              platform::CreateStatus::Exists);
    EXPECT_EQ(platform::renameFile(at("temp.csv").c_str(), at("CAF\xC3\x89_1.csv").c_str()),
              platform::RenameStatus::TargetExists);
    EXPECT_EQ(readFile("Caf\xC3\xA9_1.csv", 64), "first");
    EXPECT_EQ(platform::renameFile(at("temp.csv").c_str(), at("\xCE\xA9mega_1.csv").c_str()),
              platform::RenameStatus::Done);
    EXPECT_EQ(readFile("\xCE\xA9mega_1.csv", 64), "second");
    EXPECT_TRUE(platform::findExisting(at("\xCF\x89MEGA_1.csv").c_str(), existing));
    EXPECT_TRUE(platform::removeFile(at("\xCE\xA9mega_1.csv").c_str()));
}

TEST_F(PlatformTest, OpenTestTellsMissingFromPresent) {
    writeFile("here.csv", "x");
    EXPECT_EQ(platform::openTest(at("here.csv").c_str()), platform::OpenStatus::Opened);
    EXPECT_EQ(platform::openTest(at("gone.csv").c_str()), platform::OpenStatus::Missing);
    fs::create_directory(folder_ / "folder");
    EXPECT_EQ(platform::openTest(at("folder").c_str()), platform::OpenStatus::Missing);
}

} // namespace
