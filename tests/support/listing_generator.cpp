#include "listing_generator.h"

#include "text/unicode.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// splitmix64: small, fast and the same everywhere.
struct Random {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t below(std::uint64_t bound) { return next() % bound; }
};

const char *const WORDS[] = {
    "Photos",  "Music", "Scans",  "Backup", "Projects", "Archive", "Set",    "Holiday",
    "Garden",  "Raw",   "Edited", "Export", "Docs",     "Video",   "Clips",  "Disc",
    "Vol",     "Misc",  "old",    "Family", "Work",     "Travel",  "Birds",  "Receipts",
    "Letters", "Jazz",  "Folk",   "Live",   "Mixes",    "Drafts",  "_inbox", "New Folder",
    "2019",    "2020",  "2021",   "2022",   "2023",     "2024",    "Q1",     "Q4"};
const char *const INTERNATIONAL_WORDS[] = {"Caf\xC3\xA9",
                                           "CAF\xC3\x89",
                                           "M\xC3\xBCller",
                                           "\xCE\xA9mega",
                                           "\xCF\x83\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1",
                                           "\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x8A\xCE\x91",
                                           "\xD0\x94\xD0\xBE\xD0\xBC",
                                           "\xD0\xB4\xD0\xBE\xD0\xBC",
                                           "\xE6\xBC\xA2\xE5\xAD\x97",
                                           "\xF0\x9F\x93\xB7 Camera"};
const char *const FILE_STEMS[] = {"a_",     "IMG_", "DSC_",    "scan-", "track ",
                                  "notes_", "zz_",  "Report ", "clip",  "~tmp"};
const char *const EXTENSIONS[] = {".jpg", ".JPG", ".png", ".flac", ".mp4", ".pdf", ".txt", ".tif"};

std::string directoryName(Random &random, bool international) {
    constexpr std::size_t INTERNATIONAL =
        sizeof INTERNATIONAL_WORDS / sizeof INTERNATIONAL_WORDS[0];
    if (international && random.below(4) == 0)
        return INTERNATIONAL_WORDS[random.below(INTERNATIONAL)];
    std::string name = WORDS[random.below(sizeof WORDS / sizeof WORDS[0])];
    if (random.below(3) == 0) name += std::to_string(random.below(60));
    switch (random.below(10)) {
    case 0:
        for (char &c : name)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        break;
    case 1:
        for (char &c : name)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        break;
    default: break;
    }
    return name;
}

} // namespace

bool generateListing(const std::string &path, std::uint64_t lineCount, std::uint64_t seed,
                     ListingStyle style) {
    Random random{seed};
    const std::uint64_t directoryCount = std::max<std::uint64_t>(1, lineCount / 40);

    // Each directory is a child of an earlier one (or sits on a drive), so
    // trees grow to depth 7 and directories hold both files and subdirectories.
    std::vector<std::string> paths;
    std::vector<int> depths;
    paths.reserve(directoryCount);
    for (std::uint64_t d = 0; d < directoryCount; ++d) {
        if (d == 0 || random.below(10) == 0) {
            paths.push_back(std::string(1, static_cast<char>('C' + random.below(4))) + ":\\" +
                            directoryName(random, style.international));
            depths.push_back(1);
            continue;
        }
        std::size_t parent = random.below(paths.size());
        while (depths[parent] >= 7)
            parent = random.below(paths.size());
        paths.push_back(paths[parent] + "\\" + directoryName(random, style.international));
        depths.push_back(depths[parent] + 1);
    }

    // One record per line: its directory; shuffled so that the input is in
    // no useful order.
    std::vector<std::uint32_t> lines(lineCount);
    for (auto &line : lines)
        line = static_cast<std::uint32_t>(random.below(directoryCount));
    for (std::uint64_t i = lineCount; i > 1; --i)
        std::swap(lines[i - 1], lines[random.below(i)]);

    std::FILE *out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    std::vector<char> buffer(1 << 20);
    std::setvbuf(out, buffer.data(), _IOFBF, buffer.size());
    if (style.utf16) std::fwrite("\xFF\xFE", 1, 2, out);
    std::string line;
    std::string units;
    for (std::uint64_t i = 0; i < lineCount; ++i) {
        line = paths[lines[i]];
        line += '\\';
        line += FILE_STEMS[random.below(sizeof FILE_STEMS / sizeof FILE_STEMS[0])];
        line += std::to_string(i);
        line += EXTENSIONS[random.below(sizeof EXTENSIONS / sizeof EXTENSIONS[0])];
        line += ',';
        line += std::to_string(random.below(50000000));
        char date[16];
        std::snprintf(
            date, sizeof date, ",20%02d-%02d-%02d\r\n", static_cast<int>(10 + random.below(15)),
            static_cast<int>(1 + random.below(12)), static_cast<int>(1 + random.below(28)));
        line += date;
        if (style.utf16) {
            units.clear();
            for (char16_t unit : utf16Of(line)) {
                units += static_cast<char>(unit & 0xFF);
                units += static_cast<char>(unit >> 8);
            }
            std::fwrite(units.data(), 1, units.size(), out);
        } else {
            std::fwrite(line.data(), 1, line.size(), out);
        }
    }
    return std::fclose(out) == 0;
}
