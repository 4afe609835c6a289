// The listing's lines, trimmed and ordered by path. The text is held once, in
// one buffer; each line is a position in it, so a line of any length is one
// line and no line costs a heap string of its own.
#pragma once

#include "platform/platform.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

struct StoredLine {
    std::uint64_t begin;  // offset of the trimmed text in the store's buffer
    std::uint64_t length; // bytes of trimmed text
};

class LineStore {
  public:
    // Takes the listing's text (after text-mode reading) and registers its
    // lines: split at LF, a leading UTF-8 byte-order mark dropped, each line
    // trimmed, then ordered. Throws std::bad_alloc when memory runs out.
    void assign(platform::ByteBuffer text, std::size_t size);

    std::size_t size() const { return lines_.size(); }
    std::string_view line(std::size_t index) const {
        const StoredLine &stored = lines_[index];
        return {text_.get() + stored.begin, static_cast<std::size_t>(stored.length)};
    }

  private:
    platform::ByteBuffer text_;
    std::vector<StoredLine> lines_;
};

// The process-wide store, filled once by loading and only read afterwards.
extern LineStore lineStore;

// The text from the line's first backslash (inclusive) to its end; none for a
// line without a backslash.
std::optional<std::string_view> sortKeyOf(std::string_view line);

// Orders two keys byte by byte with A to Z folded to lower case, bytes
// compared unsigned, a proper prefix first. Negative, zero or positive.
int compareSortKeys(std::string_view a, std::string_view b);

// The store's order: lines without a key first, in reading order; then by
// key; equal keys keep reading order. A stable O(n log n) sort.
void orderLines(const char *text, std::vector<StoredLine> &lines);
