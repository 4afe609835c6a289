// From the listing's bytes to the text the store orders, and what the rest of
// the tool must know of the listing's encoding. The encoding is decided once:
// UTF-16 by its byte-order mark; otherwise UTF-8 when every byte after an
// optional UTF-8 mark is UTF-8, and a single-byte code page when not.
#pragma once

#include "text/unicode.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class ListingForm { Bytes, Utf16LE, Utf16BE };

struct ListingEncoding {
    ListingForm form = ListingForm::Bytes;
    // The byte-order mark the listing starts with; every output file starts
    // with it too, so that the parts open as the listing does.
    std::string mark;
    // Names of a byte listing that is not UTF-8 are read in this code page.
    bool namesInCodePage = false;
    CodePage codePage;
};

// The byte-order mark at the start of the listing, if any, and its form.
ListingEncoding encodingMarkOf(std::string_view start);

// The name text (UTF-8) of a piece of a stored line.
std::string nameTextOf(const ListingEncoding &encoding, std::string_view piece);

struct PreparedText {
    enum { Ready, NulByte, HalfUnit } status = Ready;
    std::size_t size = 0; // the text's length after preparing
    // A Ctrl-Z (U+001A) ended the listing early: the bytes of the listing
    // after it, and whether any of them is more than a blank or line break.
    bool endedAtCtrlZ = false;
    std::uint64_t bytesAfterCtrlZ = 0;
    bool textAfterCtrlZ = false;
};

// A byte listing, read as text mode reads it: CR LF becomes LF (a lone CR
// stays), and the text ends at the first byte 0x1A. The bytes from skip on
// are prepared into the start of text (skip drops the byte-order mark).
PreparedText prepareByteText(char *text, std::size_t size, std::size_t skip);

// A UTF-16 listing (its mark already skipped) by the same rules applied to
// code units, turned losslessly into UTF-8 (WTF-8 for an unpaired
// surrogate) in out, which must hold 3 bytes for every 2 of units.
std::size_t utf16TextCapacity(std::size_t unitBytes);
PreparedText prepareUtf16Text(const char *units, std::size_t size, bool bigEndian, char *out);

// The line (from 1) that holds text[at].
std::size_t lineNumberAt(std::string_view text, std::size_t at);
