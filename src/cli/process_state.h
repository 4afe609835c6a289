// The two process-wide values that the front end sets up for everyone else.
#pragma once

#include <cstddef>

// Set by the /quiet switch; suppresses progress and summary lines only.
extern bool quietMode;

// The read buffer, reserved once at start and released at the end.
constexpr std::size_t LINE_BUFFER_SIZE = 0x800000;
extern char *lineBuffer;
