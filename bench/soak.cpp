// `make soak`: splits a generated listing (5,000,000 lines unless told) with
// the Release build and checks that nothing was lost or made up: the output
// files, taken together, hold exactly the listing's lines (as a multiset, line
// ends aside), each file holds as many lines as its name says, and the counts
// in the names add up to the listing's line count. A second run in the same
// folder must write nothing and report every group "already present".
//
// Usage: norvex_soak --tool PATH --dir DIR [--lines N] [--seed N]
#include "child_runs.h"
#include "listing_generator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::size_t occurrences(std::string_view text, std::string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// Runs the tool on the listing in folder out, its standard output to report.
bool splitsWell(const std::string &tool, const fs::path &listing, const fs::path &out,
                const fs::path &report) {
    return support::runChild({tool, listing.string()}, out, {report, {}}).exitCode == 0;
}

int fail(const std::string &message) {
    std::fprintf(stderr, "soak: FAILED: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    std::string tool, dir;
    unsigned long long lineCount = 5000000, seed = 20261211;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string flag = argv[i], value = argv[i + 1];
        if (flag == "--tool")
            tool = fs::absolute(value);
        else if (flag == "--dir")
            dir = fs::absolute(value);
        else if (flag == "--lines")
            lineCount = std::strtoull(value.c_str(), nullptr, 10);
        else if (flag == "--seed")
            seed = std::strtoull(value.c_str(), nullptr, 10);
    }
    if (tool.empty() || dir.empty())
        return fail("usage: norvex_soak --tool PATH --dir DIR [--lines N]");
    fs::create_directories(dir);
    fs::path listing = fs::path(dir) / ("Soak_" + std::to_string(lineCount) + ".csv");
    if (!fs::exists(listing) && !generateListing(listing, lineCount, seed)) {
        return fail("cannot write " + listing.string());
    }
    fs::path out = fs::path(dir) / "soak-out";
    fs::remove_all(out);
    fs::create_directories(out);

    fs::path report = fs::path(dir) / "soak-report.txt";
    if (!splitsWell(tool, listing, out, report)) return fail("norvex did not succeed");

    std::string input = support::readFile(listing);
    std::vector<std::string_view> expected = support::linesOf(input);

    std::vector<std::string> outputs;
    long long namedTotal = 0;
    std::size_t files = 0;
    for (const auto &entry : fs::directory_iterator(out)) {
        std::string name = entry.path().filename().string();
        long long named = support::countInName(name);
        if (named < 0) return fail("a file that is not an output: " + name);
        outputs.push_back(support::readFile(entry.path()));
        std::vector<std::string_view> lines = support::linesOf(outputs.back());
        if (static_cast<long long>(lines.size()) != named) return fail("wrong count in " + name);
        namedTotal += named;
        ++files;
    }
    std::vector<std::string_view> actual;
    actual.reserve(expected.size());
    for (const std::string &text : outputs) {
        std::vector<std::string_view> lines = support::linesOf(text);
        actual.insert(actual.end(), lines.begin(), lines.end());
    }

    if (namedTotal != static_cast<long long>(expected.size())) {
        return fail("the names count " + std::to_string(namedTotal) + " lines, the listing has " +
                    std::to_string(expected.size()));
    }
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    if (expected != actual) return fail("the output files do not hold exactly the listing's lines");
    std::printf("soak: %zu lines in %zu files: every line in exactly one file, counts add up\n",
                expected.size(), files);

    if (!splitsWell(tool, listing, out, report)) return fail("the second run did not succeed");
    std::string second = support::readFile(report);
    std::size_t present = occurrences(second, " already present. ");
    std::size_t written = occurrences(second, " written. ");
    std::size_t filesNow = static_cast<std::size_t>(
        std::distance(fs::directory_iterator(out), fs::directory_iterator()));
    if (written != 0 || present != files || filesNow != files) {
        return fail("the second run wrote " + std::to_string(written) + " files and found " +
                    std::to_string(present) + " of " + std::to_string(files) + " present");
    }
    std::printf("soak: a second run wrote nothing and found all %zu files already present\n",
                present);
    fs::remove_all(out);
    return 0;
}
