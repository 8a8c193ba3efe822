// Message wording and system-text trimming; portable so it is tested natively.
#include "platform/MessageText.h"

namespace platform {

namespace {

bool IsTrimmedTail(wchar_t c) {
    return c == L' ' || c < 0x20 || c == 0x7F || c == L'.' || c == L'\u3002';
}

} // namespace

std::wstring TrimSystemText(std::wstring_view text) {
    size_t end = text.size();
    while (end > 0 && IsTrimmedTail(text[end - 1])) {
        --end;
    }
    return std::wstring(text.substr(0, end));
}

std::wstring ConversionErrorText(std::wstring_view text) {
    std::wstring message = L"'";
    message += text;
    message += L"' は Integer 型の値として有効な整数値ではありません";
    return message;
}

std::wstring CannotCreateFileText(std::wstring_view fullPath, std::wstring_view systemText) {
    std::wstring message = L"ファイル \"";
    message += fullPath;
    message += L"\" を作成できません。";
    message += TrimSystemText(systemText);
    return message;
}

std::wstring StreamWriteErrorText() {
    return L"ストリームへの書き込みエラー";
}

std::wstring ClipboardOpenErrorText(std::wstring_view systemText) {
    std::wstring message = L"クリップボード ";
    message += TrimSystemText(systemText);
    message += L" を開けません";
    return message;
}

std::wstring OutOfResourcesText() {
    return L"システム リソース不足です";
}

std::wstring ErrorDisplayText(std::wstring_view message) {
    std::wstring shown(message);
    if (!shown.empty() && shown.back() > L'.') {
        shown += L'.';
    }
    return shown;
}

} // namespace platform
