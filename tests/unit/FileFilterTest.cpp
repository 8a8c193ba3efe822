// A save dialog's filter text split into its file types: name and pattern
// pairs separated by bars, as the two save commands write them.
#include "toolkit/FileFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Type {
    std::wstring name;
    std::wstring pattern;
    bool operator==(const Type&) const = default;
};

std::vector<Type> Parse(std::wstring_view filter) {
    std::vector<Type> out;
    for (const toolkit::FileType& t : toolkit::ParseFileFilter(filter)) {
        out.push_back({t.name, t.pattern});
    }
    return out;
}

TEST(FileFilter, SplitsIntoNameAndPatternPairs) {
    struct Case {
        const wchar_t* filter;
        std::vector<Type> types;
    };
    const Case cases[] = {
        {L"BMP files (*.bmp)|*.BMP", {{L"BMP files (*.bmp)", L"*.BMP"}}},
        {L"PNG files (*.png)|*.PNG", {{L"PNG files (*.png)", L"*.PNG"}}},
        {L"Images|*.png;*.bmp|All|*.*", {{L"Images", L"*.png;*.bmp"}, {L"All", L"*.*"}}},
        // A name left without its pattern is no file type.
        {L"Images|*.png|All", {{L"Images", L"*.png"}}},
        {L"Images|*.png|", {{L"Images", L"*.png"}}},
        {L"Only a name", {}},
        {L"", {}},
        // Empty parts are kept in their places, so later pairs stay paired.
        {L"|*.x|Y|*.y", {{L"", L"*.x"}, {L"Y", L"*.y"}}},
        {L"画像|*.png", {{L"画像", L"*.png"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "filter of " << std::wstring(c.filter).size() << " characters");
        EXPECT_EQ(Parse(c.filter), c.types);
    }
}

} // namespace
