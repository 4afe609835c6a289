// Runs the end-to-end table (cases.txt) against one build of the program:
// the native norvex, or norvex.exe under Wine. Each case runs in a fresh
// folder; its standard output, standard error, exit code and every file left
// in the folder are compared byte for byte with the table. The one thing that
// differs between builds is the console's line break: a Windows program's
// text-mode console streams store each "\n" as "\r\n", so with --windows the
// expected console text is rendered that way before the comparison.
//
// With --reference-program, generated listings are also split by that
// program (the native build) and by the program under test, and the two
// results compared.
#include "listing_generator.h"
#include "text/unicode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Options {
    std::string cases;
    std::string program;
    std::string faultsProgram;
    std::string emulator;
    std::string referenceProgram;
    bool windows = false;
};

Options options;

// One run of the program in a case's folder, and what it must print.
struct Invocation {
    std::vector<std::string> args;
    bool faults = false;
    std::vector<std::pair<std::string, std::string>> env;
    int exitCode = 0;
    std::string stdoutText;
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

std::map<std::string, std::string> macros;

[[noreturn]] void parseError(int line, const std::string &message) {
    throw std::runtime_error("cases.txt:" + std::to_string(line) + ": " + message);
}

// Escapes: {CR} {LF} {TAB} {SUB} {NUL} {BOM} {xHH}, {c*N} for the character
// c N times, {{ for a '{', and {NAME} for a defined text.
std::string expand(const std::string &text, int line) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '{') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '{') {
            out += '{';
            ++i;
            continue;
        }
        std::size_t close = text.find('}', i + 2);
        if (close == std::string::npos) parseError(line, "unclosed escape in: " + text);
        std::string token = text.substr(i + 1, close - i - 1);
        i = close;
        if (token == "CR")
            out += '\r';
        else if (token == "LF")
            out += '\n';
        else if (token == "TAB")
            out += '\t';
        else if (token == "SUB")
            out += '\x1a';
        else if (token == "NUL")
            out += '\0';
        else if (token == "BOM")
            out += "\xEF\xBB\xBF";
        else if (token.size() == 3 && token[0] == 'x')
            out += static_cast<char>(std::stoi(token.substr(1), nullptr, 16));
        else if (token.size() >= 3 && token[1] == '*')
            out.append(std::stoul(token.substr(2)), token[0]);
        else if (token == "i")
            out += "{i}"; // filled in by generate
        else if (macros.count(token))
            out += macros[token];
        else
            parseError(line, "unknown escape {" + token + "}");
    }
    return out;
}

std::vector<std::string> splitWords(const std::string &text, int line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        std::string word;
        if (text[i] == '"') {
            std::size_t close = text.find('"', i + 1);
            if (close == std::string::npos) parseError(line, "unclosed quote");
            word = text.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            std::size_t end = text.find(' ', i);
            if (end == std::string::npos) end = text.size();
            word = text.substr(i, end - i);
            i = end;
        }
        words.push_back(expand(word, line));
    }
    return words;
}

std::string terminatorFor(const std::string &style, int line) {
    if (style == "crlf") return "\r\n";
    if (style == "lf") return "\n";
    if (style == "raw") return "";
    parseError(line, "unknown line style " + style);
}

// The block's text (UTF-8, WTF-8 for a lone surrogate) in the file's
// encoding: as it is, or UTF-16 with its byte-order mark at the file's start
// (utf16le, utf16be) or without one (utf16le-unmarked).
std::string encoded(const std::string &text, const std::string &encoding, bool atStart, int line) {
    if (encoding.empty()) return text;
    bool bigEndian = encoding == "utf16be";
    if (!bigEndian && encoding != "utf16le" && encoding != "utf16le-unmarked")
        parseError(line, "unknown encoding " + encoding);
    std::string bytes;
    auto put = [&](char16_t unit) {
        bytes += static_cast<char>(bigEndian ? unit >> 8 : unit & 0xFF);
        bytes += static_cast<char>(bigEndian ? unit & 0xFF : unit >> 8);
    };
    if (atStart && encoding != "utf16le-unmarked") put(0xFEFF);
    for (char16_t unit : utf16Of(text))
        put(unit);
    return bytes;
}

