#include "split/group_writer.h"

#include "cli/process_state.h"
#include "cli/report.h"
#include "input/line_store.h"
#include "platform/platform.h"
#include "text/text.h"
#include "text/unicode.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace {

// Group bytes are gathered into blocks of this size before each write.
constexpr std::size_t WRITE_BLOCK_SIZE = 1 << 18;

// Remembers, for each output name that this run found taken, the next
// number to try, so that many groups with one name do not each retry every
// taken number. Names that were free need no entry: most names are.
class NameNumbers {
  public:
    std::size_t firstFreeFor(const std::string &name) const {
        auto found = next_.find(name);
        return found == next_.end() ? 1 : found->second;
    }
    void takenUpTo(const std::string &name, std::size_t number) {
        std::size_t &next = next_[name];
        next = std::max(next, number + 1);
    }

  private:
    std::unordered_map<std::string, std::size_t> next_;
};

struct SplitRun {
    std::string prefix;
    std::size_t total = 0;
    std::size_t written = 0; // lines in finished files, written or already present
    std::size_t files = 0;
    platform::ByteBuffer block;
    platform::ByteBuffer compared; // what is read of an existing file, taken on first need
    NameNumbers numbers;
    // Hashes of the names this run wrote, letter case aside (as the file
    // system sees them). No two groups hold the same bytes
    // (equal lines always fall in one group), so such a file is never one a
    // group could find present: it is passed over without a look, and a
    // fresh folder pays nothing for re-runs.
    std::unordered_set<std::uint64_t> writtenHere;
    PathComponentList list;
    bool holdsWorkFile = false; // temp.csv is this run's and not yet renamed
    bool stopped = false;       // an interruption was seen while bytes were going out
};

// The bytes of a group's output file, made in blocks that go to a sink: the
// working file, or the comparison with a file that is already there.
template <class Sink> class BlockMaker {
  public:
    BlockMaker(char *block, Sink &sink) : block_(block), sink_(sink) {}

    void put(std::string_view bytes) {
        while (!bytes.empty() && ok_) {
            std::size_t take = std::min(bytes.size(), WRITE_BLOCK_SIZE - used_);
            std::memcpy(block_ + used_, bytes.data(), take);
            used_ += take;
            bytes.remove_prefix(take);
            if (used_ == WRITE_BLOCK_SIZE) flush();
        }
    }
    void putUnit(char16_t unit, bool bigEndian) {
        if (WRITE_BLOCK_SIZE - used_ < 2) flush();
        block_[used_ + (bigEndian ? 0 : 1)] = static_cast<char>(unit >> 8);
        block_[used_ + (bigEndian ? 1 : 0)] = static_cast<char>(unit & 0xFF);
        used_ += 2;
    }
    bool flush() {
        if (used_ > 0 && ok_) ok_ = sink_(block_, used_);
        used_ = 0;
        return ok_;
    }
    bool ok() const { return ok_; }

  private:
    char *block_;
    Sink &sink_;
    std::size_t used_ = 0;
    bool ok_ = true;
};

// A line of a UTF-16 listing, back in the code units it was read from.
template <class Sink>
void putUtf16(BlockMaker<Sink> &maker, std::string_view line, bool bigEndian) {
    std::size_t at = 0;
    while (at < line.size()) {
        char32_t character = decodeUtf8(line, at);
        if (character >= 0x10000) {
            character -= 0x10000;
            maker.putUnit(static_cast<char16_t>(0xD800 + (character >> 10)), bigEndian);
            maker.putUnit(static_cast<char16_t>(0xDC00 + (character & 0x3FF)), bigEndian);
        } else {
            maker.putUnit(static_cast<char16_t>(character), bigEndian);
        }
    }
    maker.putUnit(u'\r', bigEndian);
    maker.putUnit(u'\n', bigEndian);
}

template <class Sink>
bool makeGroupBytes(SplitRun &run, std::size_t first, std::size_t end, Sink &&sink) {
    const ListingEncoding &encoding = lineStore.encoding();
    BlockMaker<Sink> maker(run.block.get(), sink);
    maker.put(encoding.mark);
    bool bigEndian = encoding.form == ListingForm::Utf16BE;
    for (std::size_t k = first; k < end && maker.ok(); ++k) {
        lineStore.prefetch(k + PREFETCH_DISTANCE);
        std::string_view line = lineStore.line(k);
        if (encoding.form == ListingForm::Bytes) {
            maker.put(line);
            maker.put("\r\n");
        } else {
            putUtf16(maker, line, bigEndian);
        }
    }
    return maker.flush();
}

