#include "split/path_components.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> entries(const PathComponentList &list) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < componentCount(list); ++i)
        result.emplace_back(list.entry(i));
    return result;
}

std::vector<std::string> strings(const std::vector<std::string_view> &views) {
    return {views.begin(), views.end()};
}

TEST(SplitComponents, ListsKeysAndNamingComponents) {
    struct Case {
        std::string line;
        std::vector<std::string> list; // newest first
        std::string key;
        std::vector<std::string> naming;
    };
    const Case cases[] = {
        {"D:\\Pics\\Set01\\a.jpg,12",
         {"a.jpg,12", "Set01", "Pics", "D:"},
         "Set01",
         {"Pics", "Set01"}},
        {"\\Pics\\Set01\\Pics\\b.jpg,3", {"b.jpg,3", "Set01", "Pics"}, "Set01", {"Set01"}},
        {"C:\\c.jpg,1", {"c.jpg,1", "C:"}, "C:", {}},
        {"D:\\A\\B\\A\\f,1", {"f,1", "B", "A", "D:"}, "B", {"A", "B"}},
        {"D:\\Pics\\PICS\\f,1", {"f,1", "PICS", "Pics", "D:"}, "PICS", {"Pics", "PICS"}},
        {"D:\\\\x\\\\\\y,5", {"y,5", "x", "D:"}, "x", {"x"}},
        {"D:\\Pics\\a.jpg,12,C:\\x",
         {"x", "a.jpg,12,C:", "Pics", "D:"},
         "a.jpg,12,C:",
         {"Pics", "a.jpg,12,C:"}},
        {"D:\\x\\x\\x", {"x", "D:"}, "D:", {}},
        // Fewer than two components: the empty key.
        {"", {}, "", {}},
        {"Path,Size,Date", {"Path,Size,Date"}, "", {}},
        {"\\f.jpg,1", {"f.jpg,1"}, "", {}},
        {"C:\\", {"C:"}, "", {}},
    };
    for (const Case &c : cases) {
        PathComponentList list = splitComponents(c.line, '\\');
        EXPECT_EQ(entries(list), c.list) << c.line;
        EXPECT_EQ(std::string(groupKeyOf(list)), c.key) << c.line;
        EXPECT_EQ(strings(namingComponents(list)), c.naming) << c.line;
    }
}

TEST(SplitComponents, ManyComponentsKeepFirstAppearances) {
    // Past the linear-scan limit the duplicate check changes method; the
    // result must not.
    std::string line = "D:";
    std::vector<std::string> expectedOldestFirst = {"D:"};
    for (int i = 0; i < 40; ++i) {
        std::string component = "d";
        component += std::to_string(i % 25);
        line += '\\';
        line += component;
        if (i < 25) expectedOldestFirst.push_back(component);
    }
    line += "\\d3\\file";
    expectedOldestFirst.push_back("file");
    PathComponentList list;
    splitComponents("X:\\reused\\first", '\\', list);
    splitComponents(line, '\\', list);
    EXPECT_EQ(strings(list.oldestFirst), expectedOldestFirst);
    EXPECT_EQ(groupKeyOf(list), "d24");
}

} // namespace
