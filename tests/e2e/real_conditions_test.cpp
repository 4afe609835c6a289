// Conditions a table row cannot make: a full file system, a real signal in
// the middle of a run, a reader that goes away.
#include "listing_generator.h"
#include "runner.h"
#include "tests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace e2e {
namespace {

// Every output file in folder holds as many lines as its name says; returns
// all their lines, sorted, for the comparison with the listing's.
std::vector<std::string> checkedOutputLines(const fs::path &folder, const std::string &listing) {
    std::vector<std::string> all;
    for (const auto &[name, bytes] : filesBelow(folder)) {
        if (name == listing) continue;
        EXPECT_NE(name, "temp.csv") << "the working file is left behind";
        std::size_t end = name.rfind(".csv");
        std::size_t open = name.rfind(" (");
        std::size_t countEnd = open != std::string::npos && open < end ? open : end;
        std::size_t underscore = name.rfind('_', countEnd);
        if (end == std::string::npos || underscore == std::string::npos) {
            ADD_FAILURE() << "unexpected file " << name;
            continue;
        }
        std::vector<std::string_view> lines = support::linesOf(bytes);
        EXPECT_EQ(std::to_string(lines.size()),
                  name.substr(underscore + 1, countEnd - underscore - 1))
            << "file " << name << " is not complete";
        all.insert(all.end(), lines.begin(), lines.end());
    }
    std::sort(all.begin(), all.end());
    return all;
}

std::vector<std::string> sortedLinesOf(const fs::path &listing) {
    std::string text = support::readFile(listing);
    std::vector<std::string_view> views = support::linesOf(text);
    std::vector<std::string> lines(views.begin(), views.end());
    std::sort(lines.begin(), lines.end());
    return lines;
}

// A real SIGINT in the middle of a run: finished files stay complete, the
// working file goes, and a second run completes the set without copies.
class InterruptTest : public testing::Test {
  public:
    void TestBody() override {
        fs::path root = scratchFolder();
        fs::path work = root / "work";
        fs::create_directories(work);
        const std::string listing = "Big_1.csv";
        ASSERT_TRUE(generateListing(work / listing, 200000, 7));
        int fd = -1;
        pid_t child = support::startWithPipe({options.program, listing}, work, root / "stderr", fd);
        std::string seen;
        std::size_t written = 0;
        char buffer[4096];
        bool signalled = false;
        for (;;) {
            ssize_t got = read(fd, buffer, sizeof buffer);
            if (got <= 0) break;
            seen.append(buffer, static_cast<std::size_t>(got));
            written = 0;
            for (std::size_t at = seen.find(" written. "); at != std::string::npos;
                 at = seen.find(" written. ", at + 1))
                ++written;
            if (!signalled && written >= 20) {
                kill(child, SIGINT);
                signalled = true;
            }
        }
        close(fd);
        ASSERT_TRUE(signalled) << "the run ended before 20 files were written";
        EXPECT_EQ(support::waitFor(child), 130);
        EXPECT_EQ(support::readFile(root / "stderr").rfind("Failure: interrupted; ", 0), 0u)
            << support::readFile(root / "stderr");
        std::vector<std::string> partial = checkedOutputLines(work, listing);
        EXPECT_FALSE(partial.empty());

        Outcome second = runProgram({options.program, listing, "/quiet"}, {}, work, root);
        EXPECT_EQ(second.exitCode, 0) << second.err;
        EXPECT_EQ(checkedOutputLines(work, listing), sortedLinesOf(work / listing));
        removeUnlessFailed(root);
    }
};

// A reader that goes away (norvex ... | head) stops the reports, not the
// work: every group is still written, and the run succeeds.
class ClosedOutputTest : public testing::Test {
  public:
    void TestBody() override {
        fs::path root = scratchFolder();
        fs::path work = root / "work";
        fs::create_directories(work);
        const std::string listing = "Pipe_1.csv";
        ASSERT_TRUE(generateListing(work / listing, 6000, 5));
        int fd = -1;
        pid_t child = support::startWithPipe({options.program, listing}, work, root / "stderr", fd);
        close(fd);
        EXPECT_EQ(support::waitFor(child), 0) << support::readFile(root / "stderr");
        EXPECT_EQ(checkedOutputLines(work, listing), sortedLinesOf(work / listing));
        removeUnlessFailed(root);
    }
};

// A file system that fills up during the run: the failure is reported, no
// file is left shorter than its name says, and the working file is gone.
class FullDiskTest : public testing::Test {
  public:
    void TestBody() override {
        fs::path root = scratchFolder();
        fs::path full = root / "full";
        fs::create_directories(full);
        std::string command = "mount -t tmpfs -o size=64k tmpfs '" + full.string() + "' 2>&1";
        if (std::system(command.c_str()) != 0) {
            fs::remove_all(root);
            GTEST_SKIP() << "cannot mount a small tmpfs here (needs root and mount rights)";
        }
        const std::string listing = "Big_1.csv";
        ASSERT_TRUE(generateListing(root / listing, 4000, 9));
        Outcome outcome = runProgram({options.program, "../" + listing, "/quiet"}, {}, full, root);
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(visible(outcome.err),
                  visible(consoleText("Failure: unable to write the working file temp.csv.\n")));
        checkedOutputLines(full, listing);
        std::string unmount = "umount '" + full.string() + "'";
        EXPECT_EQ(std::system(unmount.c_str()), 0);
        removeUnlessFailed(root);
    }
};

} // namespace

void registerRealConditionTests() {
    testing::RegisterTest("RealConditions", "FullDisk", nullptr, nullptr, __FILE__, __LINE__,
                          []() -> testing::Test * { return new FullDiskTest; });
    if (options.windows)
        return; // Wine passes neither a signal nor a closed pipe on as Windows would
    testing::RegisterTest("RealConditions", "Interrupt", nullptr, nullptr, __FILE__, __LINE__,
                          []() -> testing::Test * { return new InterruptTest; });
    testing::RegisterTest("RealConditions", "ClosedOutput", nullptr, nullptr, __FILE__, __LINE__,
                          []() -> testing::Test * { return new ClosedOutputTest; });
}

} // namespace e2e
