#include "input/line_store.h"

#include "text/text.h"

#include <algorithm>
#include <cstring>

LineStore lineStore;

namespace {

constexpr std::uint64_t ONES = 0x0101010101010101ULL;

std::uint64_t loadWord(const char *bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Folds A to Z to lower case in all eight bytes of a word at once; bytes
// 0x80 and above are never letters.
std::uint64_t foldWord(std::uint64_t word) {
    std::uint64_t low7 = word & (0x7F * ONES);
    std::uint64_t aboveZ = low7 + (0x7F - 'Z') * ONES;
    std::uint64_t atLeastA = low7 + (0x80 - 'A') * ONES;
    std::uint64_t upper = atLeastA & ~aboveZ & ~word & (0x80 * ONES);
    return word | (upper >> 2);
}

int compareFoldedBytes(const char *a, const char *b, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        int left = foldAsciiCase(static_cast<unsigned char>(a[i]));
        int right = foldAsciiCase(static_cast<unsigned char>(b[i]));
        if (left != right) return left - right;
    }
    return 0;
}

} // namespace

std::optional<std::string_view> sortKeyOf(std::string_view line) {
    std::size_t backslash = line.find('\\');
    if (backslash == std::string_view::npos) return std::nullopt;
    return line.substr(backslash);
}

int compareSortKeys(std::string_view a, std::string_view b) {
    std::size_t common = std::min(a.size(), b.size());
    std::size_t i = 0;
    // Paths share long prefixes; compare them eight bytes at a time and fold
    // only words that differ.
    for (; i + 8 <= common; i += 8) {
        std::uint64_t left = loadWord(a.data() + i);
        std::uint64_t right = loadWord(b.data() + i);
        if (left != right && foldWord(left) != foldWord(right)) {
            return compareFoldedBytes(a.data() + i, b.data() + i, 8);
        }
    }
    int tail = compareFoldedBytes(a.data() + i, b.data() + i, common - i);
    if (tail != 0) return tail;
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

void orderLines(const char *text, std::vector<StoredLine> &lines) {
    // Offsets grow in reading order, so breaking ties by offset gives the
    // stable order without the extra buffer of a stable sort.
    std::sort(lines.begin(), lines.end(), [text](const StoredLine &a, const StoredLine &b) {
        auto keyA = sortKeyOf({text + a.begin, static_cast<std::size_t>(a.length)});
        auto keyB = sortKeyOf({text + b.begin, static_cast<std::size_t>(b.length)});
        if (keyA.has_value() != keyB.has_value()) return !keyA.has_value();
        if (keyA.has_value()) {
            int order = compareSortKeys(*keyA, *keyB);
            if (order != 0) return order < 0;
        }
        return a.begin < b.begin;
    });
}

void LineStore::assign(platform::ByteBuffer text, std::size_t size) {
    text_ = std::move(text);
    lines_.clear();
    const char *bytes = text_.get();
    const char *end = bytes + size;
    std::size_t count = static_cast<std::size_t>(std::count(bytes, end, '\n'));
    if (size > 0 && end[-1] != '\n') ++count;
    lines_.reserve(count);

    const char *start = bytes;
    if (size >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) start += 3;
    while (start < end || (start == end && lines_.size() < count)) {
        const char *lineFeed = static_cast<const char *>(std::memchr(start, '\n', end - start));
        const char *stop = lineFeed != nullptr ? lineFeed : end;
        std::string_view kept = trimmed({start, static_cast<std::size_t>(stop - start)});
        lines_.push_back({static_cast<std::uint64_t>(kept.data() - bytes), kept.size()});
        start = stop + 1;
    }
    orderLines(bytes, lines_);
}
