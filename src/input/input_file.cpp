#include "input/input_file.h"

#include "cli/process_state.h"
#include "input/line_store.h"
#include "platform/platform.h"
#include "text/text.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace {

bool fail(const char *message) {
    platform::writeError(message);
    return false;
}

bool outOfMemory() { return fail("Failure: not enough memory to load the csv file.\n"); }

// The whole text of the file after text-mode reading, in one buffer sized
// from the file's length (and grown should the file grow while it is read).
struct TextRead {
    platform::ByteBuffer text;
    std::size_t size = 0;
    enum { Done, OpenFailed, ReadFailed, NoMemory } status = Done;
};

TextRead readWholeFile(const char *name) {
    TextRead result;
    std::uint64_t expected = 0;
    platform::findFileSize(name, expected);
    platform::TextInput *input = platform::openTextInput(name);
    if (input == nullptr) {
        result.status = TextRead::OpenFailed;
        return result;
    }
    std::size_t capacity = static_cast<std::size_t>(expected) + 1;
    result.text.reset(platform::allocateBytes(capacity));
    while (result.text) {
        std::size_t got = 0;
        platform::ReadStatus status = platform::readText(input, lineBuffer, LINE_BUFFER_SIZE, got);
        if (status == platform::ReadStatus::End) break;
        if (status == platform::ReadStatus::Error) {
            result.status = TextRead::ReadFailed;
            break;
        }
        if (result.size + got >= capacity) { // the store needs one byte past the text
            std::size_t larger = std::max(capacity + capacity / 2, result.size + got + 1);
            platform::ByteBuffer grown(platform::allocateBytes(larger));
            if (grown) std::memcpy(grown.get(), result.text.get(), result.size);
            result.text = std::move(grown);
            capacity = larger;
            if (!result.text) break;
        }
        std::memcpy(result.text.get() + result.size, lineBuffer, got);
        result.size += got;
    }
    if (!result.text) result.status = TextRead::NoMemory;
    platform::closeTextInput(input);
    return result;
}

void reportRegistered(std::size_t count, const std::string &displayName) {
    std::string report = "  ";
    appendDecimal(report, count);
    report += " lines registered for: ";
    report += displayName;
    report += '\n';
    platform::writeOutput(report);
}

} // namespace

bool checkInputFile(char *name) {
    trimInPlace(name);
    if (*name == '\0') return fail("Failure: proper csv filename needed.\n");
    if (!platform::openTest(name)) return fail("Failure: the specified csv file does not exist.\n");
    std::uint64_t size = 0;
    if (!platform::findFileSize(name, size)) {
        return fail("Failure: the specified csv file cannot be found.\n");
    }
    if (size == 0) return fail("Failure: the specified csv has a length of 0 bytes.\n");
    return true;
}

bool loadLines(const char *name) {
    std::string displayName = baseNameOf(name);
    TextRead read = readWholeFile(name);
    switch (read.status) {
    case TextRead::OpenFailed: return fail("Failure: Unable to open csv file.\n");
    case TextRead::ReadFailed: return fail("Failure: Unable to read csv file.\n");
    case TextRead::NoMemory: return outOfMemory();
    case TextRead::Done: break;
    }
    // A NUL byte means UTF-16 or binary data; taking such a file apart line by
    // line would only scramble it.
    if (std::memchr(read.text.get(), '\0', read.size) != nullptr) {
        return fail(
            "Failure: the specified csv file holds NUL bytes; save it as ANSI or UTF-8 text.\n");
    }
    try {
        lineStore.assign(std::move(read.text), read.size);
    } catch (const std::bad_alloc &) {
        return outOfMemory();
    }
    if (!quietMode) reportRegistered(lineStore.size(), displayName);
    return true;
}

bool loadInput(char *name) { return checkInputFile(name) && loadLines(name); }
