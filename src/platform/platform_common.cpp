// The part of the platform seam that the C runtime provides alike everywhere:
// the console streams (text streams on Windows, so each "\n" reaches a
// Windows console as CR LF) and memory for the large buffers.
#include "platform/platform.h"

#include "platform/faults.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void writeOutput(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void writeError(std::string_view text) {
    std::fflush(stdout);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void flushOutput() { std::fflush(stdout); }

char *allocateBytes(std::size_t size) {
    if (injectFault(Fault::Allocate)) return nullptr;
    return static_cast<char *>(std::malloc(size));
}

void releaseBytes(char *bytes) { std::free(bytes); }

} // namespace platform
