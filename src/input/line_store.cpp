#include "input/line_store.h"

#include "text/text.h"

#include <algorithm>
#include <cstring>

LineStore lineStore;

namespace {

bool hasSortKey(const char *line) { return std::strchr(line, '\\') != nullptr; }

// Eight key bytes, folded, from the key's byte 1 + 8 * depth (byte 0 is the
// backslash every key starts with), in an integer that compares as the bytes
// do; zeros past the key's end, which sort before every byte a line can hold.
std::uint64_t keyWord(const char *line, std::size_t depth) {
    const char *key = std::strchr(line, '\\') + 1 + 8 * depth;
    std::uint64_t word = 0;
    for (int i = 0; i < 8 && key[i] != '\0'; ++i) {
        word |= static_cast<std::uint64_t>(foldAsciiCase(static_cast<unsigned char>(key[i])))
                << (56 - 8 * i);
    }
    return word;
}

// The key ends within these eight bytes: nothing past them to compare.
bool wordEndsTheKey(std::uint64_t word) { return (word & 0xFF) == 0; }

} // namespace

std::optional<std::string_view> sortKeyOf(std::string_view line) {
    std::size_t backslash = line.find('\\');
    if (backslash == std::string_view::npos) return std::nullopt;
    return line.substr(backslash);
}

namespace {

// Moves the lines without a key to the front, keeping their reading order;
// returns how many there are. The order among the others does not matter
// yet.
std::size_t keylessLinesFirst(const char *text, std::vector<StoredLine> &lines) {
    std::size_t keyless = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!hasSortKey(text + lines[i].begin)) std::swap(lines[keyless++], lines[i]);
    }
    return keyless;
}

// Orders lines[first..] by key, most significant digit first, eight key
// bytes at a time: each pass sorts a run of lines whose keys agree so far by
// their next eight bytes, a compact sort that touches each line's text once.
// Ties are broken by offset, which grows in reading order, so equal keys
// stay stable.
void sortByKeyWords(const char *text, std::vector<StoredLine> &lines, std::size_t first) {
    auto byWordThenOffset = [](const StoredLine &a, const StoredLine &b) {
        return a.sortWord != b.sortWord ? a.sortWord < b.sortWord : a.begin < b.begin;
    };
    struct Run {
        std::size_t first;
        std::size_t end;
        std::size_t depth;
    };
    std::vector<Run> pending = {{first, lines.size(), 0}};
    while (!pending.empty()) {
        Run run = pending.back();
        pending.pop_back();
        for (std::size_t i = run.first; i < run.end; ++i) {
            if (i + PREFETCH_DISTANCE < run.end) {
                __builtin_prefetch(text + lines[i + PREFETCH_DISTANCE].begin);
            }
            lines[i].sortWord = keyWord(text + lines[i].begin, run.depth);
        }
        std::sort(lines.begin() + run.first, lines.begin() + run.end, byWordThenOffset);
        for (std::size_t i = run.first; i < run.end;) {
            std::size_t j = i + 1;
            while (j < run.end && lines[j].sortWord == lines[i].sortWord)
                ++j;
            if (j - i > 1 && !wordEndsTheKey(lines[i].sortWord))
                pending.push_back({i, j, run.depth + 1});
            i = j;
        }
    }
}

} // namespace

void orderLines(const char *text, std::vector<StoredLine> &lines) {
    sortByKeyWords(text, lines, keylessLinesFirst(text, lines));
}

void LineStore::assign(platform::ByteBuffer text, std::size_t size, ListingEncoding encoding) {
    text_ = std::move(text);
    encoding_ = std::move(encoding);
    lines_.clear();
    char *bytes = text_.get();
    char *end = bytes + size;
    *end = '\n'; // the last line ends like every other
    std::size_t count = static_cast<std::size_t>(std::count(bytes, end, '\n'));
    if (size > 0 && end[-1] != '\n') ++count;
    lines_.reserve(count);

    char *start = bytes;
    while (lines_.size() < count) {
        char *stop = static_cast<char *>(std::memchr(start, '\n', end + 1 - start));
        std::string_view kept = trimmed({start, static_cast<std::size_t>(stop - start)});
        bytes[kept.data() - bytes + kept.size()] = '\0';
        lines_.push_back({static_cast<std::uint64_t>(kept.data() - bytes), 0});
        start = stop + 1;
    }
    orderLines(bytes, lines_);
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        prefetch(k + PREFETCH_DISTANCE);
        lines_[k].sortWord = std::strlen(bytes + lines_[k].begin);
    }
}
