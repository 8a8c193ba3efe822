// The tests' own way of starting another program: the child gets this
// process's environment with the given variables set, however long the
// values (also those it replaces), this process's own environment stays as
// it was, and a program that cannot be started fails the test instead of
// passing for a child that ran.
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest-spi.h>

#include <string>
#include <vector>

namespace {

std::wstring Variable(const wchar_t* name) {
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return L"<unset>";
    }
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

const std::wstring Replaced(3000, L'a');
const std::wstring Given(5000, L'b');

} // namespace

TEST(ChildProcess, PassesLongValuesAndLeavesItsOwnEnvironment) {
    ::SetEnvironmentVariableW(L"VARNEL_LONG_VALUE", Replaced.c_str());
    EXPECT_TRUE(wintest::RunSelf(L"ChildEnvironmentHelper.*",
                                 {{L"varnel_long_value", Given}, {L"VARNEL_GIVEN_ONLY", L"1"}}));
    EXPECT_EQ(Variable(L"VARNEL_LONG_VALUE"), Replaced);
    EXPECT_EQ(Variable(L"VARNEL_GIVEN_ONLY"), L"<unset>");
    ::SetEnvironmentVariableW(L"VARNEL_LONG_VALUE", nullptr);
}

TEST(ChildProcess, TheBlockReplacesAVariableWhateverItsCase) {
    ::SetEnvironmentVariableW(L"VARNEL_BLOCK_TEST", L"old");
    const std::wstring block = wintest::ChildEnvironment({{L"varnel_block_test", L"new"}});
    ::SetEnvironmentVariableW(L"VARNEL_BLOCK_TEST", nullptr);
    ASSERT_GE(block.size(), 2u);
    EXPECT_EQ(block.substr(block.size() - 2), std::wstring(2, L'\0'));
    std::vector<std::wstring> entries;
    for (std::size_t at = 0; at + 1 < block.size(); at = block.find(L'\0', at) + 1) {
        entries.push_back(block.substr(at, block.find(L'\0', at) - at));
    }
    int matching = 0;
    bool path = false;
    for (const std::wstring& entry : entries) {
        if (::CompareStringOrdinal(entry.c_str(), 18, L"VARNEL_BLOCK_TEST=", 18, TRUE) ==
            CSTR_EQUAL) {
            ++matching;
            EXPECT_EQ(entry, L"varnel_block_test=new");
        }
        path = path || ::CompareStringOrdinal(entry.c_str(), 5, L"PATH=", 5, TRUE) == CSTR_EQUAL;
    }
    EXPECT_EQ(matching, 1);
    EXPECT_TRUE(path) << "the process's own variables are missing";
}

TEST(ChildProcess, AProgramThatCannotStartFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        wintest::ChildProcess(L"\"" + wintest::BuildPath("no-such-program.exe") + L"\""),
        "cannot start");
}

// Started by PassesLongValuesAndLeavesItsOwnEnvironment.
TEST(ChildEnvironmentHelper, SeesTheGivenValuesWhole) {
    EXPECT_EQ(Variable(L"VARNEL_LONG_VALUE"), Given);
    EXPECT_EQ(Variable(L"VARNEL_GIVEN_ONLY"), L"1");
}
