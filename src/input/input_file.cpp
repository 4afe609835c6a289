#include "input/input_file.h"

#include "cli/process_state.h"
#include "cli/report.h"
#include "input/line_store.h"
#include "input/listing_text.h"
#include "platform/platform.h"
#include "text/text.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace {

bool outOfMemory() { return fail("Failure: not enough memory to load the csv file.\n"); }

// The file's bytes as they are, in one buffer sized from the file's length
// (and grown should the file grow while it is read), with one byte to spare.
struct RawRead {
    platform::ByteBuffer bytes;
    std::size_t size = 0;
    enum { Done, OpenFailed, ReadFailed, NoMemory, Interrupted } status = Done;
};

RawRead readWholeFile(const std::string &name) {
    RawRead read;
    std::uint64_t expected = 0;
    platform::findFileSize(name.c_str(), expected);
    platform::InputFile *input = platform::openInput(name.c_str());
    if (input == nullptr) {
        read.status = RawRead::OpenFailed;
        return read;
    }
    std::size_t capacity = static_cast<std::size_t>(expected) + 1;
    read.bytes.reset(platform::allocateBytes(capacity));
    if (!read.bytes) read.status = RawRead::NoMemory;
    while (read.status == RawRead::Done) {
        if (platform::interrupted()) {
            read.status = RawRead::Interrupted;
            break;
        }
        std::size_t got = 0;
        platform::ReadStatus status = platform::readBytes(input, lineBuffer, LINE_BUFFER_SIZE, got);
        if (status == platform::ReadStatus::End) break;
        if (status == platform::ReadStatus::Error) {
            read.status = RawRead::ReadFailed;
            break;
        }
        if (read.size + got >= capacity) {
            std::size_t larger = std::max(capacity + capacity / 2, read.size + got + 1);
            platform::ByteBuffer grown(platform::allocateBytes(larger));
            if (!grown) {
                read.status = RawRead::NoMemory;
                break;
            }
            std::memcpy(grown.get(), read.bytes.get(), read.size);
            read.bytes = std::move(grown);
            capacity = larger;
        }
        std::memcpy(read.bytes.get() + read.size, lineBuffer, got);
        read.size += got;
    }
    platform::closeInput(input);
    return read;
}

std::string hexByte(unsigned char byte) {
    constexpr char DIGITS[] = "0123456789ABCDEF";
    return {'0', 'x', DIGITS[byte >> 4], DIGITS[byte & 0xF]};
}

bool failUnmapped(std::string_view text, std::size_t at, unsigned codePage) {
    std::string message =
        "Failure: byte " + hexByte(static_cast<unsigned char>(text[at])) + " on line ";
    appendDecimal(message, lineNumberAt(text, at));
    message += " of the specified csv file has no character in code page ";
    appendDecimal(message, codePage);
    message += ".\n";
    return fail(message);
}

// A byte listing's names are UTF-8 when all of it is; otherwise they are read
// in the chosen code page, which must give every byte a character.
bool decideNameEncoding(std::string_view text, ListingEncoding &encoding) {
    std::size_t bad = firstNonUtf8(text);
    if (bad == std::string_view::npos) return true;
    unsigned number = codePageOption != 0 ? codePageOption : platform::ansiCodePage();
    if (number == UTF8_CODE_PAGE) return failUnmapped(text, bad, number);
    if (!codePageUsable(number, encoding.codePage)) {
        std::string message = "Failure: the csv file is not UTF-8, and the ANSI code page ";
        appendDecimal(message, number);
        message += " is not a single-byte code page; name one with /CODEPAGE:nnn.\n";
        return fail(message);
    }
    const CodePage &page = encoding.codePage;
    auto undefined = std::find_if(text.begin(), text.end(), [&](char c) {
        return page.characters[static_cast<unsigned char>(c)] == NO_CHARACTER;
    });
    if (undefined != text.end())
        return failUnmapped(text, static_cast<std::size_t>(undefined - text.begin()), number);
    encoding.namesInCodePage = true;
    return true;
}

