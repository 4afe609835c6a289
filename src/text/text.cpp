#include "text/text.h"

#include <charconv>
#include <cstring>

char *trimInPlace(char *text) {
    std::size_t length = std::strlen(text);
    std::string_view kept = trimmed(std::string_view(text, length));
    if (kept.size() != length) {
        std::memmove(text, kept.data(), kept.size());
        text[kept.size()] = '\0';
    }
    return text;
}

std::string_view trimmed(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isTrimmable(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && isTrimmable(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

int compareIgnoreAsciiCase(const char *a, const char *b) {
    const auto *left = reinterpret_cast<const unsigned char *>(a);
    const auto *right = reinterpret_cast<const unsigned char *>(b);
    while (*left != '\0' && foldAsciiCase(*left) == foldAsciiCase(*right)) {
        ++left;
        ++right;
    }
    return foldAsciiCase(*left) - foldAsciiCase(*right);
}

std::string baseNameOf(const std::string &path) {
    std::size_t separator = path.find_last_of("/\\:");
    if (separator == std::string::npos) return path;
    return path.substr(separator + 1);
}

std::string outputPrefixOf(const std::string &path) {
    std::string base = baseNameOf(path);
    std::size_t underscore = base.rfind('_');
    if (underscore != std::string::npos) base.resize(underscore);
    return fitForFileName(base);
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

void appendFitForFileName(std::string &name, std::string_view text) {
    for (char c : text)
        name += unfitForFileName(static_cast<unsigned char>(c)) ? '_' : c;
}

std::string fitForFileName(std::string_view text) {
    std::string fit;
    appendFitForFileName(fit, text);
    return fit;
}

void appendDecimal(std::string &text, std::uint64_t number) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, number);
    text.append(digits, result.ptr);
}
