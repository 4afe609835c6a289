// Win32 side of the platform seam. Names arrive as UTF-8 and reach the
// system through the wide API as full "\\?\" paths, so neither the ANSI code
// page nor the 260-character path limit gets in the way; files are read and
// written byte for byte.
#include "platform/platform.h"

#include "platform/faults.h"
#include "platform/platform_common.h"

#include <cstdio>
#include <functional>
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

namespace platform {
namespace {

std::wstring wideOf(std::string_view text) {
    std::u16string units = utf16Of(text);
    return std::wstring(units.begin(), units.end());
}

std::string utf8OfWide(const wchar_t *text) {
    std::u16string units;
    for (; *text != 0; ++text)
        units += static_cast<char16_t>(*text);
    return utf8Of(units);
}

// The full path of a name, in the form that the wide functions take at any
// length and without reinterpreting it.
std::wstring widePath(const char *name) {
    std::wstring relative = wideOf(name);
    DWORD needed = GetFullPathNameW(relative.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return relative;
    std::wstring full(needed, L'\0');
    DWORD length = GetFullPathNameW(relative.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return relative;
    full.resize(length);
    if (full.rfind(L"\\\\?\\", 0) == 0 || full.rfind(L"\\\\.\\", 0) == 0) return full;
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

bool isMissingError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE: return true;
    default: return false;
    }
}

constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE openForReading(const std::wstring &path) {
    return CreateFileW(path.c_str(), GENERIC_READ, SHARE_ALL, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

void writeConsole(DWORD which, std::FILE *stream, std::string_view text) {
    HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::string lines;
        for (char c : text) {
            if (c == '\n') lines += '\r';
            lines += c;
        }
        std::wstring wide = wideOf(lines);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    // Redirected: the UTF-8 bytes, through the C runtime's text stream.
    std::fwrite(text.data(), 1, text.size(), stream);
}

HANDLE interruptionHandledEvent = nullptr;

BOOL WINAPI noteInterruption(DWORD event) {
    interruptRequested = true;
    // Windows ends the process once this returns from a closing console:
    // give the tool a moment to remove its working file first.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        if (interruptionHandledEvent != nullptr)
            WaitForSingleObject(interruptionHandledEvent, 4000);
    }
    return TRUE;
}

} // namespace

void listFolder(const std::string &folder, const std::function<void(std::string_view)> &add) {
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW(widePath((folder + "*").c_str()).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        add(utf8OfWide(entry.cFileName));
        // Short names too, for a name that matches one stands for that file.
        if (entry.cAlternateFileName[0] != 0) add(utf8OfWide(entry.cAlternateFileName));
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

std::vector<std::string> commandLine(int, char **) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t **words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) return arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(utf8OfWide(words[i]));
    LocalFree(words);
    return arguments;
}

void writeOutput(std::string_view text) { writeConsole(STD_OUTPUT_HANDLE, stdout, text); }

void writeError(std::string_view text) {
    std::fflush(stdout);
    writeConsole(STD_ERROR_HANDLE, stderr, text);
    std::fflush(stderr);
}

void flushOutput() { std::fflush(stdout); }

unsigned ansiCodePage() { return GetACP(); }

bool systemCodePage(unsigned number, CodePage &page) {
    CPINFO info{};
    if (!GetCPInfo(number, &info) || info.MaxCharSize != 1) return false;
    for (int byte = 0; byte < 256; ++byte) {
        char in = static_cast<char>(byte);
        wchar_t out = 0;
        int got = MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, &in, 1, &out, 1);
        page.characters[byte] = got == 1 ? static_cast<char32_t>(out) : NO_CHARACTER;
    }
    page.number = number;
    return true;
}

void watchInterruptions() {
    interruptionHandledEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(noteInterruption, TRUE);
}

void interruptionHandled() {
    if (interruptionHandledEvent != nullptr) SetEvent(interruptionHandledEvent);
}

OpenStatus openTest(const char *name) {
    if (injectFault(Fault::OpenDenied)) return OpenStatus::Denied;
    std::wstring path = widePath(name);
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return OpenStatus::Missing;
    HANDLE handle = openForReading(path);
    if (handle == INVALID_HANDLE_VALUE)
        return isMissingError(GetLastError()) ? OpenStatus::Missing : OpenStatus::Denied;
    CloseHandle(handle);
    return OpenStatus::Opened;
}

bool findFileSize(const char *name, std::uint64_t &size) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(widePath(name).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    return true;
}

struct InputFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
};

InputFile *openInput(const char *name) {
    HANDLE handle = openForReading(widePath(name));
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return new InputFile{handle};
}

ReadStatus readBytes(InputFile *input, char *destination, std::size_t capacity,
                     std::size_t &count) {
    count = 0;
    if (injectFault(Fault::Read)) return ReadStatus::Error;
    DWORD request = capacity > (1u << 30) ? (1u << 30) : static_cast<DWORD>(capacity);
    DWORD got = 0;
    if (!ReadFile(input->handle, destination, request, &got, nullptr)) return ReadStatus::Error;
    count = got;
    return got == 0 ? ReadStatus::End : ReadStatus::Data;
}

void closeInput(InputFile *input) {
    CloseHandle(input->handle);
    delete input;
}

bool findExisting(const char *name, ExistingFile &found) {
    // A name the index does not know is free: no call to the file system.
    if (folderIndex().find(name) == nullptr) return false;
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW(widePath(name).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        folderIndex().release(name); // gone since the folder was read
        return false;
    }
    FindClose(search);
    std::string_view given(name);
    found.name = FolderIndex::folderOf(given) + utf8OfWide(entry.cFileName);
    found.size = (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    // Found by its short name: another file's, never the same content.
    found.regular = !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    foldNameCase(found.name) == foldNameCase(given);
    return true;
}

struct WorkFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool failed = false;
};

CreateStatus createWorkFile(const char *name, WorkFile *&file) {
    file = nullptr;
    if (injectFault(Fault::Create)) return CreateStatus::Failed;
    HANDLE handle = CreateFileW(widePath(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? CreateStatus::Exists
                                                                           : CreateStatus::Failed;
    }
    folderIndex().claim(name);
    file = new WorkFile{handle};
    return CreateStatus::Created;
}

bool writeWorkFile(WorkFile *file, const char *data, std::size_t size) {
    if (injectFault(Fault::Write)) file->failed = true;
    while (size > 0 && !file->failed) {
        DWORD request = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD done = 0;
        if (!WriteFile(file->handle, data, request, &done, nullptr) || done == 0) {
            file->failed = true;
            break;
        }
        data += done;
        size -= done;
    }
    return !file->failed;
}

bool closeWorkFile(WorkFile *file) {
    bool stored = !file->failed;
    if (!CloseHandle(file->handle)) stored = false;
    if (injectFault(Fault::Close)) stored = false;
    delete file;
    return stored;
}

bool removeFile(const char *name) {
    if (!DeleteFileW(widePath(name).c_str())) return false;
    folderIndex().release(name);
    return true;
}

RenameStatus renameFile(const char *from, const char *to) {
    if (injectFault(Fault::RenameExists)) return RenameStatus::TargetExists;
    if (injectFault(Fault::RenameFails)) return RenameStatus::Failed;
    if (injectFault(Fault::RenameRefused)) return RenameStatus::NameRefused;
    if (!folderIndex().claim(to)) return RenameStatus::TargetExists;
    std::wstring source = widePath(from);
    std::wstring target = widePath(to);
    // Scanners and indexers hold new files open for a moment.
    constexpr int ATTEMPTS = 20;
    constexpr DWORD PAUSE_MS = 50;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(source.c_str(), target.c_str(), 0)) {
            folderIndex().release(from);
            return RenameStatus::Done;
        }
        DWORD error = GetLastError();
        // Only a name that is really there is taken (and stays claimed); a
        // device name says "exists" too, and no number would ever be free.
        if ((error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) &&
            GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
            return RenameStatus::TargetExists;
        bool transient = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
        if (transient && attempt < ATTEMPTS) {
            Sleep(PAUSE_MS);
            continue;
        }
        folderIndex().release(to);
        bool refused = error == ERROR_INVALID_NAME || error == ERROR_BAD_DEV_TYPE ||
                       error == ERROR_FILENAME_EXCED_RANGE || error == ERROR_DIRECTORY;
        return refused ? RenameStatus::NameRefused : RenameStatus::Failed;
    }
}

} // namespace platform
