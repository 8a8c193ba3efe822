// Picks, for every character of a caption, a font family that really has a
// glyph for it. Windows' own text layout falls back per character, but Wine's
// does not: a family without the glyph draws the empty "missing" box, and a
// family that is not installed makes the whole layout fail. So the family is
// chosen here, the same way on both, and the layout is told per range.
#pragma once

#include "platform/Win.h"

#include <dwrite.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace toolkit::win32 {

struct FamilyRun {
    UINT32 start = 0;  // UTF-16 index into the text
    UINT32 length = 0; // UTF-16 units; a surrogate pair is never split
    std::wstring family;
};

class DWriteFontChoice {
public:
    explicit DWriteFontChoice(Microsoft::WRL::ComPtr<IDWriteFontCollection> fonts);

    // Consecutive runs covering the whole text. Each character goes to the
    // first family that has it: the requested one, then the usual Windows UI
    // and symbol families, then any installed family. A character no family
    // has stays with the requested family if it is installed (Windows' layout
    // may still find it), else with the first installed candidate. Empty
    // when no family at all is installed.
    std::vector<FamilyRun> Choose(const std::wstring& text, const std::wstring& family) const;

private:
    struct Candidate {
        std::wstring family;
        Microsoft::WRL::ComPtr<IDWriteFont> font;
    };

    Microsoft::WRL::ComPtr<IDWriteFont> RegularFont(const std::wstring& family) const;
    void AddCandidate(std::vector<Candidate>& candidates, std::wstring family) const;
    void AddAllInstalled(std::vector<Candidate>& candidates) const;

    Microsoft::WRL::ComPtr<IDWriteFontCollection> fonts_;
};

} // namespace toolkit::win32
