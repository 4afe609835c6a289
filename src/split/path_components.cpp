#include "split/path_components.h"

#include "cli/process_state.h"
#include "cli/report.h"
#include "text/text.h"

#include <algorithm>
#include <string>
#include <unordered_set>

namespace {

// Beyond this many components a hash set replaces the linear duplicate scan.
constexpr std::size_t LINEAR_SCAN_LIMIT = 16;

// The duplicate check of the line being split, once it has many components.
std::unordered_set<std::string_view> &seenComponents() {
    static std::unordered_set<std::string_view> seen;
    return seen;
}

bool alreadySeen(const PathComponentList &list, std::string_view piece) {
    const std::vector<std::string_view> &components = list.oldestFirst;
    if (components.size() < LINEAR_SCAN_LIMIT) {
        return std::find(components.begin(), components.end(), piece) != components.end();
    }
    std::unordered_set<std::string_view> &seen = seenComponents();
    if (seen.empty()) seen.insert(components.begin(), components.end());
    return !seen.insert(piece).second;
}

void reportTokenized(std::size_t count, std::string_view ending) {
    std::string report = "  ";
    appendDecimal(report, count);
    report += " lines tokenized.";
    report += ending;
    progress(report);
}

} // namespace

void splitComponents(std::string_view line, char separator, PathComponentList &list) {
    list.oldestFirst.clear();
    // A set grown by one long line would make every later clear() as costly
    // as its bucket array: drop it instead.
    if (!seenComponents().empty()) seenComponents() = std::unordered_set<std::string_view>();
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t stop = line.find(separator, start);
        if (stop == std::string_view::npos) stop = line.size();
        std::string_view piece = line.substr(start, stop - start);
        if (!piece.empty() && !alreadySeen(list, piece)) list.oldestFirst.push_back(piece);
        start = stop + 1;
    }
}

PathComponentList splitComponents(std::string_view line, char separator) {
    PathComponentList list;
    splitComponents(line, separator, list);
    return list;
}

std::size_t componentCount(const PathComponentList &list) { return list.oldestFirst.size(); }

std::string_view groupKeyOf(const PathComponentList &list) {
    return componentCount(list) >= 2 ? list.entry(1) : std::string_view();
}

std::vector<std::string_view> namingComponents(const PathComponentList &list) {
    std::size_t count = componentCount(list);
    if (count <= 2) return {};
    return {list.oldestFirst.begin() + 1, list.oldestFirst.end() - 1};
}

std::vector<std::size_t> tokenizeLines(const LineStore &store) {
    std::vector<std::size_t> groupEnds;
    PathComponentList list;
    std::string_view previousKey;
    for (std::size_t k = 0; k < store.size(); ++k) {
        store.prefetch(k + PREFETCH_DISTANCE);
        splitComponents(store.line(k), '\\', list);
        std::string_view key = groupKeyOf(list);
        if (k > 0 && key != previousKey) groupEnds.push_back(k);
        previousKey = key;
        if (!quietMode && k % 100 == 0) reportTokenized(k, " \r");
    }
    if (store.size() > 0) groupEnds.push_back(store.size());
    if (!quietMode) reportTokenized(store.size(), "\n");
    return groupEnds;
}