// "generate N TEMPLATE": N lines of TEMPLATE in CR LF, {i} standing for 1..N
// written with as many digits as N has, so the lines also sort in this order.
std::string generated(const std::vector<std::string> &words, std::size_t from, int line) {
    if (words.size() != from + 3) parseError(line, "generate needs a count and a template");
    std::size_t count = std::stoul(words[from + 1]);
    std::size_t width = std::to_string(count).size();
    std::string text;
    for (std::size_t i = 1; i <= count; ++i) {
        std::string number = std::to_string(i);
        number.insert(0, width - number.size(), '0');
        std::string row = words[from + 2];
        std::size_t at;
        while ((at = row.find("{i}")) != std::string::npos)
            row.replace(at, 3, number);
        text += row + "\r\n";
    }
    return text;
}

std::vector<Case> readCases(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<std::string> lines;
    for (std::string text; std::getline(in, text);)
        lines.push_back(text);

    std::vector<Case> cases;
    std::size_t i = 0;
    // The raw lines of the block that starts after line i, up to ".".
    auto block = [&](int headerLine) {
        std::vector<std::string> body;
        while (++i < lines.size() && lines[i] != ".")
            body.push_back(lines[i]);
        if (i == lines.size()) parseError(headerLine, "block not closed by a line '.'");
        return body;
    };
    auto joined = [&](const std::vector<std::string> &body, const std::string &terminator, int at) {
        std::string text;
        for (const std::string &row : body)
            text += expand(row, at) + terminator;
        return text;
    };
    for (; i < lines.size(); ++i) {
        const std::string &text = lines[i];
        int at = static_cast<int>(i) + 1;
        if (text.empty() || text[0] == '#') continue;
        std::size_t space = text.find(' ');
        std::string word = text.substr(0, space);
        std::string rest = space == std::string::npos ? "" : text.substr(space + 1);
        if (word == "define") {
            std::vector<std::string> body = block(at);
            macros[rest] = joined(body, "\n", at);
            continue;
        }
        if (word == "case") {
            cases.emplace_back();
            cases.back().name = rest;
            cases.back().line = at;
            continue;
        }
        if (cases.empty()) parseError(at, "'" + word + "' outside a case");
        Case &c = cases.back();
        Invocation &run = c.runs.back();
        std::vector<std::string> words = splitWords(rest, at);
        if (word == "args") {
            run.args = words;
        } else if (word == "program") {
            run.faults = rest == "faults";
        } else if (word == "env") {
            std::size_t equals = rest.find('=');
            run.env.emplace_back(rest.substr(0, equals), expand(rest.substr(equals + 1), at));
        } else if (word == "again") {
            // The same command once more in the same folder, without faults.
            c.runs.push_back(Invocation{run.args, false, {}, 0, {}, {}});
        } else if (word == "cwd") {
            c.cwd = words.at(0);
            c.dirs.push_back(c.cwd);
        } else if (word == "dir") {
            c.dirs.push_back(words.at(0));
        } else if (word == "exit") {
            run.exitCode = std::stoi(rest);
        } else if (word == "file" || word == "output") {
            auto &target = word == "file" ? c.inputs : c.outputs;
            // A name given again continues its file.
            if (words.size() > 1 && words[1] == "generate") {
                target[words[0]] += generated(words, 1, at);
            } else {
                std::string style = words.size() > 1 ? words[1] : "crlf";
                std::string encoding = words.size() > 2 ? words[2] : "";
                std::string &bytes = target[words[0]];
                bytes += encoded(joined(block(at), terminatorFor(style, at), at), encoding,
                                 bytes.empty(), at);
            }
        } else if (word == "stdout" || word == "stderr") {
            std::string style = words.empty() ? "lf" : words[0];
            (word == "stdout" ? run.stdoutText : run.stderrText) =
                joined(block(at), terminatorFor(style, at), at);
        } else {
            parseError(at, "unknown directive '" + word + "'");
        }
    }
    return cases;
}

