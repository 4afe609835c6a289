// Win32 side of the platform seam: the ANSI file API and the C runtime's
// text-mode streams, used exactly as a Windows console program uses them.
#include "platform/platform.h"

#include "platform/faults.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace platform {
namespace {
constexpr std::size_t WORK_BUFFER_SIZE = 1 << 18;
}

struct TextInput {
    std::FILE *stream = nullptr;
};

struct WorkFile {
    std::FILE *stream = nullptr;
    bool failed = false;
};

bool openTest(const char *name) {
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof security;
    HANDLE handle = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, &security, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
}

bool findFileSize(const char *name, std::uint64_t &size) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(name, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    return true;
}

TextInput *openTextInput(const char *name) {
    std::FILE *stream = std::fopen(name, "rt");
    if (stream == nullptr) return nullptr;
    return new TextInput{stream};
}

ReadStatus readText(TextInput *input, char *destination, std::size_t capacity, std::size_t &count) {
    count = 0;
    if (injectFault(Fault::Read)) return ReadStatus::Error;
    count = std::fread(destination, 1, capacity, input->stream);
    if (count > 0) return ReadStatus::Data;
    return std::ferror(input->stream) ? ReadStatus::Error : ReadStatus::End;
}

void closeTextInput(TextInput *input) {
    std::fclose(input->stream);
    delete input;
}

CreateStatus createWorkFile(const char *name, WorkFile *&file) {
    file = nullptr;
    if (injectFault(Fault::Create)) return CreateStatus::Failed;
    int fd = _open(name, _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT, _S_IREAD | _S_IWRITE);
    if (fd < 0) return errno == EEXIST ? CreateStatus::Exists : CreateStatus::Failed;
    std::FILE *stream = _fdopen(fd, "wt");
    if (stream == nullptr) {
        _close(fd);
        DeleteFileA(name);
        return CreateStatus::Failed;
    }
    std::setvbuf(stream, nullptr, _IOFBF, WORK_BUFFER_SIZE);
    file = new WorkFile{stream};
    return CreateStatus::Created;
}

bool writeWorkFile(WorkFile *file, const char *data, std::size_t size) {
    if (injectFault(Fault::Write)) file->failed = true;
    if (!file->failed && std::fwrite(data, 1, size, file->stream) != size) file->failed = true;
    return !file->failed;
}

bool closeWorkFile(WorkFile *file) {
    bool stored = std::fclose(file->stream) == 0 && !file->failed;
    if (injectFault(Fault::Close)) stored = false;
    delete file;
    return stored;
}

bool removeFile(const char *name) { return DeleteFileA(name) != 0; }

RenameStatus renameFile(const char *from, const char *to) {
    if (injectFault(Fault::RenameExists)) return RenameStatus::TargetExists;
    if (injectFault(Fault::RenameFails)) return RenameStatus::Failed;
    if (MoveFileA(from, to)) return RenameStatus::Done;
    DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return RenameStatus::TargetExists;
    return RenameStatus::Failed;
}

} // namespace platform
