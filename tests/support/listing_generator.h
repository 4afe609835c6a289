// Deterministic, realistic file listings for the benchmark and the soak run.
#pragma once

#include <cstdint>
#include <string>

// Writes a listing of lineCount lines to path: drives, directory trees of
// depth 1 to 7 with mixed letter case, files on both sides of subdirectories,
// size and date fields, CR LF line ends, shuffled, about 40 lines per
// directory. The same seed gives the same bytes. False if the file cannot
// be written.
//
// international: directory names also in other scripts (accents, Greek,
// Cyrillic, CJK, an emoji) and in pairs that differ only in non-ASCII letter
// case. utf16: the listing in UTF-16LE with a byte-order mark.
struct ListingStyle {
    bool international = false;
    bool utf16 = false;
};
bool generateListing(const std::string &path, std::uint64_t lineCount, std::uint64_t seed,
                     ListingStyle style = {});
