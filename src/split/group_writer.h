// Writing the groups: each run of lines with the same group key goes through
// the working file, which is then renamed to the group's output name.
#pragma once

#include "split/path_components.h"

#include <string>
#include <string_view>

constexpr const char WORK_FILE_NAME[] = "temp.csv";

// prefix, then "_" and each naming component of the group's last line (a
// component of exactly "," left out, bytes a Windows name cannot hold written
// as '_'), then "_<count>.csv".
std::string buildOutputName(std::string_view prefix, const PathComponentList &list,
                            std::size_t count);

// The name that stands in for an output name that is taken: " (n)" before
// ".csv", for n = 2, 3, ...
std::string numberedName(std::string_view name, std::size_t number);

// Splits the loaded store into output files; name is the trimmed argument.
// On false, a failure message has been written and every line is in an
// output file, in the working file, or not yet written.
bool splitInput(const char *name);
