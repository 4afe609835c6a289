#include "cli/report.h"

#include "cli/process_state.h"
#include "platform/platform.h"
#include "text/text.h"
#include "text/unicode.h"

bool runInterrupted = false;

bool fail(std::string_view message) {
    platform::writeError(message);
    return false;
}

void warn(std::string_view message) { platform::writeError(message); }

void progress(std::string_view text) {
    if (!quietMode) platform::writeOutput(text);
}

bool failInterrupted(std::uint64_t lines, std::uint64_t files) {
    runInterrupted = true;
    std::string message = "Failure: interrupted; ";
    appendDecimal(message, lines);
    message += " lines in ";
    appendDecimal(message, files);
    message += " files were finished.\n";
    return fail(message);
}

bool failWorkFileExists() {
    return fail(std::string("Failure: the working file ") + WORK_FILE_NAME +
                " already exists; delete it if it is left from an interrupted run.\n");
}

std::string shownName(std::string_view name) {
    constexpr std::size_t LIMIT = 300;
    if (name.size() <= LIMIT) return std::string(name);
    return std::string(utf8Head(name, LIMIT - 3)) + "...";
}
