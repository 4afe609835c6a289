#include "text/unicode.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {
#include "text/unicode_tables.inc"
} // namespace

void appendUtf8(std::string &text, char32_t character) {
    if (character < 0x80) {
        text += static_cast<char>(character);
    } else if (character < 0x800) {
        text += static_cast<char>(0xC0 | (character >> 6));
        text += static_cast<char>(0x80 | (character & 0x3F));
    } else if (character < 0x10000) {
        text += static_cast<char>(0xE0 | (character >> 12));
        text += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (character >> 18));
        text += static_cast<char>(0x80 | ((character >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (character & 0x3F));
    }
}

namespace {

// Decodes at text[at]; surrogates are accepted only when allowSurrogates.
char32_t decode(std::string_view text, std::size_t &at, bool allowSurrogates) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    std::size_t length = lead < 0x80                    ? 1
                         : lead >= 0xC2 && lead <= 0xDF ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 0;
    if (length == 0 || at + length > text.size()) {
        ++at;
        return NO_CHARACTER;
    }
    char32_t character = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if (!isUtf8Continuation(byte(at + i))) {
            ++at;
            return NO_CHARACTER;
        }
        character = (character << 6) | (byte(at + i) & 0x3F);
    }
    bool overlong = (length == 3 && character < 0x800) || (length == 4 && character < 0x10000);
    bool surrogate = character >= 0xD800 && character <= 0xDFFF;
    if (overlong || character > 0x10FFFF || (surrogate && !allowSurrogates)) {
        ++at;
        return NO_CHARACTER;
    }
    at += length;
    return character;
}

} // namespace

char32_t decodeUtf8(std::string_view text, std::size_t &at) { return decode(text, at, true); }

std::size_t firstNonUtf8(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        // Most of a listing is ASCII: skip it eight bytes at a time.
        while (at + 16 <= text.size()) {
            std::uint64_t words[2];
            std::memcpy(words, text.data() + at, sizeof words);
            if ((words[0] | words[1]) & 0x8080808080808080ULL) break;
            at += 16;
        }
        while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80)
            ++at;
        if (at == text.size()) break;
        std::size_t start = at;
        if (decode(text, at, false) == NO_CHARACTER) return start;
    }
    return std::string_view::npos;
}

std::string_view utf8Head(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = limit;
    while (end > 0 && isUtf8Continuation(static_cast<unsigned char>(text[end])))
        --end;
    return text.substr(0, end);
}

char32_t upperCaseOf(char32_t character) {
    if (character < 0x80) {
        return character >= 'a' && character <= 'z' ? character - ('a' - 'A') : character;
    }
    if (character > 0xFFFF) return character;
    auto found = std::lower_bound(
        std::begin(UPPER_CASE_PAIRS), std::end(UPPER_CASE_PAIRS), character,
        [](const std::uint16_t(&pair)[2], char32_t value) { return pair[0] < value; });
    if (found != std::end(UPPER_CASE_PAIRS) && (*found)[0] == character) return (*found)[1];
    return character;
}

namespace {

// Calls put with each byte of the folded name, in order.
template <class Put> void forEachFoldedByte(std::string_view name, Put put) {
    std::size_t at = 0;
    std::string character;
    while (at < name.size()) {
        auto byte = static_cast<unsigned char>(name[at]);
        if (byte < 0x80) {
            put(static_cast<unsigned char>(byte >= 'a' && byte <= 'z' ? byte - ('a' - 'A') : byte));
            ++at;
            continue;
        }
        std::size_t start = at;
        char32_t decoded = decodeUtf8(name, at);
        if (decoded == NO_CHARACTER) {
            put(static_cast<unsigned char>(name[start]));
            continue;
        }
        character.clear();
        appendUtf8(character, upperCaseOf(decoded));
        for (char c : character)
            put(static_cast<unsigned char>(c));
    }
}

} // namespace

std::string foldNameCase(std::string_view name) {
    std::string folded;
    folded.reserve(name.size());
    forEachFoldedByte(name, [&folded](unsigned char byte) { folded += static_cast<char>(byte); });
    return folded;
}

std::uint64_t foldedNameHash(std::string_view name) {
    // FNV-1a over the bytes of the folded name.
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    forEachFoldedByte(name,
                      [&hash](unsigned char byte) { hash = (hash ^ byte) * 0x100000001B3ULL; });
    return hash;
}

std::u16string utf16Of(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t character = decodeUtf8(text, at);
        if (character == NO_CHARACTER) character = 0xFFFD;
        if (character >= 0x10000) {
            character -= 0x10000;
            units += static_cast<char16_t>(0xD800 + (character >> 10));
            units += static_cast<char16_t>(0xDC00 + (character & 0x3FF));
        } else {
            units += static_cast<char16_t>(character);
        }
    }
    return units;
}

std::string utf8Of(std::u16string_view units) {
    std::string text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00);
        }
        appendUtf8(text, unit);
    }
    return text;
}

bool builtInCodePage(unsigned number, CodePage &page) {
    const std::uint16_t *table = number == 437    ? CODE_PAGE_437
                                 : number == 850  ? CODE_PAGE_850
                                 : number == 1252 ? CODE_PAGE_1252
                                                  : nullptr;
    if (table == nullptr) return false;
    page.number = number;
    std::copy(table, table + 256, page.characters);
    return true;
}

std::string decodeCodePage(const CodePage &page, std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (char byte : bytes)
        appendUtf8(text, page.characters[static_cast<unsigned char>(byte)]);
    return text;
}
