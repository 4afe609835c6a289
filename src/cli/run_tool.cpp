#include "cli/run_tool.h"

#include "cli/process_state.h"
#include "input/input_file.h"
#include "platform/platform.h"
#include "split/group_writer.h"
#include "text/text.h"

#include <cstring>

namespace {

constexpr const char BANNER[] =
    "norVex 0.03b - one CSV file for every directory of a file listing\n"
    "Cuts large listings by path; every line lands in exactly one file.\n"
    "Written by the norVex developers.\n"
    "\n";

constexpr const char *USAGE_PIECES[] = {
    "Usage:\n",
    "  NORVEX csv_filename [/QUIET]\n",
    "\n",
    "Switches and arguments:\n",
    "  /QUIET = Prevent the tool from printing anything but header info and\n",
    "           possible error messages.\n",
    "\n",
    "Description:\n",
    "  norVex cuts am existing csv file into smaller csv files by looking\n",
    "  at the path of the particular csv entry. norVex will generate any\n",
    "  number of files with a name pattern that resembles the pattern of\n",
    "  the original path for the csv entry. Underscore is used as seperator.\n",
    "\n",
    "Examples:\n",
    "  NORVEX GardenShowArchive_Lumastrip_90765.csv\n",
    "  norvex BirdWatches-CD23_7915.csv /quiet\n",
};

bool asksForHelp(const char *argument) {
    return std::strcmp(argument, "/?") == 0 || std::strcmp(argument, "--help") == 0;
}

int finish(int exitCode) {
    platform::flushOutput();
    return exitCode;
}

} // namespace

void printUsage() {
    for (const char *piece : USAGE_PIECES)
        platform::writeOutput(piece);
}

int runTool(int argc, char **argv) {
    platform::writeOutput(BANNER);
    for (int i = 0; i < argc; ++i) {
        if (compareIgnoreAsciiCase(argv[i], "/quiet") == 0) quietMode = true;
    }
    if (argc < 2 || asksForHelp(argv[1])) {
        printUsage();
        return finish(0);
    }

    lineBuffer = platform::allocateBytes(LINE_BUFFER_SIZE);
    if (lineBuffer == nullptr) {
        platform::writeOutput("Unable to allocate sufficient memory for buffer reading.\n");
        platform::writeOutput("Processing aborted.\n");
        return finish(1);
    }
    bool succeeded = loadInput(argv[1]) && splitInput(argv[1]);
    platform::releaseBytes(lineBuffer);
    lineBuffer = nullptr;
    return finish(succeeded ? 0 : 1);
}
