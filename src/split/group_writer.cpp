#include "split/group_writer.h"

#include "cli/process_state.h"
#include "input/line_store.h"
#include "platform/platform.h"
#include "text/text.h"

#include <string>
#include <unordered_map>

namespace {

// Group bytes are gathered into blocks of about this size before each write.
constexpr std::size_t WRITE_BLOCK_SIZE = 1 << 18;

// However full the folder, a group gives up on finding a free name after
// this many tries rather than loop for ever.
constexpr std::size_t MAX_NAME_NUMBER = 100000;

bool fail(std::string_view message) {
    platform::writeError(message);
    return false;
}

bool unfitForFileName(unsigned char byte) {
    if (byte >= 0x01 && byte <= 0x1F) return true;
    switch (byte) {
    case '<':
    case '>':
    case ':':
    case '"':
    case '/':
    case '\\':
    case '|':
    case '?':
    case '*': return true;
    default: return false;
    }
}

// Remembers, for each output name that this run found taken, the next
// number to try, so that many groups with one name do not each retry every
// taken number. Names that were free need no entry: most names are.
class NameNumbers {
  public:
    std::size_t firstFor(const std::string &name) const {
        auto found = next_.find(foldAsciiCase(name));
        return found == next_.end() ? 1 : found->second;
    }
    void taken(const std::string &name, std::size_t next) { next_[foldAsciiCase(name)] = next; }

  private:
    std::unordered_map<std::string, std::size_t> next_;
};

struct SplitRun {
    std::string prefix;
    std::size_t total = 0;
    std::size_t written = 0;
    std::string block;
    NameNumbers numbers;
    PathComponentList list;
};

bool writeGroupLines(SplitRun &run, platform::WorkFile *file, std::size_t first, std::size_t end) {
    run.block.clear();
    for (std::size_t k = first; k < end; ++k) {
        lineStore.prefetch(k + PREFETCH_DISTANCE);
        std::string_view line = lineStore.line(k);
        run.block.append(line).push_back('\n');
        if (run.block.size() >= WRITE_BLOCK_SIZE || k + 1 == end) {
            if (!platform::writeWorkFile(file, run.block.data(), run.block.size())) return false;
            run.block.clear();
        }
    }
    return true;
}

// Renames the working file to name, or to the first free numbered form of
// it; the name actually written is left in name.
bool renameToFreeName(SplitRun &run, std::string &name) {
    const std::string base = name;
    const std::size_t first = run.numbers.firstFor(base);
    for (std::size_t number = first; number <= MAX_NAME_NUMBER; ++number) {
        name = number == 1 ? base : numberedName(base, number);
        switch (platform::renameFile(WORK_FILE_NAME, name.c_str())) {
        case platform::RenameStatus::Done:
            if (number != 1) run.numbers.taken(base, number + 1);
            return true;
        case platform::RenameStatus::TargetExists: continue;
        case platform::RenameStatus::Failed: break;
        }
        break;
    }
    return fail("Failure: unable to rename temp.csv to " + name + ".\n");
}

void reportWritten(const SplitRun &run, const std::string &name) {
    double share = static_cast<double>(run.written) / static_cast<double>(run.total) * 100.0;
    std::string report = "  " + name + " written. ";
    appendDecimal(report, static_cast<std::uint64_t>(share));
    report += "% done.\n";
    platform::writeOutput(report);
}

bool writeGroup(SplitRun &run, std::size_t first, std::size_t end) {
    platform::WorkFile *file = nullptr;
    switch (platform::createWorkFile(WORK_FILE_NAME, file)) {
    case platform::CreateStatus::Created: break;
    case platform::CreateStatus::Exists:
        return fail("Failure: the working file temp.csv already exists.\n");
    case platform::CreateStatus::Failed:
        return fail("Failure: unable to create the working file temp.csv.\n");
    }
    bool stored = writeGroupLines(run, file, first, end);
    if (!platform::closeWorkFile(file) || !stored) {
        // The input still holds every line of this group; an incomplete copy
        // would only mislead.
        platform::removeFile(WORK_FILE_NAME);
        return fail("Failure: unable to write the working file temp.csv.\n");
    }
    std::size_t count = end - first;
    run.written += count;
    splitComponents(lineStore.line(end - 1), '\\', run.list);
    std::string name = buildOutputName(run.prefix, run.list, count);
    if (!renameToFreeName(run, name)) return false;
    if (!quietMode) reportWritten(run, name);
    return true;
}

} // namespace

std::string buildOutputName(std::string_view prefix, const PathComponentList &list,
                            std::size_t count) {
    std::string name(prefix);
    for (std::string_view component : namingComponents(list)) {
        if (component == ",") continue;
        name += '_';
        for (char c : component)
            name += unfitForFileName(static_cast<unsigned char>(c)) ? '_' : c;
    }
    name += '_';
    appendDecimal(name, count);
    name += ".csv";
    return name;
}

std::string numberedName(std::string_view name, std::size_t number) {
    std::string_view stem = name.substr(0, name.size() - 4); // every output name ends in ".csv"
    std::string numbered(stem);
    numbered += " (";
    appendDecimal(numbered, number);
    numbered += ").csv";
    return numbered;
}

bool splitInput(const char *name) {
    if (lineStore.size() == 0) return true;
    SplitRun run;
    run.prefix = outputPrefixOf(name);
    run.total = lineStore.size();
    run.block.reserve(WRITE_BLOCK_SIZE + 4096);
    std::vector<std::size_t> groupEnds = tokenizeLines(lineStore);
    std::size_t first = 0;
    for (std::size_t end : groupEnds) {
        if (!writeGroup(run, first, end)) return false;
        first = end;
    }
    return true;
}
