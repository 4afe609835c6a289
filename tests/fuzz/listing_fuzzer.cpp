// Fuzzes the whole of the pure logic on one listing: registering, trimming
// and ordering its lines, grouping them and naming the groups, and checks the
// promises the tool makes about every listing:
// - every line lands in exactly one group, and the group sizes add up to the
//   line count;
// - the order is the stable key order (lines without a key first);
// - each group is a maximal run of one group key;
// - each name is the prefix, then components free of path separators and of
//   bytes a Windows name cannot hold, then "_<count>.csv", in at most 255
//   bytes.
// The first byte chooses the listing's form: bytes, UTF-16LE or UTF-16BE.
// A UTF-16 listing must come through losslessly: each stored line, turned
// back into code units, is exactly a line of the listing.
#include "cli/process_state.h"
#include "fuzz_check.h"
#include "input/line_store.h"
#include "input/listing_text.h"
#include "key_order.h"
#include "split/group_writer.h"
#include "split/path_components.h"
#include "text/text.h"
#include "text/unicode.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The lines as the store must register them, in reading order.
std::vector<std::string> referenceLines(const std::string &text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t stop = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, stop - start));
        start = stop + 1;
    }
    for (std::string &line : lines)
        line = std::string(trimmed(line));
    return lines;
}

// The lines of a UTF-16 listing as code units, by the same rules applied to
// units: CR LF breaks, U+001A ends, U+0001 to U+0020 trimmed.
std::vector<std::u16string> referenceUnitLines(const std::u16string &units) {
    std::u16string text;
    for (std::size_t i = 0; i < units.size() && units[i] != 0x1A; ++i) {
        if (units[i] == u'\r' && i + 1 < units.size() && units[i + 1] == u'\n') continue;
        text += units[i];
    }
    std::vector<std::u16string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t stop = std::min(text.find(u'\n', start), text.size());
        std::u16string line = text.substr(start, stop - start);
        std::size_t begin = 0;
        std::size_t end = line.size();
        while (begin < end && line[begin] <= 0x20)
            ++begin;
        while (end > begin && line[end - 1] <= 0x20)
            --end;
        lines.push_back(line.substr(begin, end - begin));
        start = stop + 1;
    }
    return lines;
}

bool fitForName(unsigned char byte) {
    return byte >= 0x20 && std::strchr("<>:\"/\\|?*", byte) == nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0) return 0;
    const int form = data[0] % 3;
    ++data;
    --size;
    quietMode = true;
    LineStore store;
    ListingEncoding encoding;
    if (form == 0) {
        // The loader refuses listings with NUL bytes before any of this runs.
        if (std::memchr(data, 0, size) != nullptr) return 0;
        std::string text(reinterpret_cast<const char *>(data), size);
        std::vector<std::string> expected = referenceLines(text.substr(0, text.find('\x1a')));
        std::stable_sort(expected.begin(), expected.end(), support::storeOrder);

        platform::ByteBuffer bytes(platform::allocateBytes(size + 1));
        std::memcpy(bytes.get(), data, size);
        PreparedText prepared = prepareByteText(bytes.get(), size, 0);
        check(prepared.status == PreparedText::Ready);
        // The reference drops the CR of CR LF where the line is trimmed.
        store.assign(std::move(bytes), prepared.size, encoding);
        check(store.size() == expected.size());
        for (std::size_t k = 0; k < store.size(); ++k)
            check(store.line(k) == expected[k]);
    } else {
        size -= size % 2;
        bool bigEndian = form == 2;
        std::u16string units;
        for (std::size_t i = 0; i < size; i += 2) {
            units += static_cast<char16_t>(bigEndian ? (data[i] << 8) | data[i + 1]
                                                     : (data[i + 1] << 8) | data[i]);
        }
        std::u16string listed = units.substr(0, units.find(u'\x1a'));
        if (listed.find(char16_t(0)) != std::u16string::npos) return 0; // refused
        std::vector<std::pair<std::string, std::u16string>> expected;
        for (const std::u16string &line : referenceUnitLines(units))
            expected.emplace_back(utf8Of(line), line);
        std::stable_sort(expected.begin(), expected.end(), [](const auto &a, const auto &b) {
            return support::storeOrder(a.first, b.first);
        });

        platform::ByteBuffer text(platform::allocateBytes(utf16TextCapacity(size)));
        PreparedText prepared =
            prepareUtf16Text(reinterpret_cast<const char *>(data), size, bigEndian, text.get());
        check(prepared.status == PreparedText::Ready);
        encoding.form = bigEndian ? ListingForm::Utf16BE : ListingForm::Utf16LE;
        store.assign(std::move(text), prepared.size, encoding);
        check(store.size() == expected.size());
        for (std::size_t k = 0; k < store.size(); ++k)
            check(utf16Of(store.line(k)) == expected[k].second);
    }
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
        check(name.size() <= MAX_NAME_BYTES);
        for (std::size_t i = 4; i < name.size(); ++i) {
            check(fitForName(static_cast<unsigned char>(name[i])));
        }
        first = end;
    }
    check(total == store.size());
    return 0;
}
