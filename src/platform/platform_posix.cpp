// POSIX side of the platform seam. It reproduces what the tool sees on
// Windows: backslashes separate path components, and neither creating nor
// renaming ever replaces a file whose name differs from the target only in
// letter case, compared as NTFS compares names.
#include "platform/platform.h"

#include "platform/faults.h"
#include "platform/platform_common.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <iconv.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::string nativePath(const char *name) {
    std::string path(name);
    for (char &c : path) {
        if (c == '\\') c = '/';
    }
    return path;
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

extern "C" void noteInterruption(int) { interruptRequested = true; }

} // namespace

void listFolder(const std::string &folder, const std::function<void(std::string_view)> &add) {
    if (DIR *listing = opendir(folder.empty() ? "." : folder.c_str())) {
        while (const dirent *item = readdir(listing))
            add(item->d_name);
        closedir(listing);
    }
}

std::vector<std::string> commandLine(int argc, char **argv) { return {argv, argv + argc}; }

void writeOutput(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void writeError(std::string_view text) {
    std::fflush(stdout);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void flushOutput() { std::fflush(stdout); }

unsigned ansiCodePage() { return 1252; }

bool systemCodePage(unsigned number, CodePage &page) {
    std::string name = "CP" + std::to_string(number);
    iconv_t converter = iconv_open("UTF-32LE", name.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    bool singleByte = true;
    for (int byte = 0; byte < 256 && singleByte; ++byte) {
        char in = static_cast<char>(byte);
        unsigned char out[8] = {};
        char *inAt = &in;
        char *outAt = reinterpret_cast<char *>(out);
        std::size_t inLeft = 1;
        std::size_t outLeft = sizeof out;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        if (iconv(converter, &inAt, &inLeft, &outAt, &outLeft) == static_cast<std::size_t>(-1)) {
            // EINVAL: the byte starts a longer sequence, so this is no
            // single-byte code page.
            singleByte = errno == EILSEQ;
            page.characters[byte] = NO_CHARACTER;
        } else {
            page.characters[byte] = out[0] | (out[1] << 8) | (out[2] << 16);
        }
    }
    iconv_close(converter);
    page.number = number;
    return singleByte;
}

void watchInterruptions() {
    struct sigaction action {};
    action.sa_handler = noteInterruption;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

void interruptionHandled() {}

OpenStatus openTest(const char *name) {
    if (injectFault(Fault::OpenDenied)) return OpenStatus::Denied;
    // Non-blocking, so that naming a FIFO cannot hang the check.
    int fd = ::open(nativePath(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        bool missing = errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG ||
                       errno == ELOOP || errno == EINVAL;
        return missing ? OpenStatus::Missing : OpenStatus::Denied;
    }
    struct stat info {};
    bool isFile = fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    ::close(fd);
    return isFile ? OpenStatus::Opened : OpenStatus::Missing;
}

bool findFileSize(const char *name, std::uint64_t &size) {
    struct stat info {};
    if (::stat(nativePath(name).c_str(), &info) != 0) return false;
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

struct InputFile {
    int fd = -1;
};

InputFile *openInput(const char *name) {
    int fd = ::open(nativePath(name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return new InputFile{fd};
}

ReadStatus readBytes(InputFile *input, char *destination, std::size_t capacity,
                     std::size_t &count) {
    count = 0;
    if (injectFault(Fault::Read)) return ReadStatus::Error;
    for (;;) {
        ssize_t got = ::read(input->fd, destination, capacity);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return ReadStatus::Error;
        count = static_cast<std::size_t>(got);
        return got == 0 ? ReadStatus::End : ReadStatus::Data;
    }
}

void closeInput(InputFile *input) {
    ::close(input->fd);
    delete input;
}

bool findExisting(const char *name, ExistingFile &found) {
    std::string path = nativePath(name);
    const std::string *stored = folderIndex().find(path);
    if (stored == nullptr) return false;
    found.name = FolderIndex::folderOf(path) + *stored;
    struct stat info {};
    if (::lstat(found.name.c_str(), &info) != 0) {
        // Gone since the folder was read.
        folderIndex().release(path);
        return false;
    }
    found.size = static_cast<std::uint64_t>(info.st_size);
    found.regular = S_ISREG(info.st_mode);
    return true;
}

struct WorkFile {
    int fd = -1;
    bool failed = false;
};

CreateStatus createWorkFile(const char *name, WorkFile *&file) {
    file = nullptr;
    if (injectFault(Fault::Create)) return CreateStatus::Failed;
    std::string path = nativePath(name);
    if (folderIndex().find(path) != nullptr) return CreateStatus::Exists;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno == EEXIST ? CreateStatus::Exists : CreateStatus::Failed;
    folderIndex().claim(path);
    file = new WorkFile{fd};
    return CreateStatus::Created;
}

bool writeWorkFile(WorkFile *file, const char *data, std::size_t size) {
    if (injectFault(Fault::Write)) file->failed = true;
    if (!file->failed && !writeAll(file->fd, data, size)) file->failed = true;
    return !file->failed;
}

bool closeWorkFile(WorkFile *file) {
    bool stored = !file->failed;
    if (::close(file->fd) != 0) stored = false;
    if (injectFault(Fault::Close)) stored = false;
    delete file;
    return stored;
}

bool removeFile(const char *name) {
    std::string path = nativePath(name);
    if (::unlink(path.c_str()) != 0) return false;
    folderIndex().release(path);
    return true;
}

RenameStatus renameFile(const char *from, const char *to) {
    if (injectFault(Fault::RenameExists)) return RenameStatus::TargetExists;
    if (injectFault(Fault::RenameFails)) return RenameStatus::Failed;
    if (injectFault(Fault::RenameRefused)) return RenameStatus::NameRefused;
    std::string source = nativePath(from);
    std::string target = nativePath(to);
    if (!folderIndex().claim(target)) return RenameStatus::TargetExists;
    int result = ::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // File systems without an atomic no-replace rename: a hard link
        // fails on an existing target just the same.
        result = ::link(source.c_str(), target.c_str());
        if (result == 0) ::unlink(source.c_str());
    }
    if (result == 0) {
        folderIndex().release(source);
        return RenameStatus::Done;
    }
    // Someone else made the name meanwhile (it stays claimed), or the rename
    // failed and the name is free after all.
    if (errno == EEXIST) return RenameStatus::TargetExists;
    int error = errno;
    folderIndex().release(target);
    bool refused = error == ENAMETOOLONG || error == EILSEQ || error == EINVAL;
    return refused ? RenameStatus::NameRefused : RenameStatus::Failed;
}

} // namespace platform