std::string readFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const fs::path &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Shows bytes so that a difference in line breaks or control bytes is seen.
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

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// Runs the program under test (under the emulator, if any) in folder work.
Outcome runProgram(std::vector<std::string> argv, const Environment &env, const fs::path &work,
                   const fs::path &captures) {
    if (!options.emulator.empty()) argv.insert(argv.begin(), options.emulator);
    std::vector<char *> pointers;
    for (std::string &word : argv)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);

    fs::path outPath = captures / "stdout";
    fs::path errPath = captures / "stderr";
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        FILE *out = std::freopen(outPath.c_str(), "wb", stdout);
        FILE *err = std::freopen(errPath.c_str(), "wb", stderr);
        FILE *in = std::freopen("/dev/null", "rb", stdin);
        if (out == nullptr || err == nullptr || in == nullptr || chdir(work.c_str()) != 0)
            _exit(126);
        // Under Wine, Windows names reach the Linux disk as UTF-8 bytes only
        // in a UTF-8 locale; the host's locale plays no part.
        setenv("LC_ALL", "C.UTF-8", 1);
        for (const auto &[name, value] : env)
            setenv(name.c_str(), value.c_str(), 1);
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    Outcome outcome;
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.out = readFile(outPath);
    outcome.err = readFile(errPath);
    return outcome;
}

