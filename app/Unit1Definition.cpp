// The capture window's definition: every control with its place, size,
// colours, texts and handler, in the order they are drawn (later above
// earlier). Geometry is in logical units relative to the parent.
#include "app/Unit1.h"

namespace {

using namespace toolkit;
using Handler = void (TForm1::*)(Control&);

constexpr const wchar_t* EmojiFont = L"Segoe UI Emoji";

struct ButtonDefinition {
    ToolButton* TForm1::*field;
    const char* name;
    const wchar_t* text;
    const wchar_t* hint;
    Handler click;
};

// The two grid layouts' buttons, one per cell, left to right.
const ButtonDefinition CaptureButtons[] = {
    {&TForm1::TopBtn, "TopBtn", L"\U0001F4CC", L"TOP", &TForm1::TopBtnClick},
    {&TForm1::CutBtn, "CutBtn", L"\u2702", L"矩形カット", &TForm1::CutBtnClick},
    {&TForm1::CopyWindBtn, "CopyWindBtn", L"\U0001F4C5", L"Window取得",
     &TForm1::CopyWindBtnClick},
};

const ButtonDefinition OutputButtons[] = {
    {&TForm1::CopyBtn, "CopyBtn", L"\U0001F4CB", L"クリップボードにコピー",
     &TForm1::CopyBtnClick},
    {&TForm1::SaveBmpBtn, "SaveBmpBtn", L"\U0001F4BE", L"BMPで保存", &TForm1::SaveBmpBtnClick},
    {&TForm1::SavePngBtn, "SavePngBtn", L"\U0001F4BE", L"PNGで保存", &TForm1::SavePngBtnClick},
};

} // namespace

void TForm1::BuildDefinition() {
    SetWindowBounds(0, 0, 501, 368);

    Rectangle1 = &Add<RectangleControl>("Rectangle1");
    Rectangle1->SetAlign(Align::Client);
    Rectangle1->SetFillColor(0xFFE0E0E0);
    Rectangle1->SetStrokeColor(0xFF000000);
    Rectangle1->SetStrokeThickness(1);
    Rectangle1->SetOpacity(0.5f);
    Rectangle1->onMouseDown = [this](Control& s, MouseButton b, unsigned m, float x, float y) {
        Rectangle1MouseDown(s, b, m, x, y);
    };

    Rectangle2 = &Add<RectangleControl>("Rectangle2");
    Rectangle2->SetBounds({0, 0, 501, 36});
    Rectangle2->SetAlign(Align::Top);
    Rectangle2->SetFillColor(0xFF6495ED); // the stored layout's colour; FormCreate sets the real one
    Rectangle2->SetStrokeColor(0xFF696969);
    Rectangle2->SetStrokeThickness(1);
    Rectangle2->SetOpacity(1);
    Rectangle2->onMouseDown = [this](Control& s, MouseButton b, unsigned m, float x, float y) {
        Rectangle2MouseDown(s, b, m, x, y);
    };

    auto wire = [this](ToolButton& button, Handler click) {
        button.onClick = [this, click](Control& sender) { (this->*click)(sender); };
    };

    ExitBtn = &Rectangle2->Add<ToolButton>("ExitBtn");
    ExitBtn->SetBounds({475, 6, 24, 22});
    ExitBtn->SetAnchors(AnchorTop | AnchorRight);
    ExitBtn->SetText(L"\u2715");
    ExitBtn->SetFont(EmojiFont, 10);
    wire(*ExitBtn, &TForm1::ExitBtnClick);

    auto grid = [&](const char* name, RectF bounds, float cellWidth,
                    const ButtonDefinition (&buttons)[3]) {
        GridLayout& layout = Rectangle2->Add<GridLayout>(name);
        layout.SetBounds(bounds);
        for (const ButtonDefinition& definition : buttons) {
            ToolButton& button = layout.Add<ToolButton>(definition.name);
            button.SetText(definition.text);
            button.SetFont(EmojiFont, 24);
            button.SetHint(definition.hint);
            wire(button, definition.click);
            this->*definition.field = &button;
        }
        layout.SetCellSize(cellWidth, 28);
        return &layout;
    };
    GridLayout1 = grid("GridLayout1", {0, 4, 113, 33}, 36, CaptureButtons);
    TopBtn->SetStaysPressed(true);
    GridLayout2 = grid("GridLayout2", {120, 4, 100, 33}, 32, OutputButtons);

    SetRectBtn = &Rectangle2->Add<ToolButton>("SetRectBtn");
    SetRectBtn->SetBounds({312, 4, 24, 28});
    SetRectBtn->SetText(L"\U0001F5F8");
    SetRectBtn->SetFont(EmojiFont, 16);
    SetRectBtn->SetHint(L"切り取りサイズセット");
    wire(*SetRectBtn, &TForm1::SetRectBtnClick);

    NBoxW = &Rectangle2->Add<NumberBox>("NBoxW", 0.0, 100000.0);
    NBoxW->SetBounds({226, 8, 40, 22});
    NBoxW->SetHint(L"Width:ダブルクリックで現在の幅をセット");
    NBoxW->onDoubleClick = [this](Control& sender) { NBoxWDblClick(sender); };
    SetTabOrder(*NBoxW, 4);

    NBoxH = &Rectangle2->Add<NumberBox>("NBoxH", 0.0, 10000.0);
    NBoxH->SetBounds({270, 8, 40, 22});
    NBoxH->SetHint(L"Height:ダブルクリックで現在の高さをセット");
    NBoxH->onDoubleClick = [this](Control& sender) { NBoxHDblClick(sender); };
    SetTabOrder(*NBoxH, 2);

    onCreate = [this] { FormCreate(*this); };
    onClose = [this] { FormClose(*this); };
}
