// The exact wording of every message and the trimming of system texts.
#include "platform/MessageText.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(MessageText, EveryMessageHasItsExactWording) {
    EXPECT_EQ(ConversionErrorText(L"1-2"),
              L"'1-2' は Integer 型の値として有効な整数値ではありません");
    EXPECT_EQ(ConversionErrorText(L""), L"'' は Integer 型の値として有効な整数値ではありません");
    EXPECT_EQ(CannotCreateFileText(L"Z:\\no\\x.bmp", L"Path not found.\r\n"),
              L"ファイル \"Z:\\no\\x.bmp\" を作成できません。Path not found");
    EXPECT_EQ(StreamWriteErrorText(), L"ストリームへの書き込みエラー");
    EXPECT_EQ(ClipboardOpenErrorText(L"Access denied. \r\n"),
              L"クリップボード Access denied を開けません");
    EXPECT_EQ(OutOfResourcesText(), L"システム リソース不足です");
}

TEST(MessageText, SystemTextsLoseTrailingSpacesControlsAndFullStops) {
    const struct {
        const wchar_t* raw;
        const wchar_t* trimmed;
    } cases[] = {
        {L"Access is denied.\r\n", L"Access is denied"},
        {L"Done. . \t\n", L"Done"},
        {L"アクセスが拒否されました。\r\n", L"アクセスが拒否されました"},
        {L"v1.2 failed", L"v1.2 failed"},
        {L"...", L""},
        {L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimSystemText(c.raw), c.trimmed) << testing::PrintToString(std::wstring(c.raw));
    }
}

TEST(MessageText, DisplayAppendsAFullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(ErrorDisplayText(L"abc"), L"abc.");
    EXPECT_EQ(ErrorDisplayText(L"abc."), L"abc.");
    EXPECT_EQ(ErrorDisplayText(L"a,"), L"a,");
    EXPECT_EQ(ErrorDisplayText(L"a/"), L"a/.");
    EXPECT_EQ(ErrorDisplayText(L""), L"");
    EXPECT_EQ(ErrorDisplayText(L"エラー"), L"エラー.");
}
