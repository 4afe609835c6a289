// Fuzzes the whole of the pure logic on one listing: registering, trimming
// and ordering its lines, grouping them and naming the groups, and checks the
// promises the tool makes about every listing:
// - every line lands in exactly one group, and the group sizes add up to the
//   line count;
// - the order is the stable key order (lines without a key first);
// - each group is a maximal run of one group key;
// - each name is the prefix, then components free of path separators and of
//   bytes a Windows name cannot hold, then "_<count>.csv".
#include "cli/process_state.h"
#include "input/line_store.h"
#include "split/group_writer.h"
#include "split/path_components.h"
#include "text/text.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// The lines as the store must register them, in reading order.
std::vector<std::string> referenceLines(const std::string &text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t stop = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, stop - start));
        start = stop + 1;
    }
    if (!lines.empty() && lines[0].compare(0, 3, "\xEF\xBB\xBF") == 0) lines[0].erase(0, 3);
    for (std::string &line : lines)
        line = std::string(trimmed(line));
    return lines;
}

bool keyOrder(const std::string &a, const std::string &b) {
    auto keyA = sortKeyOf(a);
    auto keyB = sortKeyOf(b);
    if (!keyA || !keyB) return !keyA && keyB;
    return compareSortKeys(*keyA, *keyB) < 0;
}

bool fitForName(unsigned char byte) {
    return byte >= 0x20 && std::strchr("<>:\"/\\|?*", byte) == nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    // The loader refuses listings with NUL bytes before any of this runs.
    if (std::memchr(data, 0, size) != nullptr) return 0;
    quietMode = true;
    std::string text(reinterpret_cast<const char *>(data), size);
    std::vector<std::string> expected = referenceLines(text);
    std::stable_sort(expected.begin(), expected.end(), keyOrder);

    platform::ByteBuffer bytes(platform::allocateBytes(size + 1));
    std::memcpy(bytes.get(), data, size);
    LineStore store;
    store.assign(std::move(bytes), size);
    check(store.size() == expected.size());
    for (std::size_t k = 0; k < store.size(); ++k)
        check(store.line(k) == expected[k]);
    if (store.size() == 0) return 0;

    std::vector<std::size_t> ends = tokenizeLines(store);
    check(!ends.empty() && ends.back() == store.size());
    std::size_t first = 0;
    std::size_t total = 0;
    PathComponentList list;
    for (std::size_t end : ends) {
        check(end > first);
        total += end - first;
        splitComponents(store.line(first), '\\', list);
        std::string key(groupKeyOf(list));
        for (std::size_t k = first; k < end; ++k) {
            splitComponents(store.line(k), '\\', list);
            check(groupKeyOf(list) == key);
        }
        if (end < store.size()) {
            splitComponents(store.line(end), '\\', list);
            check(groupKeyOf(list) != key);
        }

        splitComponents(store.line(end - 1), '\\', list);
        std::string name = buildOutputName("Disc", list, end - first);
        std::string countPart = "_" + std::to_string(end - first) + ".csv";
        check(name.compare(0, 4, "Disc") == 0);
        check(name.size() >= 4 + countPart.size());
        check(name.compare(name.size() - countPart.size(), countPart.size(), countPart) == 0);
        for (std::size_t i = 4; i < name.size(); ++i) {
            check(fitForName(static_cast<unsigned char>(name[i])));
        }
        first = end;
    }
    check(total == store.size());
    return 0;
}
