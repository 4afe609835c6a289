#include "runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

namespace e2e {

Options options;

Outcome runProgram(std::vector<std::string> argv, const support::Environment &env,
                   const fs::path &work, const fs::path &captures, const std::string &emulator) {
    if (!emulator.empty()) argv.insert(argv.begin(), emulator);
    // Under Wine, Windows names reach the Linux disk as UTF-8 bytes only in
    // a UTF-8 locale; the host's locale plays no part.
    support::Environment variables = {{"LC_ALL", "C.UTF-8"}};
    variables.insert(variables.end(), env.begin(), env.end());
    support::Streams streams{captures / "stdout", captures / "stderr"};
    Outcome outcome;
    outcome.exitCode = support::runChild(argv, work, streams, variables).exitCode;
    outcome.out = support::readFile(streams.out);
    outcome.err = support::readFile(streams.err);
    return outcome;
}

std::map<std::string, std::string> filesBelow(const fs::path &root) {
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[entry.path().lexically_relative(root).generic_string()] =
                support::readFile(entry.path());
        }
    }
    return files;
}

fs::path scratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "norvex-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch folder");
    return pattern;
}

void removeUnlessFailed(const fs::path &root) {
    if (!testing::Test::HasFailure())
        fs::remove_all(root);
    else
        std::cerr << "left for inspection: " << root << "\n";
}

std::string visible(const std::string &bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\n')
            out += "{LF}\n";
        else if (c == '\r')
            out += "{CR}";
        else if (c < 0x20 || c >= 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "{x%02X}", c);
            out += hex;
        } else
            out += static_cast<char>(c);
    }
    return out;
}

std::string consoleText(const std::string &text) {
    if (!options.windows) return text;
    std::string rendered;
    for (char c : text) {
        if (c == '\n') rendered += '\r';
        rendered += c;
    }
    return rendered;
}

void expectConsole(const Outcome &outcome, int exitCode, const std::string &out,
                   const std::string &err) {
    EXPECT_EQ(outcome.exitCode, exitCode);
    EXPECT_EQ(visible(outcome.out), visible(consoleText(out))) << "standard output";
    EXPECT_EQ(visible(outcome.err), visible(consoleText(err))) << "standard error";
}

void expectFiles(const std::map<std::string, std::string> &expected,
                 const std::map<std::string, std::string> &actual) {
    for (const auto &[name, bytes] : expected) {
        auto found = actual.find(name);
        if (found == actual.end()) {
            ADD_FAILURE() << "missing file " << name;
            continue;
        }
        EXPECT_EQ(visible(found->second), visible(bytes)) << "file " << name;
    }
    for (const auto &[name, bytes] : actual) {
        if (!expected.count(name))
            ADD_FAILURE() << "unexpected file " << name << ":\n" << visible(bytes);
    }
}

} // namespace e2e
