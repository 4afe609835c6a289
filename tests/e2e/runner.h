// What the end-to-end tests share: the runner's options, running the
// program under test, and comparing what it printed and left behind.
#pragma once

#include "child_runs.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

struct Options {
    std::string cases;
    std::string program;
    std::string faultsProgram;
    std::string emulator; // runs the Windows programs (Wine)
    std::string referenceProgram;
    bool windows = false;
};

extern Options options;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs argv in folder work (under the emulator, when one is given), its
// streams captured in the folder captures.
Outcome runProgram(std::vector<std::string> argv, const support::Environment &env,
                   const fs::path &work, const fs::path &captures,
                   const std::string &emulator = options.emulator);

// Every file below root, by its path relative to root, with its bytes.
std::map<std::string, std::string> filesBelow(const fs::path &root);
fs::path scratchFolder();
// Leaves the folder for inspection when the test failed.
void removeUnlessFailed(const fs::path &root);

// Shows bytes so that a difference in line breaks or control bytes is seen.
std::string visible(const std::string &bytes);
// Console text as the program under test writes it: a Windows program's
// text-mode console streams store each "\n" as "\r\n".
std::string consoleText(const std::string &text);

void expectConsole(const Outcome &outcome, int exitCode, const std::string &out,
                   const std::string &err);
void expectFiles(const std::map<std::string, std::string> &expected,
                 const std::map<std::string, std::string> &actual);

} // namespace e2e
