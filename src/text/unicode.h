// Names are text: UTF-8 inside the tool, whatever the listing's encoding.
// A lone UTF-16 surrogate, which Windows names and UTF-16 listings may hold,
// gets the three-byte form UTF-8 would give it (WTF-8), so that it survives
// the way into UTF-8 and back unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr char32_t NO_CHARACTER = 0xFFFFFFFF;

void appendUtf8(std::string &text, char32_t character);

// The character at text[at], well-formed UTF-8 or a WTF-8 surrogate; at
// moves past it. NO_CHARACTER for a byte that starts no such sequence (at
// moves past that byte alone).
char32_t decodeUtf8(std::string_view text, std::size_t &at);

// Where strict UTF-8 (no surrogates, no overlong forms) first fails in text;
// npos when the whole text is UTF-8.
std::size_t firstNonUtf8(std::string_view text);

// True for a byte inside a UTF-8 sequence rather than at its start.
constexpr bool isUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The longest start of text that is at most limit bytes long and ends
// between characters.
std::string_view utf8Head(std::string_view text, std::size_t limit);

// Names compared the way NTFS compares them: each character of the Basic
// Multilingual Plane mapped to its simple uppercase, one for one (so "ß" is
// not "SS", and "é" is "É"). Bytes that are not UTF-8 stay as they are.
char32_t upperCaseOf(char32_t character);
std::string foldNameCase(std::string_view name);
// A hash of foldNameCase(name), made without building it.
std::uint64_t foldedNameHash(std::string_view name);

// UTF-16 code units from UTF-8 (WTF-8) text; a byte that is not part of a
// sequence becomes U+FFFD.
std::u16string utf16Of(std::string_view text);
// UTF-8 (WTF-8) from UTF-16 code units, losslessly.
std::string utf8Of(std::u16string_view units);

// A single-byte code page: the character of every byte, NO_CHARACTER for a
// byte the code page leaves undefined.
struct CodePage {
    unsigned number = 0;
    char32_t characters[256] = {};
};

constexpr unsigned UTF8_CODE_PAGE = 65001;

// The code pages whose tables are built in, so that both builds map every
// byte as Windows does: 437, 850 and 1252.
bool builtInCodePage(unsigned number, CodePage &page);

// The bytes as text in the code page (every byte must be defined there).
std::string decodeCodePage(const CodePage &page, std::string_view bytes);
