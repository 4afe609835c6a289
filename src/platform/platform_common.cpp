// The part of the platform seam that is alike everywhere: memory for the
// large buffers and the interruption flag that each platform's handler sets.
#include "platform/platform.h"

#include "platform/faults.h"
#include "platform/platform_common.h"

#include <cstdlib>

namespace platform {

std::atomic<bool> interruptRequested{false};

char *allocateBytes(std::size_t size) {
    if (injectFault(Fault::Allocate)) return nullptr;
    return static_cast<char *>(std::malloc(size));
}

void releaseBytes(char *bytes) { std::free(bytes); }

namespace {

std::uint64_t keyOf(std::string_view name) { return foldedNameHash(name); }

std::size_t nameStart(std::string_view path) {
    std::size_t separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? 0 : separator + 1;
}

} // namespace

const std::string *FolderIndex::find(std::string_view path) {
    std::size_t start = nameStart(path);
    Names &names = namesIn(path.substr(0, start));
    auto found = names.find(keyOf(path.substr(start)));
    return found == names.end() ? nullptr : &found->second;
}

bool FolderIndex::claim(std::string_view path) {
    std::size_t start = nameStart(path);
    std::string_view name = path.substr(start);
    return namesIn(path.substr(0, start)).try_emplace(keyOf(name), name).second;
}

void FolderIndex::release(std::string_view path) {
    std::size_t start = nameStart(path);
    namesIn(path.substr(0, start)).erase(keyOf(path.substr(start)));
}

std::string FolderIndex::folderOf(std::string_view path) {
    return std::string(path.substr(0, nameStart(path)));
}

FolderIndex::Names &FolderIndex::namesIn(std::string_view folder) {
    // Nearly every call is for the current folder, again and again.
    if (last_ != nullptr && folder == last_->first) return last_->second;
    auto [entry, fresh] = folders_.try_emplace(std::string(folder));
    last_ = &*entry;
    if (fresh) {
        Names &names = entry->second;
        listFolder(entry->first,
                   [&](std::string_view name) { names.try_emplace(keyOf(name), name); });
    }
    return entry->second;
}

FolderIndex &folderIndex() {
    static FolderIndex index;
    return index;
}

bool interrupted() {
    if (injectFault(Fault::Interrupt)) interruptRequested = true;
    return interruptRequested;
}

} // namespace platform
