// The listing's lines, trimmed and ordered by path. The text is held once, in
// one buffer; each line is a position in it, so a line of any length is one
// line and no line costs a heap string of its own.
#pragma once

#include "input/listing_text.h"
#include "platform/platform.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

struct StoredLine {
    std::uint64_t begin; // offset of the line's trimmed text, zero-terminated in the buffer
    // While ordering: the eight folded key bytes under comparison; once the
    // lines are in order, the line's length.
    std::uint64_t sortWord;
};

class LineStore {
  public:
    // Takes the listing's prepared text (size bytes, with room for one more)
    // and registers its lines: split at LF, each line trimmed and terminated
    // in place, then ordered. Throws std::bad_alloc when memory runs out.
    void assign(platform::ByteBuffer text, std::size_t size, ListingEncoding encoding);

    const ListingEncoding &encoding() const { return encoding_; }
    std::size_t size() const { return lines_.size(); }
    std::string_view line(std::size_t index) const {
        return {text_.get() + lines_[index].begin,
                static_cast<std::size_t>(lines_[index].sortWord)};
    }

    // Lines are visited in path order, which jumps about the buffer; asking
    // for a line some steps ahead hides the wait for memory.
    void prefetch(std::size_t index) const {
        if (index < lines_.size()) __builtin_prefetch(text_.get() + lines_[index].begin);
    }

  private:
    platform::ByteBuffer text_;
    std::vector<StoredLine> lines_;
    ListingEncoding encoding_;
};

// How many lines ahead the passes over the store ask for memory.
constexpr std::size_t PREFETCH_DISTANCE = 16;

// The process-wide store, filled once by loading and only read afterwards.
extern LineStore lineStore;

// The text from the line's first backslash (inclusive) to its end; none for a
// line without a backslash.
std::optional<std::string_view> sortKeyOf(std::string_view line);

// The store's order: lines without a key first, in reading order; then by
// key, byte by byte with A to Z folded to lower case, bytes compared
// unsigned, a proper prefix first; equal keys keep reading order. lines come in reading
// order and point into text, where each line is zero-terminated.
void orderLines(const char *text, std::vector<StoredLine> &lines);
