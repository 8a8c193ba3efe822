// A form shaped like the capture window, built from the toolkit alone: a
// half-transparent viewfinder filling the client area below a 36-unit title
// bar that carries two grids of tool buttons, two number boxes, an apply
// button and a close button anchored to the right edge. Tests and benchmarks
// need the real window's geometry without the program's handlers, which
// reach the screen and the clipboard.
#pragma once

#include "toolkit/Form.h"
#include "toolkit/GridLayout.h"
#include "toolkit/NumberBox.h"
#include "toolkit/RectangleControl.h"
#include "toolkit/ToolButton.h"

#include <array>
#include <string>

namespace shapes {

inline constexpr int WindowWidth = 501;
inline constexpr int WindowHeight = 368;
inline constexpr float TitleBarHeight = 36;
inline constexpr const wchar_t* EmojiFont = L"Segoe UI Emoji";

struct ViewfinderForm {
    toolkit::Form form{"Form1"};
    toolkit::RectangleControl* viewfinder = nullptr;
    toolkit::RectangleControl* titleBar = nullptr;
    toolkit::ToolButton* exitButton = nullptr;
    toolkit::GridLayout* captureGrid = nullptr;
    toolkit::GridLayout* outputGrid = nullptr;
    // Left to right: the three capture buttons (the first latching), then
    // the three output buttons.
    std::array<toolkit::ToolButton*, 6> gridButtons{};
    toolkit::ToolButton* applyButton = nullptr;
    toolkit::NumberBox* widthBox = nullptr;
    toolkit::NumberBox* heightBox = nullptr;

    ViewfinderForm() {
        using namespace toolkit;
        form.SetWindowBounds(0, 0, WindowWidth, WindowHeight);

        viewfinder = &form.Add<RectangleControl>("Rectangle1");
        viewfinder->SetAlign(Align::Client);
        viewfinder->SetFillColor(0xFFE0E0E0);
        viewfinder->SetStrokeColor(0xFF000000);
        viewfinder->SetStrokeThickness(1);
        viewfinder->SetOpacity(0.5f);

        titleBar = &form.Add<RectangleControl>("Rectangle2");
        titleBar->SetBounds({0, 0, float(WindowWidth), TitleBarHeight});
        titleBar->SetAlign(Align::Top);
        titleBar->SetFillColor(0xFF708090);
        titleBar->SetStrokeColor(0xFF696969);
        titleBar->SetStrokeThickness(1);

        exitButton = &titleBar->Add<ToolButton>("ExitBtn");
        exitButton->SetBounds({475, 6, 24, 22});
        exitButton->SetAnchors(AnchorTop | AnchorRight);
        exitButton->SetText(L"\u2715");
        exitButton->SetFont(EmojiFont, 10);

        const wchar_t* captions[6] = {L"\U0001F4CC", L"\u2702",     L"\U0001F4C5",
                                      L"\U0001F4CB", L"\U0001F4BE", L"\U0001F4BE"};
        auto grid = [&](const char* name, RectF bounds, float cellWidth, int first) {
            GridLayout& layout = titleBar->Add<GridLayout>(name);
            layout.SetBounds(bounds);
            for (int i = first; i < first + 3; ++i) {
                ToolButton& button = layout.Add<ToolButton>("GridButton" + std::to_string(i));
                button.SetText(captions[i]);
                button.SetFont(EmojiFont, 24);
                gridButtons[std::size_t(i)] = &button;
            }
            layout.SetCellSize(cellWidth, 28);
            return &layout;
        };
        captureGrid = grid("GridLayout1", {0, 4, 113, 33}, 36, 0);
        gridButtons[0]->SetStaysPressed(true);
        outputGrid = grid("GridLayout2", {120, 4, 100, 33}, 32, 3);

        applyButton = &titleBar->Add<ToolButton>("SetRectBtn");
        applyButton->SetBounds({312, 4, 24, 28});
        applyButton->SetText(L"\U0001F5F8");
        applyButton->SetFont(EmojiFont, 16);

        widthBox = &titleBar->Add<NumberBox>("NBoxW", 0.0, 100000.0);
        widthBox->SetBounds({226, 8, 40, 22});
        form.SetTabOrder(*widthBox, 4);

        heightBox = &titleBar->Add<NumberBox>("NBoxH", 0.0, 10000.0);
        heightBox->SetBounds({270, 8, 40, 22});
        form.SetTabOrder(*heightBox, 2);
    }
};

} // namespace shapes
