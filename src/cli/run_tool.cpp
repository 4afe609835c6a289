#include "cli/run_tool.h"

#include "cli/process_state.h"
#include "cli/report.h"
#include "input/input_file.h"
#include "platform/platform.h"
#include "split/group_writer.h"
#include "text/text.h"

#include <cstring>

namespace {

constexpr const char BANNER[] =
    "norVex " NORVEX_VERSION " - one CSV file for every directory of a file listing\n"
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
    "  /CODEPAGE:nnn = Read a listing that is not UTF-8 in code page nnn (default:\n",
    "           the ANSI code page; 850 or 437 for a DIR listing from cmd).\n",
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

constexpr std::string_view CODE_PAGE_SWITCH = "/codepage:";

bool asksForHelp(const std::string &argument) { return argument == "/?" || argument == "--help"; }

bool isCodePageSwitch(const std::string &argument) {
    return argument.size() >= CODE_PAGE_SWITCH.size() &&
           compareIgnoreAsciiCase(argument.substr(0, CODE_PAGE_SWITCH.size()).c_str(),
                                  CODE_PAGE_SWITCH.data()) == 0;
}

// The number after "/CODEPAGE:", if it names a code page the tool can read.
bool takeCodePage(const std::string &argument) {
    std::string digits = argument.substr(CODE_PAGE_SWITCH.size());
    unsigned number = 0;
    bool wellFormed = !digits.empty() && digits.size() <= 5 &&
                      digits.find_first_not_of("0123456789") == std::string::npos;
    if (wellFormed) number = static_cast<unsigned>(std::stoul(digits));
    CodePage page;
    if (number == 0 || !codePageUsable(number, page)) {
        return fail("Failure: unknown code page " + shownName(digits) +
                    "; use a single-byte code page such as 1252, 850 or 437, or 65001 for "
                    "UTF-8.\n");
    }
    codePageOption = number;
    return true;
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

int runTool(std::vector<std::string> arguments) {
    platform::watchInterruptions();
    platform::writeOutput(BANNER);
    for (const std::string &argument : arguments) {
        if (compareIgnoreAsciiCase(argument.c_str(), "/quiet") == 0) quietMode = true;
    }
    if (arguments.size() < 2 || asksForHelp(arguments[1])) {
        printUsage();
        return finish(0);
    }
    for (const std::string &argument : arguments) {
        if (isCodePageSwitch(argument) && !takeCodePage(argument)) return finish(1);
    }

    lineBuffer = platform::allocateBytes(LINE_BUFFER_SIZE);
    if (lineBuffer == nullptr) {
        platform::writeOutput("Unable to allocate sufficient memory for buffer reading.\n");
        platform::writeOutput("Processing aborted.\n");
        return finish(1);
    }
    std::string &name = arguments[1];
    bool succeeded = loadInput(name) && splitInput(name);
    platform::releaseBytes(lineBuffer);
    lineBuffer = nullptr;
    if (runInterrupted) platform::interruptionHandled();
    return finish(succeeded ? 0 : runInterrupted ? INTERRUPTED_EXIT_CODE : 1);
}
