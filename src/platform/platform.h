// The platform seam: every file, console, process and memory operation the
// tool needs. platform_win32.cpp provides it with the wide Win32 API;
// platform_posix.cpp gives the same results on POSIX systems. The build
// compiles exactly one of them. Names are UTF-8 text (the native build takes
// the user's bytes as they come); a backslash separates folders on both.
#pragma once

#include "text/unicode.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The command line as UTF-8 text: on Windows exactly what the user typed
// (read wide), elsewhere the argument bytes.
std::vector<std::string> commandLine(int argc, char **argv);

// Console. Text is UTF-8; a Windows console shows it as characters, and
// redirected output gets the bytes (with CR LF from the Windows build). A
// console that has gone (a closed pipe) is ignored: the files matter, not
// the reports. writeError flushes standard output first and standard error
// after, so the two streams keep the program's order.
void writeOutput(std::string_view text);
void writeError(std::string_view text);
void flushOutput();

// Memory for the large buffers (the read buffer, the listing's text, the
// write block). Returns nullptr when the request cannot be met.
char *allocateBytes(std::size_t size);
void releaseBytes(char *bytes);

struct ByteReleaser {
    void operator()(char *bytes) const { releaseBytes(bytes); }
};
using ByteBuffer = std::unique_ptr<char[], ByteReleaser>;

// The code page a Windows program reads plain bytes in (1252 on the native
// build), and the table of a single-byte code page the system knows; false
// when it knows no such code page.
unsigned ansiCodePage();
bool systemCodePage(unsigned number, CodePage &page);

// Interruption: Ctrl-C, Ctrl-Break and a closing console on Windows; SIGINT,
// SIGTERM and SIGHUP on POSIX. After watchInterruptions, such a request only
// sets a flag, which the tool reads at its safe points; interruptionHandled
// tells a closing console that the tool has cleaned up.
void watchInterruptions();
bool interrupted();
void interruptionHandled();

// Input checks. openTest: the name opens as an existing file for reading,
// while other programs may read, write or delete it (a directory is Missing).
enum class OpenStatus { Opened, Missing, Denied };
OpenStatus openTest(const char *name);
// The name is found in its directory; its size in bytes is stored in size.
bool findFileSize(const char *name, std::uint64_t &size);

// Reading a file's bytes as they are.
struct InputFile;
InputFile *openInput(const char *name);
enum class ReadStatus { Data, End, Error };
// Reads up to capacity bytes into destination; count is set to the number
// stored (never 0 with Data).
ReadStatus readBytes(InputFile *input, char *destination, std::size_t capacity, std::size_t &count);
void closeInput(InputFile *input);

// A file in the current folder whose name equals the given one, letter case
// aside: its name as stored, its size, and whether it is a plain file.
struct ExistingFile {
    std::string name;
    std::uint64_t size = 0;
    bool regular = false;
};
bool findExisting(const char *name, ExistingFile &found);

// The working file: created only when no file of that name exists (letter
// case aside), and written byte for byte.
struct WorkFile;
enum class CreateStatus { Created, Exists, Failed };
CreateStatus createWorkFile(const char *name, WorkFile *&file);
bool writeWorkFile(WorkFile *file, const char *data, std::size_t size);
// Closes the file in every case; false when anything written was not stored.
bool closeWorkFile(WorkFile *file);
bool removeFile(const char *name);

// Renames without ever replacing a file; names that differ only in letter
// case are the same name. A file that others briefly hold open (a virus
// scanner, an indexer) is waited for, about a second. NameRefused: the file
// system will not hold a file of that name at all.
enum class RenameStatus { Done, TargetExists, NameRefused, Failed };
RenameStatus renameFile(const char *from, const char *to);

} // namespace platform
