// Shared between the platform sources only.
#pragma once

#include <atomic>

namespace platform {

// Set by the platform's interruption handler (a signal handler or a console
// control handler on its own thread), read by interrupted().
extern std::atomic<bool> interruptRequested;
static_assert(std::atomic<bool>::is_always_lock_free);

} // namespace platform
