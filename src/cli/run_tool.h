#pragma once

#include <string>
#include <vector>

// The program's whole life: banner, switches, usage, read buffer, loading and
// splitting, from the command line as UTF-8 text (argument 0 is the
// program). Returns the exit code: 0 for success and for the usage text, 130
// for an interrupted run, 1 for every other failure.
int runTool(std::vector<std::string> arguments);

void printUsage();
