// The title bar's captions drawn from a colour font, as on Windows, whose
// "Segoe UI Emoji" is a COLR font. Run in a prefix where
// scripts/with-colour-font.sh installed a generated one: every caption glyph
// is a left and a right block, each layer in a colour of its own. At each
// tested scale every caption must show both colours, each block where the
// font puts it and at its size, and the disabled captions must show them
// faint.
#include "tests/standins/StandInSupport.h"
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "platform/Display.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

namespace {

constexpr std::uint32_t TitleBar = 0x708090;
constexpr float DisabledOpacity = 0.35f;

// The generated font's geometry, in em: each block spans 0.42 em across and
// 0.9 em down, the two leave 0.06 em between them, and together they are
// centred on the glyph's advance and on its line (see make-colour-font.py).
constexpr double BlockWidth = 0.42;
constexpr double BlockHeight = 0.9;

struct LayerColours {
    std::uint32_t left = 0;
    std::uint32_t right = 0;
};

// VARNEL_CAPTION_COLOURS: "codepoint left right;" per character, in hex.
std::map<std::uint32_t, LayerColours> CaptionColours() {
    std::map<std::uint32_t, LayerColours> colours;
    const char* text = std::getenv("VARNEL_CAPTION_COLOURS");
    std::istringstream entries(text == nullptr ? "" : text);
    std::string entry;
    while (std::getline(entries, entry, ';')) {
        std::istringstream fields(entry);
        std::uint32_t codepoint = 0;
        LayerColours c;
        if (fields >> std::hex >> codepoint >> c.left >> c.right) {
            colours[codepoint] = c;
        }
    }
    return colours;
}

std::uint32_t Faint(std::uint32_t colour) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const double c = (colour >> shift) & 0xFF;
        const double b = (TitleBar >> shift) & 0xFF;
        result |= std::uint32_t(std::lround(b + (c - b) * DisabledOpacity)) << shift;
    }
    return result;
}

struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    int count = 0;
    void Add(int x, int y) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x + 1);
        bottom = std::max(bottom, y + 1);
        ++count;
    }
};

std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << b.count << " px in (" << b.left << "," << b.top << ")-(" << b.right << ","
               << b.bottom << ")";
}

Box Find(const wintest::ScreenShot& shot, const toolkit::RectI& area, std::uint32_t colour,
         int tolerance) {
    Box box;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (wintest::Near(shot.At(x, y), colour, tolerance)) {
                box.Add(x, y);
            }
        }
    }
    return box;
}

} // namespace

class ColourCaptionsHelper : public CaptureWindowTest {};

TEST_F(ColourCaptionsHelper, EveryCaptionShowsBothLayersInPlace) {
    ASSERT_TRUE(wintest::AtTheExpectedDpi());
    const auto colours = CaptionColours();
    ASSERT_FALSE(colours.empty()) << "run inside scripts/with-colour-font.sh";
    // No button is hot: the pointer rests outside the window.
    ::SetCursorPos(0, 0);
    wintest::Pump(800);
    const wintest::ScreenShot shot;
    const toolkit::RectI window = Form1->ScreenRect();

    struct Caption {
        const char* name;
        const toolkit::ToolButton* button;
        std::uint32_t codepoint;
        float size;
    };
    const Caption captions[] = {
        {"ExitBtn", Form1->ExitBtn, 0x2715, 10},
        {"TopBtn", Form1->TopBtn, 0x1F4CC, 24},
        {"CutBtn", Form1->CutBtn, 0x2702, 24},
        {"CopyWindBtn", Form1->CopyWindBtn, 0x1F4C5, 24},
        {"CopyBtn", Form1->CopyBtn, 0x1F4CB, 24},
        {"SaveBmpBtn", Form1->SaveBmpBtn, 0x1F4BE, 24},
        {"SavePngBtn", Form1->SavePngBtn, 0x1F4BE, 24},
        {"SetRectBtn", Form1->SetRectBtn, 0x1F5F8, 16},
    };
    for (const Caption& caption : captions) {
        SCOPED_TRACE(caption.name);
        ASSERT_EQ(colours.count(caption.codepoint), 1u);
        const LayerColours full = colours.at(caption.codepoint);
        const bool enabled = caption.button->Enabled();
        const toolkit::RectI r = caption.button->PhysicalRect();
        const toolkit::RectI area{window.left + r.left, window.top + r.top, window.left + r.right,
                                  window.top + r.bottom};
        // Faint colours lie close to the title bar: told apart more strictly.
        const int tolerance = enabled ? 24 : 8;
        const Box left = Find(shot, area, enabled ? full.left : Faint(full.left), tolerance);
        const Box right = Find(shot, area, enabled ? full.right : Faint(full.right), tolerance);
        ASSERT_GT(left.count, 0) << "no left layer";
        ASSERT_GT(right.count, 0) << "no right layer";
        if (!enabled) {
            EXPECT_EQ(Find(shot, area, full.left, 24).count, 0) << "disabled, yet at full strength";
            EXPECT_EQ(Find(shot, area, full.right, 24).count, 0)
                << "disabled, yet at full strength";
        }

        const double em = double(caption.size) * double(Form1->Scale);
        for (const Box* block : {&left, &right}) {
            EXPECT_NEAR(block->right - block->left, BlockWidth * em, 2.0) << *block;
            EXPECT_NEAR(block->bottom - block->top, BlockHeight * em, 2.0) << *block;
        }
        EXPECT_LE(left.right, right.left) << left << " / " << right;
        EXPECT_NEAR(left.top, right.top, 1) << left << " / " << right;
        EXPECT_NEAR(left.bottom, right.bottom, 1) << left << " / " << right;
        // The pair is centred on the button.
        EXPECT_NEAR((left.left + right.right) / 2.0, (area.left + area.right) / 2.0, 2.0)
            << left << " / " << right;
        EXPECT_NEAR((left.top + left.bottom) / 2.0, (area.top + area.bottom) / 2.0, 2.0) << left;
    }
}

TEST(ColourCaptions, BothLayersInPlaceAt96And144Dpi) {
    for (DWORD dpi : {96u, 144u}) {
        SCOPED_TRACE(dpi);
        EXPECT_TRUE(wintest::RunSelfAtSystemDpi(L"ColourCaptionsHelper.*", dpi));
    }
}
