// The part of the platform seam that is alike everywhere: memory for the
// large buffers and the interruption flag that each platform's handler sets.
#include "platform/platform.h"

#include "platform/faults.h"
#include "platform/platform_common.h"

#include <cstdlib>

namespace platform {

std::atomic<bool> interruptRequested{false};

char *allocateBytes(std::size_t size) {
    if (injectFault(Fault::Allocate)) return nullptr;
    return static_cast<char *>(std::malloc(size));
}

void releaseBytes(char *bytes) { std::free(bytes); }

bool interrupted() {
    if (injectFault(Fault::Interrupt)) interruptRequested = true;
    return interruptRequested;
}

} // namespace platform
