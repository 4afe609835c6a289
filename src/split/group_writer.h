// Writing the groups: each run of lines with the same group key goes through
// the working file, which is then renamed to the group's output name; a
// group whose file is already there from an earlier run is left as it is.
#pragma once

#include "input/listing_text.h"
#include "split/path_components.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// No output name is longer than this many bytes of UTF-8: it fits ext4's 255
// bytes and NTFS's 255 UTF-16 units alike.
constexpr std::size_t MAX_NAME_BYTES = 255;

// The parts of a group's output name: the prefix; "_" and each naming
// component of the group's last line as name text (a component of exactly
// "," left out, characters a Windows name cannot hold written as '_'); and
// the line count.
struct OutputName {
    std::string prefix;
    std::string middle;
    std::vector<std::size_t> starts; // where each component's '_' stands in middle
    std::size_t count = 0;
};

OutputName outputNameOf(std::string_view prefix, const PathComponentList &list, std::size_t count,
                        const ListingEncoding &encoding = {});

// The name for the given try: prefix, middle, "_<count>", then " (n)" for
// number n from 2 on, then ".csv". A name that would pass MAX_NAME_BYTES
// keeps its prefix, its count and number and as much of its deepest
// components as fits: the components before them give way to one '~'.
// Whole components go first; only a deepest component too long on its own
// is cut, from its start. A prefix too long on its own is cut at its end and
// marked '~'. Cuts always fall between characters.
std::string candidateName(const OutputName &name, std::size_t number);

// The first try's name.
std::string buildOutputName(std::string_view prefix, const PathComponentList &list,
                            std::size_t count);

// Windows gives names such as "NUL.x" or "COM1 .x" to devices, whatever
// follows: a prefix like that could never name a file there.
bool startsWithDeviceName(std::string_view prefix);

// Splits the loaded store into output files; name is the trimmed argument.
// On false, a failure message has been written and every line is in an
// output file, in the working file, or not yet written.
bool splitInput(const std::string &name);
