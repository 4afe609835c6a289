#include "cli/run_tool.h"
#include "platform/platform.h"

int main(int argc, char **argv) { return runTool(platform::commandLine(argc, argv)); }
