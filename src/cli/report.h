// How every part of the tool talks to the user: failures and warnings on
// standard error, progress on standard output unless the run is quiet.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Writes the failure message; returns false for the caller to pass on.
bool fail(std::string_view message);
void warn(std::string_view message);
// A progress or summary line, unless quiet.
void progress(std::string_view text);

// The failure of a run stopped by Ctrl-C or a signal, with what was
// finished; the run's exit code becomes INTERRUPTED_EXIT_CODE.
bool failInterrupted(std::uint64_t lines, std::uint64_t files);
constexpr int INTERRUPTED_EXIT_CODE = 130;
extern bool runInterrupted;

// A working file is already there: from an interrupted run, most likely.
bool failWorkFileExists();

// A name as it appears in a message: at most 300 bytes, cut between
// characters and ended with "..." when longer.
std::string shownName(std::string_view name);
