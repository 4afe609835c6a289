// The platform seam: every file, console and memory operation the tool needs.
// platform_win32.cpp provides it with the Win32 API and the C runtime's
// text-mode streams; platform_posix.cpp gives the same results on POSIX
// systems. The build compiles exactly one of them. Names are the user's bytes
// as given (backslashes allowed as separators on both).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace platform {

// Console. writeError flushes standard output first and standard error
// after, so the two streams keep the program's order on a console.
void writeOutput(std::string_view text);
void writeError(std::string_view text);
void flushOutput();

// Memory for the large buffers (the read buffer, the listing's text).
// Returns nullptr when the request cannot be met.
char *allocateBytes(std::size_t size);
void releaseBytes(char *bytes);

struct ByteReleaser {
    void operator()(char *bytes) const { releaseBytes(bytes); }
};
using ByteBuffer = std::unique_ptr<char[], ByteReleaser>;

// Input checks. openTest: the name opens as an existing file for reading
// (a directory does not). findFileSize: the name is found in its directory;
// its size in bytes is stored in size.
bool openTest(const char *name);
bool findFileSize(const char *name, std::uint64_t &size);

// Text-mode reading: a CR LF pair reads as LF, a lone CR stays, and a byte
// 0x1A ends the input.
struct TextInput;
TextInput *openTextInput(const char *name);
enum class ReadStatus { Data, End, Error };
// Reads up to capacity (at least 2) translated bytes into destination; count
// is set to the number of bytes stored (never 0 with Data).
ReadStatus readText(TextInput *input, char *destination, std::size_t capacity, std::size_t &count);
void closeTextInput(TextInput *input);

// The working file: created only when no file of that name exists (letter
// case aside), written in text mode (each LF stored as CR LF).
struct WorkFile;
enum class CreateStatus { Created, Exists, Failed };
CreateStatus createWorkFile(const char *name, WorkFile *&file);
bool writeWorkFile(WorkFile *file, const char *data, std::size_t size);
// Closes the file in every case; false when pending data could not be stored.
bool closeWorkFile(WorkFile *file);
bool removeFile(const char *name);

// Renames without ever replacing a file; names that differ only in letter
// case are the same name.
enum class RenameStatus { Done, TargetExists, Failed };
RenameStatus renameFile(const char *from, const char *to);

} // namespace platform
