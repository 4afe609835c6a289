#pragma once

// The program's whole life: banner, switches, usage, read buffer, loading and
// splitting. Returns the exit code: 0 for success and for the usage text,
// 1 for every failure.
int runTool(int argc, char **argv);

void printUsage();
