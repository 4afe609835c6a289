// POSIX side of the platform seam. It reproduces what the tool sees on
// Windows: backslashes separate path components, input is read in text mode,
// the working file is written in text mode, and neither creating nor renaming
// ever replaces a file whose name differs from the target only in letter case.
#include "platform/platform.h"

#include "platform/faults.h"
#include "text/text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform {
namespace {

std::string nativePath(const char *name) {
    std::string path(name);
    for (char &c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

// The names present in each directory the tool writes to, folded to lower
// case. Each directory is read once, on first use; afterwards the tool's own
// renames keep the set current, so no group costs a scan.
class FoldedNames {
  public:
    bool contains(const std::string &path) {
        auto [dir, name] = split(path);
        return namesIn(dir).count(foldAsciiCase(name)) != 0;
    }
    // Claims the name; false when it is taken already.
    bool claim(const std::string &path) {
        auto [dir, name] = split(path);
        return namesIn(dir).insert(foldAsciiCase(name)).second;
    }
    void release(const std::string &path) {
        auto [dir, name] = split(path);
        namesIn(dir).erase(foldAsciiCase(name));
    }

  private:
    static std::pair<std::string_view, std::string_view> split(std::string_view path) {
        std::size_t slash = path.rfind('/');
        if (slash == std::string_view::npos) return {".", path};
        return {path.substr(0, slash + 1), path.substr(slash + 1)};
    }
    std::unordered_set<std::string> &namesIn(std::string_view dir) {
        auto [entry, fresh] = directories_.try_emplace(std::string(dir));
        if (fresh) {
            if (DIR *listing = opendir(entry->first.c_str())) {
                while (const dirent *item = readdir(listing)) {
                    entry->second.insert(foldAsciiCase(item->d_name));
                }
                closedir(listing);
            }
        }
        return entry->second;
    }
    std::unordered_map<std::string, std::unordered_set<std::string>> directories_;
};

FoldedNames &foldedNames() {
    static FoldedNames names;
    return names;
}

bool writeAll(int fd, const char *data, std::size_t size) {
    while (size > 0) {
        ssize_t done = ::write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

constexpr std::size_t WORK_BUFFER_SIZE = 1 << 18;

std::vector<char> &workBuffer() {
    static std::vector<char> buffer(WORK_BUFFER_SIZE);
    return buffer;
}

} // namespace

struct TextInput {
    int fd = -1;
    bool pendingCr = false; // a CR ended the last block; its LF may follow
    bool ended = false;     // a byte 0x1A was reached
};

struct WorkFile {
    int fd = -1;
    bool failed = false;
    std::size_t used = 0;
    // Only one working file is ever open: its buffer is taken once and reused.
    std::vector<char> &buffer = workBuffer();
};

bool openTest(const char *name) {
    // Non-blocking, so that naming a FIFO cannot hang the check.
    int fd = ::open(nativePath(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info {};
    bool isFile = fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    ::close(fd);
    return isFile;
}

bool findFileSize(const char *name, std::uint64_t &size) {
    struct stat info {};
    if (::stat(nativePath(name).c_str(), &info) != 0) return false;
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

TextInput *openTextInput(const char *name) {
    int fd = ::open(nativePath(name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    auto *input = new TextInput;
    input->fd = fd;
    return input;
}

ReadStatus readText(TextInput *input, char *destination, std::size_t capacity, std::size_t &count) {
    count = 0;
    if (injectFault(Fault::Read)) return ReadStatus::Error;
    while (!input->ended && count == 0) {
        // A CR held back from the previous block goes first, so that a CR LF
        // pair split across two reads still becomes one LF.
        std::size_t start = 0;
        if (input->pendingCr) {
            destination[0] = '\r';
            start = 1;
        }
        ssize_t got = ::read(input->fd, destination + start, capacity - start);
        if (got < 0) {
            if (errno == EINTR) continue;
            return ReadStatus::Error;
        }
        input->pendingCr = false;
        std::size_t end = start + static_cast<std::size_t>(got);
        if (got == 0) {
            input->ended = true;
            count = start; // a CR at the very end stays a CR
            break;
        }
        if (const void *sub = std::memchr(destination, '\x1a', end)) {
            end = static_cast<std::size_t>(static_cast<const char *>(sub) - destination);
            input->ended = true;
        }
        // Drop every CR that a LF follows, moving the text between them down.
        std::size_t out = 0;
        for (std::size_t i = 0; i < end;) {
            const void *found = std::memchr(destination + i, '\r', end - i);
            std::size_t cr =
                found ? static_cast<std::size_t>(static_cast<const char *>(found) - destination)
                      : end;
            std::memmove(destination + out, destination + i, cr - i);
            out += cr - i;
            if (cr == end) break;
            i = cr + 1;
            if (i == end && !input->ended) {
                input->pendingCr = true;
            } else if (i == end || destination[i] != '\n') {
                destination[out++] = '\r';
            }
        }
        count = out;
    }
    return count > 0 ? ReadStatus::Data : ReadStatus::End;
}

void closeTextInput(TextInput *input) {
    ::close(input->fd);
    delete input;
}

CreateStatus createWorkFile(const char *name, WorkFile *&file) {
    file = nullptr;
    if (injectFault(Fault::Create)) return CreateStatus::Failed;
    std::string path = nativePath(name);
    if (foldedNames().contains(path)) return CreateStatus::Exists;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno == EEXIST ? CreateStatus::Exists : CreateStatus::Failed;
    file = new WorkFile;
    file->fd = fd;
    return CreateStatus::Created;
}

namespace {
bool flushWorkFile(WorkFile *file) {
    if (!file->failed && !writeAll(file->fd, file->buffer.data(), file->used)) file->failed = true;
    file->used = 0;
    return !file->failed;
}

void appendToWorkFile(WorkFile *file, const char *data, std::size_t size) {
    if (file->used + size > file->buffer.size()) flushWorkFile(file);
    if (size > file->buffer.size()) {
        if (!file->failed && !writeAll(file->fd, data, size)) file->failed = true;
        return;
    }
    std::memcpy(file->buffer.data() + file->used, data, size);
    file->used += size;
}
} // namespace

bool writeWorkFile(WorkFile *file, const char *data, std::size_t size) {
    if (injectFault(Fault::Write)) file->failed = true;
    while (size > 0 && !file->failed) {
        const char *lineFeed = static_cast<const char *>(std::memchr(data, '\n', size));
        std::size_t run = lineFeed != nullptr ? static_cast<std::size_t>(lineFeed - data) : size;
        appendToWorkFile(file, data, run);
        if (lineFeed != nullptr) {
            appendToWorkFile(file, "\r\n", 2);
            ++run;
        }
        data += run;
        size -= run;
    }
    return !file->failed;
}

bool closeWorkFile(WorkFile *file) {
    bool stored = flushWorkFile(file);
    if (::close(file->fd) != 0) stored = false;
    if (injectFault(Fault::Close)) stored = false;
    delete file;
    return stored;
}

bool removeFile(const char *name) { return ::unlink(nativePath(name).c_str()) == 0; }

RenameStatus renameFile(const char *from, const char *to) {
    if (injectFault(Fault::RenameExists)) return RenameStatus::TargetExists;
    if (injectFault(Fault::RenameFails)) return RenameStatus::Failed;
    std::string source = nativePath(from);
    std::string target = nativePath(to);
    if (!foldedNames().claim(target)) return RenameStatus::TargetExists;
    int result = ::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // File systems without an atomic no-replace rename: a hard link
        // fails on an existing target just the same.
        result = ::link(source.c_str(), target.c_str());
        if (result == 0) ::unlink(source.c_str());
    }
    if (result == 0) return RenameStatus::Done;
    // Someone else made the name meanwhile (it stays claimed), or the rename
    // failed and the name is free after all.
    if (errno == EEXIST) return RenameStatus::TargetExists;
    foldedNames().release(target);
    return RenameStatus::Failed;
}

} // namespace platform
