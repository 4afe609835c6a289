// Generated listings split by the native build and by the program under
// test (norvex.exe under Wine): the two must agree byte for byte.
#include "listing_generator.h"
#include "runner.h"
#include "tests.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

// A generated listing, split by the reference program (the native build, run
// directly) and by the program under test: both must give the same console
// output, exit code and files, byte for byte.
class DifferentialTest : public testing::Test {
  public:
    DifferentialTest(std::uint64_t lines, std::uint64_t seed, ListingStyle style)
        : lines_(lines), seed_(seed), style_(style) {}

    void TestBody() override {
        fs::path root = scratchFolder();
        fs::path expectedWork = root / "reference";
        fs::path work = root / "work";
        fs::create_directories(expectedWork);
        fs::create_directories(work);
        const std::string listing = "Generated_0001.csv";
        ASSERT_TRUE(generateListing(work / listing, lines_, seed_, style_));
        fs::copy_file(work / listing, expectedWork / listing);

        fs::path referenceCaptures = root / "reference-captures";
        fs::create_directories(referenceCaptures);
        Outcome reference = runProgram({options.referenceProgram, listing}, {}, expectedWork,
                                       referenceCaptures, "");
        Outcome outcome = runProgram({options.program, listing}, {}, work, root);

        SCOPED_TRACE("generated listing of " + std::to_string(lines_) + " lines, seed " +
                     std::to_string(seed_));
        ASSERT_EQ(reference.exitCode, 0);
        expectConsole(outcome, reference.exitCode, reference.out, reference.err);
        expectFiles(filesBelow(expectedWork), filesBelow(work));
        removeUnlessFailed(root);
    }

  private:
    std::uint64_t lines_;
    std::uint64_t seed_;
    ListingStyle style_;
};

} // namespace

void registerDifferentialTests() {
    struct Listing {
        const char *name;
        std::uint64_t seed;
        ListingStyle style;
    };
    const Listing listings[] = {{"GeneratedListing", 1, {}},
                                {"InternationalNames", 2, {true, false}},
                                {"InternationalNamesInUtf16", 3, {true, true}}};
    for (const Listing &listing : listings) {
        testing::RegisterTest("Differential", listing.name, nullptr, nullptr, __FILE__, __LINE__,
                              [listing]() -> testing::Test * {
                                  return new DifferentialTest(6000, listing.seed, listing.style);
                              });
    }
}

} // namespace e2e
