// A line seen as a path: its distinct backslash-separated components, from
// which come the group key (where one output file ends and the next begins)
// and the naming components (the middle of the output file's name).
#pragma once

#include "input/line_store.h"

#include <cstddef>
#include <string_view>
#include <unordered_set>
#include <vector>

// The distinct, non-empty components of one line. Entry 0 is the newest (the
// component whose first appearance came last), the last entry the line's first
// component. Components are views into the line.
struct PathComponentList {
    // Held oldest first, in order of first appearance: entry(i) reads from the
    // back.
    std::vector<std::string_view> firstSeen;
    // Used only for lines with many components, to keep the duplicate check
    // linear.
    std::unordered_set<std::string_view> seen;

    std::string_view entry(std::size_t index) const {
        return firstSeen[firstSeen.size() - 1 - index];
    }
};

// Fills list from line; reusing one list avoids an allocation per line.
void splitComponents(std::string_view line, char separator, PathComponentList &list);
PathComponentList splitComponents(std::string_view line, char separator);

std::size_t componentCount(const PathComponentList &list);

// Entry 1. A line with fewer than two components has the empty key, which
// no real component equals.
std::string_view groupKeyOf(const PathComponentList &list);

// Entries n-2 down to 1: the components in order of first appearance without
// the first and the newest.
std::vector<std::string_view> namingComponents(const PathComponentList &list);

// Works out every stored line's group key, reports the progress, and returns
// where each group ends: the index one past its last line, ascending.
std::vector<std::size_t> tokenizeLines(const LineStore &store);