// The size in bytes of the group's output file.
std::uint64_t groupSize(std::size_t first, std::size_t end) {
    const ListingEncoding &encoding = lineStore.encoding();
    std::uint64_t size = encoding.mark.size();
    for (std::size_t k = first; k < end; ++k) {
        std::string_view line = lineStore.line(k);
        if (encoding.form == ListingForm::Bytes) {
            size += line.size() + 2;
            continue;
        }
        // One code unit for each character, two beyond the Basic Plane.
        std::uint64_t units = 2;
        for (char c : line) {
            auto byte = static_cast<unsigned char>(c);
            units += !isUtf8Continuation(byte) + (byte >= 0xF0);
        }
        size += 2 * units;
    }
    return size;
}

// The file holds exactly the bytes the group would be written as.
bool holdsGroup(SplitRun &run, const std::string &name, std::size_t first, std::size_t end) {
    if (!run.compared) run.compared.reset(platform::allocateBytes(WRITE_BLOCK_SIZE));
    if (!run.compared) throw std::bad_alloc();
    platform::InputFile *input = platform::openInput(name.c_str());
    if (input == nullptr) return false;
    char *stored = run.compared.get();
    bool same = makeGroupBytes(run, first, end, [&](const char *bytes, std::size_t size) {
        std::size_t have = 0;
        while (have < size) {
            std::size_t got = 0;
            if (platform::readBytes(input, stored + have, size - have, got) !=
                platform::ReadStatus::Data)
                return false;
            have += got;
        }
        return std::memcmp(stored, bytes, size) == 0;
    });
    platform::closeInput(input);
    return same;
}

// Removes this run's working file; the listing still holds all its lines.
void dropWorkFile(SplitRun &run) {
    if (run.holdsWorkFile) platform::removeFile(WORK_FILE_NAME);
    run.holdsWorkFile = false;
}

bool writeWorkFile(SplitRun &run, std::size_t first, std::size_t end) {
    platform::WorkFile *file = nullptr;
    switch (platform::createWorkFile(WORK_FILE_NAME, file)) {
    case platform::CreateStatus::Created: break;
    case platform::CreateStatus::Exists: return failWorkFileExists();
    case platform::CreateStatus::Failed:
        return fail(std::string("Failure: unable to create the working file ") + WORK_FILE_NAME +
                    ".\n");
    }
    run.holdsWorkFile = true;
    bool stored = makeGroupBytes(run, first, end, [&](const char *bytes, std::size_t size) {
        if (platform::interrupted()) {
            run.stopped = true;
            return false;
        }
        return platform::writeWorkFile(file, bytes, size);
    });
    bool closed = platform::closeWorkFile(file);
    if (stored && closed) return true;
    // An incomplete copy would only mislead.
    dropWorkFile(run);
    if (run.stopped) return failInterrupted(run.written, run.files);
    return fail(std::string("Failure: unable to write the working file ") + WORK_FILE_NAME + ".\n");
}

void reportFinished(SplitRun &run, std::size_t count, const std::string &name,
                    std::string_view what) {
    run.written += count;
    ++run.files;
    double share = static_cast<double>(run.written) / static_cast<double>(run.total) * 100.0;
    std::string report = "  " + name;
    report += what;
    appendDecimal(report, static_cast<std::uint64_t>(share));
    report += "% done.\n";
    progress(report);
}

// Finds the group's file: the first of its name and the numbered forms of
// it that is free (written there) or already holds exactly its bytes (left
// as it is).
bool settleGroup(SplitRun &run, std::size_t first, std::size_t end) {
    if (platform::interrupted()) return failInterrupted(run.written, run.files);
    std::size_t count = end - first;
    splitComponents(lineStore.line(end - 1), '\\', run.list);
    OutputName parts = outputNameOf(run.prefix, run.list, count, lineStore.encoding());
    // Numbers are remembered by the exact name: a name that differs only in
    // letter case just finds its taken numbers again.
    const std::string key = candidateName(parts, 1);
    std::uint64_t size = 0;
    bool sized = false;
    const std::size_t firstNumber = run.numbers.firstFreeFor(key);
    for (std::size_t number = firstNumber;; ++number) {
        // However many names are taken, Ctrl-C still stops the search.
        if (number > firstNumber && platform::interrupted()) {
            dropWorkFile(run);
            return failInterrupted(run.written, run.files);
        }
        std::string name = number == 1 ? key : candidateName(parts, number);
        const std::uint64_t folded = foldedNameHash(name);
        if (run.writtenHere.count(folded) != 0) {
            run.numbers.takenUpTo(key, number);
            continue;
        }
        platform::ExistingFile existing;
        if (platform::findExisting(name.c_str(), existing)) {
            run.numbers.takenUpTo(key, number);
            if (!existing.regular) continue;
            if (!sized) {
                size = groupSize(first, end);
                sized = true;
            }
            if (existing.size != size || !holdsGroup(run, existing.name, first, end)) continue;
            dropWorkFile(run);
            reportFinished(run, count, existing.name, " already present. ");
            return true;
        }
        if (!run.holdsWorkFile && !writeWorkFile(run, first, end)) return false;
        platform::RenameStatus status = platform::renameFile(WORK_FILE_NAME, name.c_str());
        if (status == platform::RenameStatus::Done) {
            run.holdsWorkFile = false;
            run.writtenHere.insert(folded);
            if (number > 1) run.numbers.takenUpTo(key, number);
            reportFinished(run, count, name, " written. ");
            return true;
        }
        if (status == platform::RenameStatus::TargetExists) {
            run.numbers.takenUpTo(key, number);
            continue;
        }
        // The group stays in the working file.
        bool refused = status == platform::RenameStatus::NameRefused;
        return fail(std::string("Failure: unable to rename ") + WORK_FILE_NAME + " to " +
                    shownName(name) + (refused ? ": the file system refuses that name.\n" : ".\n"));
    }
}

