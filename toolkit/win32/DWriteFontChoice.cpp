// Per-character family choice for DirectWrite layouts; see the header.
#include "toolkit/win32/DWriteFontChoice.h"

#include <cwchar>
#include <utility>

using Microsoft::WRL::ComPtr;

namespace toolkit::win32 {
namespace {

// Tried after the requested family: the Windows UI face and its predecessor
// for text, then the symbol and emoji faces, then Symbola, the free font that
// covers the dingbat and pictograph blocks where those are missing.
constexpr const wchar_t* PreferredFamilies[] = {
    L"Segoe UI", L"Tahoma", L"Segoe UI Symbol", L"Segoe UI Emoji", L"Symbola",
};

bool IsHighSurrogate(wchar_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Characters that only modify the one before them (variation selectors, the
// zero-width joiner) must stay in its font, or the sequence falls apart.
bool JoinsPrevious(UINT32 codePoint) {
    return codePoint == 0x200D || (codePoint >= 0xFE00 && codePoint <= 0xFE0F) ||
           (codePoint >= 0xE0100 && codePoint <= 0xE01EF);
}

std::wstring FamilyName(IDWriteFontFamily* family) {
    ComPtr<IDWriteLocalizedStrings> names;
    UINT32 length = 0;
    if (FAILED(family->GetFamilyNames(&names)) || FAILED(names->GetStringLength(0, &length))) {
        return {};
    }
    std::wstring name(length + 1, L'\0');
    if (FAILED(names->GetString(0, name.data(), length + 1))) {
        return {};
    }
    name.resize(length);
    return name;
}

} // namespace

DWriteFontChoice::DWriteFontChoice(ComPtr<IDWriteFontCollection> fonts)
    : fonts_(std::move(fonts)) {}

ComPtr<IDWriteFont> DWriteFontChoice::RegularFont(const std::wstring& family) const {
    UINT32 index = 0;
    BOOL exists = FALSE;
    if (FAILED(fonts_->FindFamilyName(family.c_str(), &index, &exists)) || !exists) {
        return nullptr;
    }
    ComPtr<IDWriteFontFamily> fontFamily;
    ComPtr<IDWriteFont> font;
    if (FAILED(fonts_->GetFontFamily(index, &fontFamily)) ||
        FAILED(fontFamily->GetFirstMatchingFont(DWRITE_FONT_WEIGHT_NORMAL,
                                                DWRITE_FONT_STRETCH_NORMAL,
                                                DWRITE_FONT_STYLE_NORMAL, &font))) {
        return nullptr;
    }
    return font;
}

void DWriteFontChoice::AddCandidate(std::vector<Candidate>& candidates, std::wstring family) const {
    for (const Candidate& candidate : candidates) {
        if (_wcsicmp(candidate.family.c_str(), family.c_str()) == 0) {
            return;
        }
    }
    if (ComPtr<IDWriteFont> font = RegularFont(family)) {
        candidates.push_back({std::move(family), std::move(font)});
    }
}

// Every installed family is only looked at when the named ones fail a
// character: on Windows that is a few hundred families.
void DWriteFontChoice::AddAllInstalled(std::vector<Candidate>& candidates) const {
    const UINT32 count = fonts_->GetFontFamilyCount();
    for (UINT32 i = 0; i < count; ++i) {
        ComPtr<IDWriteFontFamily> fontFamily;
        if (SUCCEEDED(fonts_->GetFontFamily(i, &fontFamily))) {
            std::wstring name = FamilyName(fontFamily.Get());
            if (!name.empty()) {
                AddCandidate(candidates, std::move(name));
            }
        }
    }
}

std::vector<FamilyRun> DWriteFontChoice::Choose(const std::wstring& text,
                                                const std::wstring& family) const {
    std::vector<Candidate> candidates;
    AddCandidate(candidates, family);
    for (const wchar_t* preferred : PreferredFamilies) {
        AddCandidate(candidates, preferred);
    }
    bool allAdded = false;
    if (candidates.empty()) {
        AddAllInstalled(candidates);
        allAdded = true;
        if (candidates.empty()) {
            return {};
        }
    }

    // The index of the first candidate with the character, reading in every
    // installed family once the named ones are exhausted. candidates[0] is
    // the requested family whenever it is installed, so a character nobody
    // has stays there.
    auto firstHaving = [&](UINT32 codePoint) -> std::size_t {
        for (std::size_t i = 0;; ++i) {
            if (i == candidates.size()) {
                if (allAdded) {
                    return 0;
                }
                AddAllInstalled(candidates);
                allAdded = true;
                if (i == candidates.size()) {
                    return 0;
                }
            }
            BOOL exists = FALSE;
            if (SUCCEEDED(candidates[i].font->HasCharacter(codePoint, &exists)) && exists) {
                return i;
            }
        }
    };

    std::vector<FamilyRun> runs;
    const auto length = static_cast<UINT32>(text.size());
    for (UINT32 at = 0; at < length;) {
        UINT32 codePoint = text[at];
        UINT32 units = 1;
        if (IsHighSurrogate(text[at]) && at + 1 < length && IsLowSurrogate(text[at + 1])) {
            codePoint = 0x10000 + ((text[at] - 0xD800u) << 10) + (text[at + 1] - 0xDC00u);
            units = 2;
        }
        if (!runs.empty() && JoinsPrevious(codePoint)) {
            runs.back().length += units;
            at += units;
            continue;
        }

        const std::wstring& name = candidates[firstHaving(codePoint)].family;
        if (!runs.empty() && runs.back().family == name) {
            runs.back().length += units;
        } else {
            runs.push_back({at, units, name});
        }
        at += units;
    }
    return runs;
}

} // namespace toolkit::win32
