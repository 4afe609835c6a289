#include "cases.h"

#include "text/unicode.h"

#include <fstream>
#include <stdexcept>

namespace e2e {
namespace {

[[noreturn]] void parseError(int line, const std::string &message) {
    throw std::runtime_error("cases.txt:" + std::to_string(line) + ": " + message);
}

// Escapes: {CR} {LF} {TAB} {SUB} {NUL} {BOM} {xHH}, {c*N} for the character
// c N times, {{ for a '{', and {NAME} for a defined text.
std::string expand(const std::string &text, int line,
                   const std::map<std::string, std::string> &macros) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '{') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '{') {
            out += '{';
            ++i;
            continue;
        }
        std::size_t close = text.find('}', i + 2);
        if (close == std::string::npos) parseError(line, "unclosed escape in: " + text);
        std::string token = text.substr(i + 1, close - i - 1);
        i = close;
        if (token == "CR")
            out += '\r';
        else if (token == "LF")
            out += '\n';
        else if (token == "TAB")
            out += '\t';
        else if (token == "SUB")
            out += '\x1a';
        else if (token == "NUL")
            out += '\0';
        else if (token == "BOM")
            out += "\xEF\xBB\xBF";
        else if (token.size() == 3 && token[0] == 'x')
            out += static_cast<char>(std::stoi(token.substr(1), nullptr, 16));
        else if (token.size() >= 3 && token[1] == '*')
            out.append(std::stoul(token.substr(2)), token[0]);
        else if (token == "i")
            out += "{i}"; // filled in by generate
        else if (macros.count(token))
            out += macros.at(token);
        else
            parseError(line, "unknown escape {" + token + "}");
    }
    return out;
}

std::vector<std::string> splitWords(const std::string &text, int line,
                                    const std::map<std::string, std::string> &macros) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        std::string word;
        if (text[i] == '"') {
            std::size_t close = text.find('"', i + 1);
            if (close == std::string::npos) parseError(line, "unclosed quote");
            word = text.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            std::size_t end = text.find(' ', i);
            if (end == std::string::npos) end = text.size();
            word = text.substr(i, end - i);
            i = end;
        }
        words.push_back(expand(word, line, macros));
    }
    return words;
}

std::string terminatorFor(const std::string &style, int line) {
    if (style == "crlf") return "\r\n";
    if (style == "lf") return "\n";
    if (style == "raw") return "";
    parseError(line, "unknown line style " + style);
}

// The block's text (UTF-8, WTF-8 for a lone surrogate) in the file's
// encoding: as it is, or UTF-16 with its byte-order mark at the file's start
// (utf16le, utf16be) or without one (utf16le-unmarked).
std::string encoded(const std::string &text, const std::string &encoding, bool atStart, int line) {
    if (encoding.empty()) return text;
    bool bigEndian = encoding == "utf16be";
    if (!bigEndian && encoding != "utf16le" && encoding != "utf16le-unmarked")
        parseError(line, "unknown encoding " + encoding);
    std::string bytes;
    auto put = [&](char16_t unit) {
        bytes += static_cast<char>(bigEndian ? unit >> 8 : unit & 0xFF);
        bytes += static_cast<char>(bigEndian ? unit & 0xFF : unit >> 8);
    };
    if (atStart && encoding != "utf16le-unmarked") put(0xFEFF);
    for (char16_t unit : utf16Of(text))
        put(unit);
    return bytes;
}

// "generate N TEMPLATE": N lines of TEMPLATE in CR LF, {i} standing for 1..N
// written with as many digits as N has, so the lines also sort in this order.
std::string generated(const std::vector<std::string> &words, std::size_t from, int line) {
    if (words.size() != from + 3) parseError(line, "generate needs a count and a template");
    std::size_t count = std::stoul(words[from + 1]);
    std::size_t width = std::to_string(count).size();
    std::string text;
    for (std::size_t i = 1; i <= count; ++i) {
        std::string number = std::to_string(i);
        number.insert(0, width - number.size(), '0');
        std::string row = words[from + 2];
        std::size_t at;
        while ((at = row.find("{i}")) != std::string::npos)
            row.replace(at, 3, number);
        text += row + "\r\n";
    }
    return text;
}

