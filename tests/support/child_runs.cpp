#include "child_runs.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace support {

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

namespace {

std::vector<char *> pointersTo(std::vector<std::string> &words) {
    std::vector<char *> pointers;
    for (std::string &word : words)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

// In the child: the stream fd from path, or from /dev/null.
bool redirect(int fd, const fs::path &path, int flags) {
    int opened = path.empty() ? open("/dev/null", flags) : open(path.c_str(), flags, 0644);
    return opened >= 0 && dup2(opened, fd) >= 0 && close(opened) == 0;
}

int exitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

ChildResult runChild(const std::vector<std::string> &argv, const fs::path &folder,
                     const Streams &streams, const Environment &env) {
    std::vector<std::string> words = argv;
    std::vector<char *> pointers = pointersTo(words);
    std::fflush(nullptr);
    auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
        const int writing = O_WRONLY | O_CREAT | O_TRUNC;
        if (!redirect(0, {}, O_RDONLY) || !redirect(1, streams.out, writing) ||
            (!streams.err.empty() && !redirect(2, streams.err, writing)) ||
            chdir(folder.c_str()) != 0)
            _exit(126);
        for (const auto &[name, value] : env)
            setenv(name.c_str(), value.c_str(), 1);
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    ChildResult result;
    result.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.user = static_cast<double>(usage.ru_utime.tv_sec) + usage.ru_utime.tv_usec / 1e6;
    result.system = static_cast<double>(usage.ru_stime.tv_sec) + usage.ru_stime.tv_usec / 1e6;
    result.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    result.exitCode = exitCodeOf(status);
    return result;
}

pid_t startWithPipe(const std::vector<std::string> &argv, const fs::path &folder,
                    const fs::path &errPath, int &fd) {
    int ends[2];
    if (pipe(ends) != 0) throw std::runtime_error("cannot make a pipe");
    std::vector<std::string> words = argv;
    std::vector<char *> pointers = pointersTo(words);
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        dup2(ends[1], 1);
        close(ends[0]);
        close(ends[1]);
        if (!redirect(2, errPath, O_WRONLY | O_CREAT | O_TRUNC) || chdir(folder.c_str()) != 0)
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
    return exitCodeOf(status);
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t stop = text.find('\n');
        std::string_view line = text.substr(0, stop);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (stop == std::string_view::npos) break;
        text.remove_prefix(stop + 1);
    }
    return lines;
}

long long countInName(std::string_view name) {
    if (name.size() < 5 || name.substr(name.size() - 4) != ".csv") return -1;
    name.remove_suffix(4);
    if (!name.empty() && name.back() == ')') {
        std::size_t open = name.rfind(" (");
        if (open == std::string_view::npos) return -1;
        name = name.substr(0, open);
    }
    std::size_t underscore = name.rfind('_');
    if (underscore == std::string_view::npos || underscore + 1 == name.size()) return -1;
    std::string_view digits = name.substr(underscore + 1);
    if (digits.find_first_not_of("0123456789") != std::string_view::npos) return -1;
    return std::atoll(std::string(digits).c_str());
}

} // namespace support
