// What the benchmark, the soak run and the end-to-end runner share: running
// a program as a child in a folder, reading and writing whole files, and
// the shape of output names.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace support {

namespace fs = std::filesystem;

std::string readFile(const fs::path &path);
// Throws std::runtime_error when the file cannot be written.
void writeFile(const fs::path &path, const std::string &bytes);

using Environment = std::vector<std::pair<std::string, std::string>>;

// Where a child's standard streams go: a file, or (empty) /dev/null for the
// input and output and the parent's own standard error.
struct Streams {
    fs::path out;
    fs::path err;
};

struct ChildResult {
    int exitCode = -1; // 128 + the signal for a child ended by one
    double wall = 0;
    double user = 0;
    double system = 0;
    double peakMiB = 0;
};

// Runs argv[0] with argv in folder, with the variables of env added, and
// waits for it.
ChildResult runChild(const std::vector<std::string> &argv, const fs::path &folder,
                     const Streams &streams, const Environment &env = {});

// Starts argv[0] in folder with its standard output into a pipe, whose
// reading end goes to fd, and its standard error into errPath.
pid_t startWithPipe(const std::vector<std::string> &argv, const fs::path &folder,
                    const fs::path &errPath, int &fd);
int waitFor(pid_t child);

// The lines of a text, without their CR LF or LF.
std::vector<std::string_view> linesOf(std::string_view text);

// The count in an output name, "..._N.csv" or "..._N (k).csv"; -1 for a
// name of another shape.
long long countInName(std::string_view name);

} // namespace support
