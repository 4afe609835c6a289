// The process-wide values that the front end sets up for everyone else.
#pragma once

#include <cstddef>

// Set by the /quiet switch; suppresses progress and summary lines only.
extern bool quietMode;

// Set by /CODEPAGE:nnn: the code page for a listing that is not UTF-8; 0
// for the ANSI code page.
extern unsigned codePageOption;

// The read buffer, reserved once at start and released at the end.
constexpr std::size_t LINE_BUFFER_SIZE = 0x800000;
extern char *lineBuffer;

// The working file, in the current folder: each group is written to it and
// then renamed.
constexpr const char WORK_FILE_NAME[] = "temp.csv";
