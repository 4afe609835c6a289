// The order of the line store, spelled out plainly: the one definition that
// the tests and fuzzers check the store's fast ordering against.
#pragma once

#include "input/line_store.h"
#include "text/text.h"

#include <string_view>

namespace support {

// Byte by byte with A to Z folded to lower case, bytes compared unsigned, a
// proper prefix first. Negative, zero or positive.
inline int compareSortKeys(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        int left = foldAsciiCase(static_cast<unsigned char>(a[i]));
        int right = foldAsciiCase(static_cast<unsigned char>(b[i]));
        if (left != right) return left - right;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// The store's order as a predicate for std::stable_sort: lines without a key
// first, then by key.
inline bool storeOrder(std::string_view a, std::string_view b) {
    auto keyA = sortKeyOf(a);
    auto keyB = sortKeyOf(b);
    if (!keyA || !keyB) return !keyA && keyB;
    return compareSortKeys(*keyA, *keyB) < 0;
}

} // namespace support