std::map<std::string, std::string> filesBelow(const fs::path &root) {
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[entry.path().lexically_relative(root).generic_string()] = readFile(entry.path());
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

void removeUnlessFailed(const fs::path &root) {
    if (!testing::Test::HasFailure())
        fs::remove_all(root);
    else
        std::cerr << "left for inspection: " << root << "\n";
}

class CaseTest : public testing::Test {
  public:
    explicit CaseTest(Case c) : case_(std::move(c)) {}

    void TestBody() override {
        fs::path root = scratchFolder();
        fs::path work = root / "work";
        fs::create_directories(work);
        for (const std::string &dir : case_.dirs)
            fs::create_directories(work / dir);
        for (const auto &[name, bytes] : case_.inputs)
            writeFile(work / name, bytes);

        SCOPED_TRACE("case '" + case_.name + "' at cases.txt:" + std::to_string(case_.line));
        for (std::size_t i = 0; i < case_.runs.size(); ++i) {
            const Invocation &run = case_.runs[i];
            std::vector<std::string> argv = {run.faults ? options.faultsProgram : options.program};
            argv.insert(argv.end(), run.args.begin(), run.args.end());
            Outcome outcome = runProgram(argv, run.env, work / case_.cwd, root);
            SCOPED_TRACE("run " + std::to_string(i + 1));
            expectConsole(outcome, run.exitCode, run.stdoutText, run.stderrText);
        }
        std::map<std::string, std::string> expected = case_.inputs;
        for (const auto &[name, bytes] : case_.outputs)
            expected[name] = bytes;
        expectFiles(expected, filesBelow(work));
        removeUnlessFailed(root);
    }

  private:
    Case case_;
};

// A generated listing, split by the reference program (the native build, run
// directly) and by the program under test: both must give the same console
// output, exit code and files, byte for byte.
class DifferentialTest : public testing::Test {
  public:
    DifferentialTest(std::uint64_t lines, std::uint64_t seed, ListingStyle style)
        : lines_(lines), seed_(seed), style_(style) {}

    void TestBody() override {
        fs::path root = scratchFolder();
        fs::path expectedWork = root / "reference";
        fs::path work = root / "work";
        fs::create_directories(expectedWork);
        fs::create_directories(work);
        const std::string listing = "Generated_0001.csv";
        ASSERT_TRUE(generateListing(work / listing, lines_, seed_, style_));
        fs::copy_file(work / listing, expectedWork / listing);

        fs::path referenceCaptures = root / "reference-captures";
        fs::create_directories(referenceCaptures);
        std::string emulator;
        std::swap(emulator, options.emulator);
        Outcome reference =
            runProgram({options.referenceProgram, listing}, {}, expectedWork, referenceCaptures);
        std::swap(emulator, options.emulator);
        Outcome outcome = runProgram({options.program, listing}, {}, work, root);

        SCOPED_TRACE("generated listing of " + std::to_string(lines_) + " lines, seed " +
                     std::to_string(seed_));
        ASSERT_EQ(reference.exitCode, 0);
        expectConsole(outcome, reference.exitCode, reference.out, reference.err);
        expectFiles(filesBelow(expectedWork), filesBelow(work));
        removeUnlessFailed(root);
    }

  private:
    std::uint64_t lines_;
    std::uint64_t seed_;
    ListingStyle style_;
};

// ---------------------------------------------------------------- real conditions

// The listing's lines (CR LF ended), in reading order.
std::vector<std::string> linesOf(const std::string &text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Every output file in folder holds as many lines as its name says; returns
// all their lines, sorted, for the comparison with the listing's.
std::vector<std::string> checkedOutputLines(const fs::path &folder, const std::string &listing) {
    std::vector<std::string> all;
    for (const auto &[name, bytes] : filesBelow(folder)) {
        if (name == listing) continue;
        EXPECT_NE(name, "temp.csv") << "the working file is left behind";
        std::size_t end = name.rfind(".csv");
        std::size_t open = name.rfind(" (");
        std::size_t countEnd = open != std::string::npos && open < end ? open : end;
        std::size_t underscore = name.rfind('_', countEnd);
        if (end == std::string::npos || underscore == std::string::npos) {
            ADD_FAILURE() << "unexpected file " << name;
            continue;
        }
        std::vector<std::string> lines = linesOf(bytes);
        EXPECT_EQ(std::to_string(lines.size()),
                  name.substr(underscore + 1, countEnd - underscore - 1))
            << "file " << name << " is not complete";
        all.insert(all.end(), lines.begin(), lines.end());
    }
    std::sort(all.begin(), all.end());
    return all;
}

std::vector<std::string> sortedLinesOf(const fs::path &listing) {
    std::vector<std::string> lines = linesOf(readFile(listing));
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Starts the program in work with standard output into a pipe, whose
// reading end is returned in fd; standard error goes to errPath.
pid_t startWithPipe(const std::vector<std::string> &args, const fs::path &work,
                    const fs::path &errPath, int &fd) {
    int ends[2];
    if (pipe(ends) != 0) throw std::runtime_error("cannot make a pipe");
    std::vector<std::string> argv = args;
    std::vector<char *> pointers;
    for (std::string &word : argv)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        dup2(ends[1], 1);
        close(ends[0]);
        close(ends[1]);
        if (std::freopen(errPath.c_str(), "wb", stderr) == nullptr || chdir(work.c_str()) != 0)
            _exit(126);
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    close(ends[1]);
    fd = ends[0];
    return child;
}

int waitFor(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A real SIGINT in the middle of a run: finished files stay complete, the
// working file goes, and a second run completes the set without copies.
class InterruptTest : public testing::Test {
  public:
    void TestBody() override {
        fs::path root = scratchFolder();
        fs::path work = root / "work";
        fs::create_directories(work);
        const std::string listing = "Big_1.csv";
        ASSERT_TRUE(generateListing(work / listing, 200000, 7));
        int fd = -1;
        pid_t child = startWithPipe({options.program, listing}, work, root / "stderr", fd);
        std::string seen;
        std::size_t written = 0;
        char buffer[4096];
        bool signalled = false;
        for (;;) {
            ssize_t got = read(fd, buffer, sizeof buffer);
            if (got <= 0) break;
            seen.append(buffer, static_cast<std::size_t>(got));
            written = 0;
            for (std::size_t at = seen.find(" written. "); at != std::string::npos;
                 at = seen.find(" written. ", at + 1))
                ++written;
            if (!signalled && written >= 20) {
                kill(child, SIGINT);
                signalled = true;
            }
        }
        close(fd);
        ASSERT_TRUE(signalled) << "the run ended before 20 files were written";
        EXPECT_EQ(waitFor(child), 130);
        EXPECT_EQ(readFile(root / "stderr").rfind("Failure: interrupted; ", 0), 0u)
            << readFile(root / "stderr");
        std::vector<std::string> partial = checkedOutputLines(work, listing);
        EXPECT_FALSE(partial.empty());

        Outcome second = runProgram({options.program, listing, "/quiet"}, {}, work, root);
        EXPECT_EQ(second.exitCode, 0) << second.err;
        EXPECT_EQ(checkedOutputLines(work, listing), sortedLinesOf(work / listing));
        removeUnlessFailed(root);
    }
};

// A reader that goes away (norvex ... | head) stops the reports, not the
// work: every group is still written, and the run succeeds.
class ClosedOutputTest : public testing::Test {
  public:
    void TestBody() override {
        fs::path root = scratchFolder();
        fs::path work = root / "work";
        fs::create_directories(work);
        const std::string listing = "Pipe_1.csv";
        ASSERT_TRUE(generateListing(work / listing, 6000, 5));
        int fd = -1;
        pid_t child = startWithPipe({options.program, listing}, work, root / "stderr", fd);
        close(fd);
        EXPECT_EQ(waitFor(child), 0) << readFile(root / "stderr");
        EXPECT_EQ(checkedOutputLines(work, listing), sortedLinesOf(work / listing));
        removeUnlessFailed(root);
    }
};

// A file system that fills up during the run: the failure is reported, no
// file is left shorter than its name says, and the working file is gone.
class FullDiskTest : public testing::Test {
  public:
    void TestBody() override {
        fs::path root = scratchFolder();
        fs::path full = root / "full";
        fs::create_directories(full);
        std::string command = "mount -t tmpfs -o size=64k tmpfs '" + full.string() + "' 2>&1";
        if (std::system(command.c_str()) != 0) {
            fs::remove_all(root);
            GTEST_SKIP() << "cannot mount a small tmpfs here (needs root and mount rights)";
        }
        const std::string listing = "Big_1.csv";
        ASSERT_TRUE(generateListing(root / listing, 4000, 9));
        Outcome outcome = runProgram({options.program, "../" + listing, "/quiet"}, {}, full, root);
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(visible(outcome.err),
                  visible(consoleText("Failure: unable to write the working file temp.csv.\n")));
        checkedOutputLines(full, listing);
        std::string unmount = "umount '" + full.string() + "'";
        EXPECT_EQ(std::system(unmount.c_str()), 0);
        removeUnlessFailed(root);
    }
};

} // namespace

int main(int argc, char **argv) {
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
    std::vector<Case> cases;
    try {
        cases = readCases(options.cases);
    } catch (const std::exception &error) {
        std::cerr << "e2e_runner: " << error.what() << "\n";
        return 2;
    }
    for (const Case &c : cases) {
        testing::RegisterTest("EndToEnd", c.name.c_str(), nullptr, nullptr, __FILE__, c.line,
                              [c]() -> testing::Test * { return new CaseTest(c); });
    }
    testing::RegisterTest("RealConditions", "FullDisk", nullptr, nullptr, __FILE__, __LINE__,
                          []() -> testing::Test * { return new FullDiskTest; });
    if (!options.windows) {
        // Wine passes neither a signal nor a closed pipe on as Windows would.
        testing::RegisterTest("RealConditions", "Interrupt", nullptr, nullptr, __FILE__, __LINE__,
                              []() -> testing::Test * { return new InterruptTest; });
        testing::RegisterTest("RealConditions", "ClosedOutput", nullptr, nullptr, __FILE__,
                              __LINE__, []() -> testing::Test * { return new ClosedOutputTest; });
    }
    if (!options.referenceProgram.empty()) {
        struct Listing {
            const char *name;
            std::uint64_t seed;
            ListingStyle style;
        };
        const Listing listings[] = {{"GeneratedListing", 1, {}},
                                    {"InternationalNames", 2, {true, false}},
                                    {"InternationalNamesInUtf16", 3, {true, true}}};
        for (const Listing &listing : listings) {
            testing::RegisterTest("Differential", listing.name, nullptr, nullptr, __FILE__,
                                  __LINE__, [listing]() -> testing::Test * {
                                      return new DifferentialTest(6000, listing.seed,
                                                                  listing.style);
                                  });
        }
    }
    return RUN_ALL_TESTS();
}