// Reads the table line by line: definitions, case headers and the
// directives of the current case, each with the block that may follow it.
class TableReader {
  public:
    explicit TableReader(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    Table read() {
        for (; at_ < lines_.size(); ++at_) {
            const std::string &text = lines_[at_];
            if (text.empty() || text[0] == '#') continue;
            std::size_t space = text.find(' ');
            std::string word = text.substr(0, space);
            std::string rest = space == std::string::npos ? "" : text.substr(space + 1);
            if (word == "define") {
                macros_[rest] = joinedBlock("\n");
            } else if (word == "case") {
                startCase(rest);
            } else {
                directive(word, rest);
            }
        }
        Table table;
        table.cases = std::move(cases_);
        table.banner = macros_["banner"];
        return table;
    }

  private:
    int lineNumber() const { return static_cast<int>(at_) + 1; }

    // The raw lines of the block after the current line, up to ".".
    std::vector<std::string> block() {
        int header = lineNumber();
        std::vector<std::string> body;
        while (++at_ < lines_.size() && lines_[at_] != ".")
            body.push_back(lines_[at_]);
        if (at_ == lines_.size()) parseError(header, "block not closed by a line '.'");
        return body;
    }

    // The block's lines, expanded, each followed by terminator.
    std::string joinedBlock(const std::string &terminator) {
        int header = lineNumber();
        std::string text;
        for (const std::string &row : block())
            text += expand(row, header, macros_) + terminator;
        return text;
    }

    void startCase(const std::string &name) {
        cases_.emplace_back();
        cases_.back().name = name;
        cases_.back().line = lineNumber();
    }

    void directive(const std::string &word, const std::string &rest) {
        int line = lineNumber();
        if (cases_.empty()) parseError(line, "'" + word + "' outside a case");
        Case &c = cases_.back();
        Invocation &run = c.runs.back();
        std::vector<std::string> words = splitWords(rest, line, macros_);
        if (word == "args") {
            run.args = words;
        } else if (word == "program") {
            run.faults = rest == "faults";
        } else if (word == "env") {
            std::size_t equals = rest.find('=');
            run.env.emplace_back(rest.substr(0, equals),
                                 expand(rest.substr(equals + 1), line, macros_));
        } else if (word == "again") {
            // The same command once more in the same folder, without faults.
            c.runs.push_back(Invocation{run.args, false, {}, 0, {}, {}});
        } else if (word == "cwd") {
            c.cwd = words.at(0);
            c.dirs.push_back(c.cwd);
        } else if (word == "dir") {
            c.dirs.push_back(words.at(0));
        } else if (word == "exit") {
            run.exitCode = std::stoi(rest);
        } else if (word == "file" || word == "output") {
            fileBlock(word == "file" ? c.inputs : c.outputs, words);
        } else if (word == "stdout" || word == "stderr") {
            std::string style = words.empty() ? "lf" : words[0];
            (word == "stdout" ? run.stdoutText : run.stderrText) =
                joinedBlock(terminatorFor(style, line));
        } else {
            parseError(line, "unknown directive '" + word + "'");
        }
    }

    // A file's bytes; a name given again continues its file.
    void fileBlock(std::map<std::string, std::string> &files,
                   const std::vector<std::string> &words) {
        int line = lineNumber();
        std::string &bytes = files[words.at(0)];
        if (words.size() > 1 && words[1] == "generate") {
            bytes += generated(words, 1, line);
            return;
        }
        std::string style = words.size() > 1 ? words[1] : "crlf";
        std::string encoding = words.size() > 2 ? words[2] : "";
        bytes += encoded(joinedBlock(terminatorFor(style, line)), encoding, bytes.empty(), line);
    }

    std::vector<std::string> lines_;
    std::size_t at_ = 0;
    std::map<std::string, std::string> macros_;
    std::vector<Case> cases_;
};

} // namespace

Table readTable(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<std::string> lines;
    for (std::string text; std::getline(in, text);)
        lines.push_back(text);
    return TableReader(std::move(lines)).read();
}

} // namespace e2e
