// A line seen as a path: its distinct backslash-separated components, from
// which come the group key (where one output file ends and the next begins)
// and the naming components (the middle of the output file's name).
#pragma once

#include "input/line_store.h"

#include <cstddef>
#include <string_view>
#include <vector>

// The distinct, non-empty components of one line, as views into the line.
// They are held oldest first, in order of first appearance; entry(i) counts
// the other way: entry 0 is the newest (the component whose first appearance
// came last), entry n-1 the line's first component.
struct PathComponentList {
    std::vector<std::string_view> oldestFirst;

    std::string_view entry(std::size_t index) const {
        return oldestFirst[oldestFirst.size() - 1 - index];
    }
};

// Fills list from line; reusing one list avoids an allocation per line.
void splitComponents(std::string_view line, char separator, PathComponentList &list);
PathComponentList splitComponents(std::string_view line, char separator);

std::size_t componentCount(const PathComponentList &list);

// Entry 1. A line with fewer than two components has the empty key, which
// no real component equals.
std::string_view groupKeyOf(const PathComponentList &list);

// Entries n-2 down to 1: oldestFirst without its first (the line's first
// component) and its last (the newest), in order of first appearance.
std::vector<std::string_view> namingComponents(const PathComponentList &list);

// Works out every stored line's group key, reports the progress, and returns
// where each group ends: the index one past its last line, ascending.
std::vector<std::size_t> tokenizeLines(const LineStore &store);
