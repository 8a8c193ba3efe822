// The capture window's definition: every control with its place, size,
// colours, texts and handler, in the order they are drawn (later above
// earlier). Geometry is in logical units relative to the parent.
#include "app/Unit1Definition.h"

#include "platform/Units.h"

namespace {

using namespace toolkit;
using Hook = Control::Notify Form1Handlers::*;

constexpr const wchar_t* EmojiFont = L"Segoe UI Emoji";

struct ButtonDefinition {
    ToolButton* Form1Controls::*field;
    const char* name;
    const wchar_t* text;
    const wchar_t* hint;
    Hook click;
};

// The two grid layouts' buttons, one per cell, left to right.
const ButtonDefinition CaptureButtons[] = {
    {&Form1Controls::TopBtn, "TopBtn", L"\U0001F4CC", L"TOP", &Form1Handlers::TopBtnClick},
    {&Form1Controls::CutBtn, "CutBtn", L"\u2702", L"矩形カット", &Form1Handlers::CutBtnClick},
    {&Form1Controls::CopyWindBtn, "CopyWindBtn", L"\U0001F4C5", L"Window取得",
     &Form1Handlers::CopyWindBtnClick},
};

const ButtonDefinition OutputButtons[] = {
    {&Form1Controls::CopyBtn, "CopyBtn", L"\U0001F4CB", L"クリップボードにコピー",
     &Form1Handlers::CopyBtnClick},
    {&Form1Controls::SaveBmpBtn, "SaveBmpBtn", L"\U0001F4BE", L"BMPで保存",
     &Form1Handlers::SaveBmpBtnClick},
    {&Form1Controls::SavePngBtn, "SavePngBtn", L"\U0001F4BE", L"PNGで保存",
     &Form1Handlers::SavePngBtnClick},
};

} // namespace

Form1Controls MakeForm1Controls(Form& form, const Form1Handlers& handlers) {
    Form1Controls c;
    form.SetWindowBounds(0, 0, Form1Width, Form1Height);

    c.Rectangle1 = &form.Add<RectangleControl>("Rectangle1");
    c.Rectangle1->SetAlign(Align::Client);
    c.Rectangle1->SetFillColor(0xFFE0E0E0);
    c.Rectangle1->SetStrokeColor(0xFF000000);
    c.Rectangle1->SetStrokeThickness(1);
    c.Rectangle1->SetOpacity(0.5f);
    c.Rectangle1->SetRole(AccessibleRole::Graphic);
    c.Rectangle1->SetAccessibleName(L"ビューファインダー");
    c.Rectangle1->onMouseDown = handlers.Rectangle1MouseDown;

    c.Rectangle2 = &form.Add<RectangleControl>("Rectangle2");
    c.Rectangle2->SetBounds({0, 0, float(Form1Width), TitleBarHeight});
    c.Rectangle2->SetAlign(Align::Top);
    c.Rectangle2->SetFillColor(
        0xFF6495ED); // the stored layout's colour; FormCreate sets the real one
    c.Rectangle2->SetStrokeColor(0xFF696969);
    c.Rectangle2->SetStrokeThickness(1);
    c.Rectangle2->SetOpacity(1);
    c.Rectangle2->onMouseDown = handlers.Rectangle2MouseDown;

    c.ExitBtn = &c.Rectangle2->Add<ToolButton>("ExitBtn");
    c.ExitBtn->SetBounds({475, 6, 24, 22});
    c.ExitBtn->SetAnchors(AnchorTop | AnchorRight);
    c.ExitBtn->SetText(L"\u2715");
    c.ExitBtn->SetFont(EmojiFont, 10);
    c.ExitBtn->SetAccessibleName(L"閉じる"); // it has no hint to be read
    c.ExitBtn->onClick = handlers.ExitBtnClick;

    auto grid = [&](const char* name, RectF bounds, float cellWidth,
                    const ButtonDefinition(&buttons)[3]) {
        GridLayout& layout = c.Rectangle2->Add<GridLayout>(name);
        layout.SetBounds(bounds);
        for (const ButtonDefinition& definition : buttons) {
            ToolButton& button = layout.Add<ToolButton>(definition.name);
            button.SetText(definition.text);
            button.SetFont(EmojiFont, 24);
            button.SetHint(definition.hint);
            button.onClick = handlers.*definition.click;
            c.*definition.field = &button;
        }
        layout.SetCellSize(cellWidth, 28);
        return &layout;
    };
    c.GridLayout1 = grid("GridLayout1", {0, 4, 113, 33}, 36, CaptureButtons);
    c.TopBtn->SetStaysPressed(true);
    c.GridLayout2 = grid("GridLayout2", {120, 4, 100, 33}, 32, OutputButtons);

    c.SetRectBtn = &c.Rectangle2->Add<ToolButton>("SetRectBtn");
    c.SetRectBtn->SetBounds({312, 4, 24, 28});
    c.SetRectBtn->SetText(L"\U0001F5F8");
    c.SetRectBtn->SetFont(EmojiFont, 16);
    c.SetRectBtn->SetHint(L"切り取りサイズセット");
    c.SetRectBtn->onClick = handlers.SetRectBtnClick;

    c.NBoxW = &c.Rectangle2->Add<NumberBox>("NBoxW", 0.0, 100000.0);
    c.NBoxW->SetBounds({226, 8, 40, 22});
    c.NBoxW->SetHint(L"Width:ダブルクリックで現在の幅をセット");
    c.NBoxW->onDoubleClick = handlers.NBoxWDblClick;
    form.SetTabOrder(*c.NBoxW, 4);

    c.NBoxH = &c.Rectangle2->Add<NumberBox>("NBoxH", 0.0, 10000.0);
    c.NBoxH->SetBounds({270, 8, 40, 22});
    c.NBoxH->SetHint(L"Height:ダブルクリックで現在の高さをセット");
    c.NBoxH->onDoubleClick = handlers.NBoxHDblClick;
    form.SetTabOrder(*c.NBoxH, 2);

    form.onCreate = handlers.FormCreate;
    form.onClose = handlers.FormClose;
    return c;
}

std::int32_t CollapseToTitleBar(Form& form, const Form1Controls& controls) {
    const std::int32_t rh = platform::units::Trunc(controls.Rectangle1->Height());
    form.SetClientSize(form.ClientWidth(), platform::units::Trunc(controls.Rectangle2->Height()));
    return rh;
}

void RestoreViewfinderHeight(Form& form, const Form1Controls& controls, std::int32_t rh) {
    form.SetClientSize(form.ClientWidth(),
                       platform::units::TruncSum(controls.Rectangle2->Height(), rh));
}
