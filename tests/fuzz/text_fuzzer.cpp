// Fuzzes the text helpers and the key order against plain reference
// definitions written from their descriptions.
#include "input/line_store.h"
#include "split/group_writer.h"
#include "text/text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

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

int referenceKeyOrder(const std::string &a, const std::string &b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return sign(lower(a[i]) - lower(b[i]));
    }
    return sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
}

std::string referenceBaseName(const std::string &path) {
    std::size_t at = path.rfind('/');
    if (at == std::string::npos) at = path.rfind('\\');
    return at == std::string::npos ? path : path.substr(at + 1);
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
    check(sign(compareSortKeys(a, b)) == referenceKeyOrder(a, b));
    check(sign(compareSortKeys(b, a)) == -referenceKeyOrder(a, b));

    std::string base = referenceBaseName(b);
    check(baseNameOf(b) == base);
    std::size_t underscore = base.rfind('_');
    check(outputPrefixOf(b) ==
          (underscore == std::string::npos ? base : base.substr(0, underscore)));
    return 0;
}
