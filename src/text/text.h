// Small text and name helpers shared by the whole tool. They work on bytes:
// the listing's contents are never converted, and the order folds only the
// ASCII letters A to Z.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Trimmable bytes are the control characters and the blank, 0x01 to 0x20.
// Bytes 0x80 and above are ordinary text (accented letters, UTF-8).
constexpr bool isTrimmable(unsigned char byte) { return byte >= 0x01 && byte <= 0x20; }

constexpr unsigned char foldAsciiCase(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// The text with A to Z folded to lower case.
inline std::string foldAsciiCase(std::string_view text) {
    std::string folded(text);
    for (char &c : folded)
        c = static_cast<char>(foldAsciiCase(static_cast<unsigned char>(c)));
    return folded;
}

// Appends the number in decimal.
void appendDecimal(std::string &text, std::uint64_t number);

// Trims a zero-terminated string in place and returns it.
char *trimInPlace(char *text);

// The same trim for a counted string: the view without its trimmable ends.
std::string_view trimmed(std::string_view text);

// 0 when the strings are equal with A to Z folded to lower case; otherwise
// the difference of the first differing folded bytes (as unsigned values).
int compareIgnoreAsciiCase(const char *a, const char *b);

// The text after the last '/', backslash or drive colon, whichever comes
// last; the whole path when it has none of them.
std::string baseNameOf(const std::string &path);

// The base name cut before its last underscore (the whole base name when it
// has none), fit for a file name: so output files always land in the
// current folder.
std::string outputPrefixOf(const std::string &path);

// A byte that a Windows file name cannot hold: control bytes and
// < > : " / \ | ? *.
bool unfitForFileName(unsigned char byte);

// The text with every byte a Windows file name cannot hold written as '_'.
std::string fitForFileName(std::string_view text);
void appendFitForFileName(std::string &name, std::string_view text);
