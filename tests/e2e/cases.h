// The end-to-end table: cases.txt read into cases. The format is described
// at the top of cases.txt.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// One run of the program in a case's folder, and what it must print.
struct Invocation {
    std::vector<std::string> args;
    bool faults = false;
    std::vector<std::pair<std::string, std::string>> env;
    int exitCode = 0;
    std::string stdoutText; // after the banner, which every run prints first
    std::string stderrText;
};

struct Case {
    std::string name;
    int line = 0;
    std::vector<Invocation> runs = {Invocation{}};
    std::vector<std::string> dirs;
    std::string cwd; // below the case's folder, where the program runs
    std::map<std::string, std::string> inputs;
    std::map<std::string, std::string> outputs;
};

struct Table {
    std::vector<Case> cases;
    std::string banner; // the text defined as "banner"
};

// Throws std::runtime_error, naming the line, for a table it cannot read.
Table readTable(const std::string &path);

} // namespace e2e
