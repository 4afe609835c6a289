#include "input/listing_text.h"

#include <algorithm>
#include <cstring>

ListingEncoding encodingMarkOf(std::string_view start) {
    ListingEncoding encoding;
    if (start.substr(0, 3) == "\xEF\xBB\xBF") {
        encoding.mark = start.substr(0, 3);
    } else if (start.substr(0, 2) == "\xFF\xFE") {
        encoding.form = ListingForm::Utf16LE;
        encoding.mark = start.substr(0, 2);
    } else if (start.substr(0, 2) == "\xFE\xFF") {
        encoding.form = ListingForm::Utf16BE;
        encoding.mark = start.substr(0, 2);
    }
    return encoding;
}

std::string nameTextOf(const ListingEncoding &encoding, std::string_view piece) {
    if (encoding.namesInCodePage) return decodeCodePage(encoding.codePage, piece);
    return std::string(piece);
}

namespace {

bool isBlankOrBreak(char32_t unit) { return unit <= 0x20; }

// Copies size bytes of source to out without every CR that a LF follows;
// out may be source or lie before it. Returns the bytes stored.
std::size_t dropCrBeforeLf(const char *source, std::size_t size, char *out) {
    std::size_t stored = 0;
    for (std::size_t i = 0; i < size;) {
        const void *found = std::memchr(source + i, '\r', size - i);
        std::size_t cr =
            found ? static_cast<std::size_t>(static_cast<const char *>(found) - source) : size;
        std::memmove(out + stored, source + i, cr - i);
        stored += cr - i;
        if (cr == size) break;
        i = cr + 1;
        if (i == size || source[i] != '\n') out[stored++] = '\r';
    }
    return stored;
}

} // namespace

PreparedText prepareByteText(char *text, std::size_t size, std::size_t skip) {
    PreparedText prepared;
    const char *source = text + skip;
    std::size_t end = size - skip;
    if (const void *sub = std::memchr(source, '\x1a', end)) {
        std::size_t at = static_cast<std::size_t>(static_cast<const char *>(sub) - source);
        prepared.endedAtCtrlZ = true;
        prepared.bytesAfterCtrlZ = end - at - 1;
        prepared.textAfterCtrlZ = std::any_of(source + at + 1, source + end, [](char c) {
            return !isBlankOrBreak(static_cast<unsigned char>(c));
        });
        end = at;
    }
    prepared.size = dropCrBeforeLf(source, end, text);
    if (std::memchr(text, '\0', prepared.size) != nullptr) prepared.status = PreparedText::NulByte;
    return prepared;
}

std::size_t utf16TextCapacity(std::size_t unitBytes) { return unitBytes / 2 * 3 + 1; }

PreparedText prepareUtf16Text(const char *units, std::size_t size, bool bigEndian, char *out) {
    PreparedText prepared;
    if (size % 2 != 0) {
        prepared.status = PreparedText::HalfUnit;
        return prepared;
    }
    std::size_t count = size / 2;
    auto unitAt = [&](std::size_t i) -> char32_t {
        auto first = static_cast<unsigned char>(units[2 * i]);
        auto second = static_cast<unsigned char>(units[2 * i + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    char *write = out;
    auto put = [&](char32_t character) {
        if (character < 0x80) {
            *write++ = static_cast<char>(character);
            return;
        }
        std::string bytes;
        appendUtf8(bytes, character);
        std::memcpy(write, bytes.data(), bytes.size());
        write += bytes.size();
    };
    for (std::size_t i = 0; i < count; ++i) {
        char32_t unit = unitAt(i);
        if (unit == 0) {
            prepared.status = PreparedText::NulByte;
            return prepared;
        }
        if (unit == 0x1A) {
            prepared.endedAtCtrlZ = true;
            prepared.bytesAfterCtrlZ = 2 * (count - i - 1);
            for (std::size_t j = i + 1; j < count && !prepared.textAfterCtrlZ; ++j)
                prepared.textAfterCtrlZ = !isBlankOrBreak(unitAt(j));
            break;
        }
        if (unit == '\r' && i + 1 < count && unitAt(i + 1) == '\n') continue;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count) {
            char32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                put(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        put(unit);
    }
    prepared.size = static_cast<std::size_t>(write - out);
    return prepared;
}

std::size_t lineNumberAt(std::string_view text, std::size_t at) {
    return static_cast<std::size_t>(std::count(text.begin(), text.begin() + at, '\n')) + 1;
}
