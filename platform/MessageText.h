// Every message text the program shows, formatted in one place so the exact
// wording and the trimming of system texts cannot drift between commands.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// A system error text without its trailing spaces, control characters and
// full stops (Windows appends ".\r\n", Japanese Windows "。\r\n").
std::wstring TrimSystemText(std::wstring_view text);

// "'%s' は %s 型の値として有効な整数値ではありません" with the text and "Integer".
std::wstring ConversionErrorText(std::wstring_view text);

// "ファイル "%s" を作成できません。%s": full path, trimmed system text.
std::wstring CannotCreateFileText(std::wstring_view fullPath, std::wstring_view systemText);

// "ストリームへの書き込みエラー"
std::wstring StreamWriteErrorText();

// "クリップボード %s を開けません" with the trimmed system text.
std::wstring ClipboardOpenErrorText(std::wstring_view systemText);

// "システム リソース不足です": a graphics resource failed and the system gave no text.
std::wstring OutOfResourcesText();

// What the error display shows for a message: a "." is appended when the
// text is not empty and its last character's code is above that of ".".
std::wstring ErrorDisplayText(std::wstring_view message);

} // namespace platform
