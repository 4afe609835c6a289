// Fuzzes the text and Unicode helpers against plain reference
// definitions written from their descriptions.
#include "fuzz_check.h"
#include "split/group_writer.h"
#include "text/text.h"
#include "text/unicode.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

int sign(int value) { return (value > 0) - (value < 0); }

unsigned char lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

std::string referenceTrim(const std::string &text) {
    auto trimmable = [](unsigned char c) { return c >= 1 && c <= 32; };
    std::size_t begin = 0, end = text.size();
    while (begin < end && trimmable(text[begin]))
        ++begin;
    while (end > begin && trimmable(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

int referenceCompareIgnoreCase(const std::string &a, const std::string &b) {
    for (std::size_t i = 0;; ++i) {
        unsigned char x = i < a.size() ? lower(a[i]) : 0;
        unsigned char y = i < b.size() ? lower(b[i]) : 0;
        if (x != y || x == 0) return sign(x - y);
    }
}

std::string referenceBaseName(const std::string &path) {
    for (std::size_t at = path.size(); at > 0; --at) {
        char c = path[at - 1];
        if (c == '/' || c == '\\' || c == ':') return path.substr(at);
    }
    return path;
}

std::string referenceFit(std::string text) {
    for (char &c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            c = '_';
    }
    return text;
}

std::string withoutNul(std::string text) {
    for (char &c : text) {
        if (c == '\0') c = '\x01';
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    std::string a = withoutNul(provider.ConsumeRandomLengthString(256));
    std::string b = withoutNul(provider.ConsumeRemainingBytesAsString());

    std::string buffer = a;
    check(std::string(trimInPlace(buffer.data())) == referenceTrim(a));
    check(trimmed(a) == referenceTrim(a));

    check(sign(compareIgnoreAsciiCase(a.c_str(), b.c_str())) == referenceCompareIgnoreCase(a, b));

    std::string base = referenceBaseName(b);
    check(baseNameOf(b) == base);
    std::size_t underscore = base.rfind('_');
    check(outputPrefixOf(b) ==
          referenceFit(underscore == std::string::npos ? base : base.substr(0, underscore)));

    // Names: folding is stable, UTF-16 comes back unchanged, and a cut name
    // never ends inside a character.
    check(foldNameCase(foldNameCase(a)) == foldNameCase(a));
    std::u16string units;
    for (std::size_t i = 0; i + 1 < b.size(); i += 2)
        units += static_cast<char16_t>((static_cast<unsigned char>(b[i]) << 8) |
                                       static_cast<unsigned char>(b[i + 1]));
    check(utf16Of(utf8Of(units)) == units);
    if (firstNonUtf8(a) == std::string::npos) {
        for (std::size_t limit = 0; limit <= a.size(); ++limit)
            check(firstNonUtf8(utf8Head(a, limit)) == std::string::npos);
    }
    return 0;
}