bool splitAll(SplitRun &run) {
    run.block.reset(platform::allocateBytes(WRITE_BLOCK_SIZE));
    if (!run.block) throw std::bad_alloc();
    std::vector<std::size_t> groupEnds = tokenizeLines(lineStore);
    std::size_t first = 0;
    for (std::size_t end : groupEnds) {
        if (!settleGroup(run, first, end)) return false;
        first = end;
    }
    return true;
}

} // namespace

OutputName outputNameOf(std::string_view prefix, const PathComponentList &list, std::size_t count,
                        const ListingEncoding &encoding) {
    OutputName name;
    name.prefix = prefix;
    name.count = count;
    for (std::string_view component : namingComponents(list)) {
        if (component == ",") continue;
        name.starts.push_back(name.middle.size());
        name.middle += '_';
        if (encoding.namesInCodePage) {
            appendFitForFileName(name.middle, nameTextOf(encoding, component));
        } else {
            appendFitForFileName(name.middle, component);
        }
    }
    return name;
}

std::string candidateName(const OutputName &name, std::size_t number) {
    std::string tail = "_";
    appendDecimal(tail, name.count);
    if (number > 1) {
        tail += " (";
        appendDecimal(tail, number);
        tail += ')';
    }
    tail += ".csv";
    if (name.prefix.size() + name.middle.size() + tail.size() <= MAX_NAME_BYTES)
        return name.prefix + name.middle + tail;

    const std::size_t room = MAX_NAME_BYTES - tail.size() - 1; // one byte for the '~'
    if (name.prefix.size() > room) return std::string(utf8Head(name.prefix, room)) + "~" + tail;
    const std::size_t keep = room - name.prefix.size();
    std::string_view middle = name.middle;
    std::size_t from = middle.size() - std::min(keep, middle.size());
    // Whole components when the deepest one fits; otherwise the end of it.
    auto start = std::lower_bound(name.starts.begin(), name.starts.end(), from);
    if (start != name.starts.end()) {
        from = *start;
    } else {
        while (from < middle.size() && isUtf8Continuation(static_cast<unsigned char>(middle[from])))
            ++from;
    }
    return name.prefix + "~" + std::string(middle.substr(from)) + tail;
}

std::string buildOutputName(std::string_view prefix, const PathComponentList &list,
                            std::size_t count) {
    return candidateName(outputNameOf(prefix, list, count), 1);
}

bool startsWithDeviceName(std::string_view prefix) {
    std::size_t dot = prefix.find('.');
    if (dot == std::string_view::npos) return false;
    std::string stem = foldAsciiCase(prefix.substr(0, dot));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul") return true;
    return stem.size() == 4 && (stem.rfind("com", 0) == 0 || stem.rfind("lpt", 0) == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

bool splitInput(const std::string &name) {
    if (lineStore.size() == 0) return true;
    SplitRun run;
    run.prefix = outputPrefixOf(name);
    run.total = lineStore.size();
    if (startsWithDeviceName(run.prefix)) {
        return fail("Failure: output names would begin with " + shownName(run.prefix) +
                    ", which Windows keeps for a device; rename the csv file.\n");
    }
    try {
        return splitAll(run);
    } catch (const std::bad_alloc &) {
        dropWorkFile(run);
        return fail("Failure: not enough memory to write the output files.\n");
    }
}
