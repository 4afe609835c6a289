#include "cli/run_tool.h"

int main(int argc, char **argv) { return runTool(argc, argv); }