// The listing's text as the store takes it, from its raw bytes.
bool prepareText(RawRead &read, ListingEncoding &encoding, platform::ByteBuffer &text,
                 std::size_t &size) {
    encoding = encodingMarkOf({read.bytes.get(), std::min<std::size_t>(read.size, 3)});
    PreparedText prepared;
    if (encoding.form == ListingForm::Bytes) {
        prepared = prepareByteText(read.bytes.get(), read.size, encoding.mark.size());
        text = std::move(read.bytes);
    } else {
        std::size_t unitBytes = read.size - encoding.mark.size();
        text.reset(platform::allocateBytes(utf16TextCapacity(unitBytes)));
        if (!text) return outOfMemory();
        prepared = prepareUtf16Text(read.bytes.get() + encoding.mark.size(), unitBytes,
                                    encoding.form == ListingForm::Utf16BE, text.get());
        read.bytes.reset();
    }
    switch (prepared.status) {
    case PreparedText::Ready: break;
    case PreparedText::NulByte:
        return fail("Failure: the specified csv file holds NUL bytes; it may be UTF-16 without a "
                    "byte-order mark: save it as UTF-8 or as UTF-16 with a byte-order mark.\n");
    case PreparedText::HalfUnit:
        return fail("Failure: the specified csv file is UTF-16 but ends in half a character.\n");
    }
    if (prepared.endedAtCtrlZ && prepared.textAfterCtrlZ) {
        std::string message = "Warning: the listing ends at a Ctrl-Z byte; ";
        appendDecimal(message, prepared.bytesAfterCtrlZ);
        message += " bytes after it were not read.\n";
        warn(message);
    }
    size = prepared.size;
    return encoding.form != ListingForm::Bytes || decideNameEncoding({text.get(), size}, encoding);
}

} // namespace

bool codePageUsable(unsigned number, CodePage &page) {
    return number == UTF8_CODE_PAGE || builtInCodePage(number, page) ||
           platform::systemCodePage(number, page);
}

bool checkInputFile(std::string &name) {
    name = std::string(trimmed(name));
    if (name.empty()) return fail("Failure: proper csv filename needed.\n");
    switch (platform::openTest(name.c_str())) {
    case platform::OpenStatus::Opened: break;
    case platform::OpenStatus::Missing:
        return fail("Failure: the specified csv file does not exist.\n");
    case platform::OpenStatus::Denied:
        return fail(
            "Failure: the specified csv file cannot be opened (access denied or in use).\n");
    }
    std::uint64_t size = 0;
    if (!platform::findFileSize(name.c_str(), size)) {
        return fail("Failure: the specified csv file cannot be found.\n");
    }
    if (size == 0) return fail("Failure: the specified csv has a length of 0 bytes.\n");
    return true;
}

bool checkWorkFileFree() {
    platform::ExistingFile existing;
    if (!platform::findExisting(WORK_FILE_NAME, existing)) return true;
    return failWorkFileExists();
}

bool loadLines(const std::string &name) {
    std::string displayName = baseNameOf(name);
    RawRead read = readWholeFile(name);
    switch (read.status) {
    case RawRead::OpenFailed: return fail("Failure: Unable to open csv file.\n");
    case RawRead::ReadFailed: return fail("Failure: Unable to read csv file.\n");
    case RawRead::NoMemory: return outOfMemory();
    case RawRead::Interrupted: return failInterrupted(0, 0);
    case RawRead::Done: break;
    }
    ListingEncoding encoding;
    platform::ByteBuffer text;
    std::size_t size = 0;
    if (!prepareText(read, encoding, text, size)) return false;
    try {
        lineStore.assign(std::move(text), size, std::move(encoding));
    } catch (const std::bad_alloc &) {
        return outOfMemory();
    }
    std::string report = "  ";
    appendDecimal(report, lineStore.size());
    report += " lines registered for: " + displayName + "\n";
    progress(report);
    return true;
}

bool loadInput(std::string &name) {
    return checkInputFile(name) && checkWorkFileFree() && loadLines(name);
}
