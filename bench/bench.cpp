// `make bench`: times norvex against the floor (bench/floor.cpp) on generated
// listings and reports the figures the performance targets are stated in.
// The timing never fails anything: it reports, and says which targets held.
//
// Usage: norvex_bench --tool PATH --floor PATH --dir DIR [--sizes N,N,...]
//                     [--repeat N] [--seed N]
#include "child_runs.h"
#include "listing_generator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

void freshFolder(const fs::path &folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
}

} // namespace

int main(int argc, char **argv) {
    std::string tool, floor, dir;
    std::vector<unsigned long long> sizes = {100000, 1000000, 5000000};
    int repeat = 3;
    unsigned long long seed = 20261211;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string flag = argv[i], value = argv[i + 1];
        if (flag == "--tool")
            tool = fs::absolute(value);
        else if (flag == "--floor")
            floor = fs::absolute(value);
        else if (flag == "--dir")
            dir = fs::absolute(value);
        else if (flag == "--repeat")
            repeat = std::max(1, std::atoi(value.c_str()));
        else if (flag == "--seed")
            seed = std::strtoull(value.c_str(), nullptr, 10);
        else if (flag == "--sizes") {
            sizes.clear();
            for (std::size_t at = 0; at < value.size();) {
                std::size_t comma = value.find(',', at);
                if (comma == std::string::npos) comma = value.size();
                sizes.push_back(std::strtoull(value.substr(at, comma - at).c_str(), nullptr, 10));
                at = comma + 1;
            }
        }
    }
    if (tool.empty() || floor.empty() || dir.empty()) {
        std::fprintf(stderr,
                     "usage: norvex_bench --tool PATH --floor PATH --dir DIR [--sizes N,...]\n");
        return 2;
    }
    fs::create_directories(dir);

    std::printf("best of %d runs each; tool and floor run alternately on the same listing\n\n",
                repeat);
    std::printf("%10s %8s %8s %7s %7s %10s %7s %9s %9s %8s %8s %6s\n", "lines", "MB", "wall s",
                "user s", "sys s", "lines/s", "MB/s", "peak MiB", "limit MiB", "files", "floor s",
                "ratio");
    double timeAtMillion = 0, timeAtFiveMillion = 0;
    double rerunAtMillion = 0, utf16AtMillion = 0;
    bool allHeld = true;
    for (unsigned long long lines : sizes) {
        fs::path listing = fs::path(dir) / ("Bench_" + std::to_string(lines) + ".csv");
        if (!fs::exists(listing) && !generateListing(listing, lines, seed)) {
            std::fprintf(stderr, "cannot write %s\n", listing.c_str());
            return 1;
        }
        double megabytes = static_cast<double>(fs::file_size(listing)) / 1e6;
        fs::path toolOut = fs::path(dir) / "tool-out";
        fs::path floorOut = fs::path(dir) / "floor-out";
        support::ChildResult best, bestFloor;
        best.wall = bestFloor.wall = 1e30;
        std::size_t files = 0;
        std::uintmax_t bytes = 0;
        for (int r = 0; r < repeat; ++r) {
            freshFolder(toolOut);
            support::ChildResult m = support::runChild({tool, listing.string()}, toolOut, {});
            if (m.exitCode != 0) {
                std::fprintf(stderr, "norvex failed with exit code %d\n", m.exitCode);
                return 1;
            }
            if (m.wall < best.wall) best = m;
            files = 0;
            bytes = 0;
            for (const auto &entry : fs::directory_iterator(toolOut)) {
                ++files;
                bytes += entry.file_size();
            }
            fs::remove_all(toolOut);
            freshFolder(floorOut);
            support::ChildResult f = support::runChild(
                {floor, listing.string(), std::to_string(files), std::to_string(bytes)}, floorOut,
                {});
            if (f.wall < bestFloor.wall) bestFloor = f;
            fs::remove_all(floorOut);
        }
        double limit = 1.5 * static_cast<double>(fs::file_size(listing)) / 1048576.0 + 16.0;
        double ratio = best.wall / bestFloor.wall;
        std::printf("%10llu %8.1f %8.2f %7.2f %7.2f %10.0f %7.1f %9.1f %9.1f %8zu %8.2f %6.2f\n",
                    lines, megabytes, best.wall, best.user, best.system, lines / best.wall,
                    megabytes / best.wall, best.peakMiB, limit, files, bestFloor.wall, ratio);
        std::fflush(stdout);
        if (lines == 1000000) {
            timeAtMillion = best.wall;
            allHeld = allHeld && ratio <= 1.15;
            // A second run in the same folder finds every file present.
            freshFolder(toolOut);
            support::runChild({tool, listing.string()}, toolOut, {});
            rerunAtMillion = 1e30;
            for (int r = 0; r < repeat; ++r)
                rerunAtMillion = std::min(
                    rerunAtMillion, support::runChild({tool, listing.string()}, toolOut, {}).wall);
            fs::remove_all(toolOut);
            // The same listing in UTF-16LE.
            fs::path utf16 = fs::path(dir) / ("Bench_" + std::to_string(lines) + "_utf16.csv");
            if (!fs::exists(utf16) && !generateListing(utf16, lines, seed, {false, true})) {
                std::fprintf(stderr, "cannot write %s\n", utf16.c_str());
                return 1;
            }
            utf16AtMillion = 1e30;
            for (int r = 0; r < repeat; ++r) {
                freshFolder(toolOut);
                utf16AtMillion = std::min(
                    utf16AtMillion, support::runChild({tool, utf16.string()}, toolOut, {}).wall);
            }
            fs::remove_all(toolOut);
        }
        if (lines == 5000000) timeAtFiveMillion = best.wall;
        allHeld = allHeld && best.peakMiB <= limit;
    }
    std::printf("\n");
    if (timeAtMillion > 0 && timeAtFiveMillion > 0) {
        double growth = timeAtFiveMillion / timeAtMillion;
        std::printf("5,000,000 lines took %.2f times the 1,000,000-line time (target: at most 6)\n",
                    growth);
        allHeld = allHeld && growth <= 6.0;
    }
    if (rerunAtMillion > 0) {
        double share = rerunAtMillion / timeAtMillion;
        std::printf("re-run of 1,000,000 lines in the same folder, every file present: %.2f s, "
                    "%.2f of the first run (target: at most 0.5)\n",
                    rerunAtMillion, share);
        allHeld = allHeld && share <= 0.5;
        std::printf("the same 1,000,000 lines in UTF-16LE: %.2f s (UTF-8: %.2f s)\n",
                    utf16AtMillion, timeAtMillion);
    }
    std::printf("targets (ratio <= 1.15 at 1,000,000 lines, re-run <= 0.5, peak <= limit, "
                "growth <= 6): %s\n",
                allHeld ? "held" : "MISSED");
    return 0;
}
