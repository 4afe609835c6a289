// Loading the listing: the checks on the named file, then reading it whole
// into the line store.
#pragma once

// Trims the name in place and checks that it names an existing, non-empty
// file. On false, one failure message has been written to standard error.
bool checkInputFile(char *name);

// Reads the checked file into the line store and reports the count.
bool loadLines(const char *name);

// checkInputFile, then loadLines; true when both succeed.
bool loadInput(char *name);
