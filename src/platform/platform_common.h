// Shared between the platform sources only.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace platform {

// Set by the platform's interruption handler (a signal handler or a console
// control handler on its own thread), read by interrupted().
extern std::atomic<bool> interruptRequested;
static_assert(std::atomic<bool>::is_always_lock_free);

// Calls add with the name of every entry of folder ("" for the current one,
// otherwise ending in a separator).
void listFolder(const std::string &folder, const std::function<void(std::string_view)> &add);

// The names present in each folder the tool writes to, by a hash of their
// folded form (hundreds of thousands of names: the folded text itself would
// double the index). Two names that share a hash would count as one name,
// which can only make the tool choose the next number. Each folder is read
// once, on first use; afterwards the tool's own files keep the index
// current, so that asking whether a name is free costs no call to the file
// system (on a network share, a round trip), and no group a scan. The file
// system stays the judge: creating and renaming never replace a file.
class FolderIndex {
  public:
    // The stored name that equals path's name, letter case aside; or null.
    const std::string *find(std::string_view path);
    // Claims the name; false when it is taken already.
    bool claim(std::string_view path);
    void release(std::string_view path);
    // The folder part of path, with its separator ("" for none).
    static std::string folderOf(std::string_view path);

  private:
    using Names = std::unordered_map<std::uint64_t, std::string>;
    Names &namesIn(std::string_view folder);
    std::unordered_map<std::string, Names> folders_;
    std::pair<const std::string, Names> *last_ = nullptr;
};

FolderIndex &folderIndex();

} // namespace platform
