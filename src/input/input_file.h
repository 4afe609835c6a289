// Loading the listing: the checks on the named file and the folder, then
// reading it whole into the line store.
#pragma once

#include "text/unicode.h"

#include <string>

// Trims the name in place and checks that it names an existing, non-empty
// file. On false, one failure message has been written to standard error.
bool checkInputFile(std::string &name);

// No working file is left in the current folder (letter case aside), say
// from an interrupted run: checked before the listing is read.
bool checkWorkFileFree();

// Reads the checked file into the line store, decides its encoding, and
// reports the count.
bool loadLines(const std::string &name);

// checkInputFile, checkWorkFileFree, then loadLines; true when all succeed.
bool loadInput(std::string &name);

// The code page can be read: 65001 (UTF-8), a built-in table, or a
// single-byte code page the system knows (its table is stored in page).
bool codePageUsable(unsigned number, CodePage &page);
