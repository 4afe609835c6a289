// Runs the end-to-end table (cases.txt) against one build of the program:
// the native norvex, or norvex.exe under Wine. Each case runs in a fresh
// folder; its standard output, standard error, exit code and every file left
// in the folder are compared byte for byte with the table (every run's
// standard output starts with the banner, which the table defines once).
// The one thing that differs between builds is the console's line break,
// rendered for --windows. With --reference-program, generated listings are
// also split by that program and compared (differential_test.cpp); the
// conditions of real_conditions_test.cpp run too.
#include "cases.h"
#include "runner.h"
#include "tests.h"

#include <gtest/gtest.h>

#include <iostream>

namespace e2e {
namespace {

class CaseTest : public testing::Test {
  public:
    CaseTest(Case c, std::string banner) : case_(std::move(c)), banner_(std::move(banner)) {}

    void TestBody() override {
        fs::path root = scratchFolder();
        fs::path work = root / "work";
        fs::create_directories(work);
        for (const std::string &dir : case_.dirs)
            fs::create_directories(work / dir);
        for (const auto &[name, bytes] : case_.inputs)
            support::writeFile(work / name, bytes);

        SCOPED_TRACE("case '" + case_.name + "' at cases.txt:" + std::to_string(case_.line));
        for (std::size_t i = 0; i < case_.runs.size(); ++i) {
            const Invocation &run = case_.runs[i];
            std::vector<std::string> argv = {run.faults ? options.faultsProgram : options.program};
            argv.insert(argv.end(), run.args.begin(), run.args.end());
            Outcome outcome = runProgram(argv, run.env, work / case_.cwd, root);
            SCOPED_TRACE("run " + std::to_string(i + 1));
            expectConsole(outcome, run.exitCode, banner_ + run.stdoutText, run.stderrText);
        }
        std::map<std::string, std::string> expected = case_.inputs;
        for (const auto &[name, bytes] : case_.outputs)
            expected[name] = bytes;
        expectFiles(expected, filesBelow(work));
        removeUnlessFailed(root);
    }

  private:
    Case case_;
    std::string banner_;
};

} // namespace
} // namespace e2e

int main(int argc, char **argv) {
    using namespace e2e;
#ifdef NORVEX_CASES_FILE
    options.cases = NORVEX_CASES_FILE;
#endif
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        std::string flag = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (flag == "--cases")
            options.cases = value();
        else if (flag == "--program")
            options.program = fs::absolute(value()).string();
        else if (flag == "--faults-program")
            options.faultsProgram = fs::absolute(value()).string();
        else if (flag == "--emulator")
            options.emulator = fs::absolute(value()).string();
        else if (flag == "--windows")
            options.windows = true;
        else if (flag == "--reference-program") {
            std::string path = value();
            if (!path.empty()) options.referenceProgram = fs::absolute(path).string();
        } else {
            std::cerr << "e2e_runner: unknown argument " << flag << "\n";
            return 2;
        }
    }
    Table table;
    try {
        table = readTable(options.cases);
    } catch (const std::exception &error) {
        std::cerr << "e2e_runner: " << error.what() << "\n";
        return 2;
    }
    for (const Case &c : table.cases) {
        testing::RegisterTest(
            "EndToEnd", c.name.c_str(), nullptr, nullptr, options.cases.c_str(), c.line,
            [c, banner = table.banner]() -> testing::Test * { return new CaseTest(c, banner); });
    }
    registerRealConditionTests();
    if (!options.referenceProgram.empty()) registerDifferentialTests();
    return RUN_ALL_TESTS();
}
