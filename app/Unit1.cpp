// The capture window's handlers: start-up and closing, placement and the
// size boxes. The capture and output commands are in Unit1Capture.cpp and
// Unit1Output.cpp.
#include "app/Unit1.h"

#include "capture/CaptureMath.h"
#include "output/ClipboardOwner.h"
#include "platform/Display.h"
#include "platform/Error.h"
#include "platform/MessageText.h"
#include "toolkit/NumberText.h"
#include "toolkit/WindowTracking.h"
#include "toolkit/win32/Application.h"
#include "toolkit/win32/ClipboardText.h"

TForm1* Form1 = nullptr;

TForm1::TForm1() : toolkit::Form("Form1") {
    SetWindowClassName(L"TForm1");
    SetCaption(L"Varnel");
    static_cast<Form1Controls&>(*this) = MakeForm1Controls(*this, Handlers());
    for (toolkit::NumberBox* box : {NBoxW, NBoxH}) {
        box->readClipboard = [this] { return toolkit::win32::ReadClipboardText(Handle()); };
        box->writeClipboard = [this](const std::wstring& text) {
            toolkit::win32::WriteClipboardText(Handle(), text);
        };
    }
}

// The held image goes before the spare storage it gives its pixels back
// to, by the order of the members.
TForm1::~TForm1() = default;

Form1Handlers TForm1::Handlers() {
    using toolkit::Control;
    using toolkit::MouseButton;
    auto click = [this](void (TForm1::*handler)(Control&)) {
        return [this, handler](Control& sender) { (this->*handler)(sender); };
    };
    Form1Handlers h;
    h.FormCreate = [this] { FormCreate(*this); };
    h.FormClose = [this] { FormClose(*this); };
    h.Rectangle1MouseDown = [this](Control& s, MouseButton b, unsigned m, float x, float y) {
        Rectangle1MouseDown(s, b, m, x, y);
    };
    h.Rectangle2MouseDown = [this](Control& s, MouseButton b, unsigned m, float x, float y) {
        Rectangle2MouseDown(s, b, m, x, y);
    };
    h.ExitBtnClick = click(&TForm1::ExitBtnClick);
    h.TopBtnClick = click(&TForm1::TopBtnClick);
    h.CutBtnClick = click(&TForm1::CutBtnClick);
    h.CopyWindBtnClick = click(&TForm1::CopyWindBtnClick);
    h.CopyBtnClick = click(&TForm1::CopyBtnClick);
    h.SaveBmpBtnClick = click(&TForm1::SaveBmpBtnClick);
    h.SavePngBtnClick = click(&TForm1::SavePngBtnClick);
    h.SetRectBtnClick = click(&TForm1::SetRectBtnClick);
    h.NBoxWDblClick = click(&TForm1::NBoxWDblClick);
    h.NBoxHDblClick = click(&TForm1::NBoxHDblClick);
    return h;
}

HWND TForm1::Handle() const {
    const auto* host = Application.HostOf(*this);
    return host != nullptr ? host->Handle() : nullptr;
}

std::int32_t TForm1::GetScalePercent() {
    return capture::ScalePercentForDpi(platform::SystemDpi());
}

void TForm1::FormCreate(toolkit::Control&) {
    SaveBmpBtn->SetEnabled(false);
    SavePngBtn->SetEnabled(false);
    CopyBtn->SetEnabled(false);
    Rectangle2->SetFillColor(SlateGrey);
    Rectangle1->SetOpacity(0.5f);
    Scale = capture::ScaleForPercent(GetScalePercent());
    SetScale(Scale);
    NBoxW->SetValue(double(Rectangle1->Width()) * Scale);
    NBoxH->SetValue(double(Rectangle1->Height()) * Scale);
}

void TForm1::ReleaseImage() {
    // reset() empties the pointer before it deletes the image.
    BMP.reset();
}

void TForm1::FormClose(toolkit::Control&) {
    ReleaseImage();
    // A PNG still promised on the clipboard is made now, so that what was
    // copied outlives the program.
    output::ReleaseClipboardOwner();
}

void TForm1::ExitBtnClick(toolkit::Control&) {
    Close();
}

void TForm1::Rectangle2MouseDown(toolkit::Control&, toolkit::MouseButton, unsigned, float, float) {
    StartWindowDrag();
}

void TForm1::Rectangle1MouseDown(toolkit::Control&, toolkit::MouseButton, unsigned, float, float) {
    StartWindowResize();
}

void TForm1::TopBtnClick(toolkit::Control&) {
    SetFormStyle(TopBtn->IsPressed() ? toolkit::FormStyle::StayOnTop : toolkit::FormStyle::Normal);
}

void TForm1::NBoxWDblClick(toolkit::Control&) {
    NBoxW->SetValue(double(Rectangle1->Width()) * Scale);
}

void TForm1::NBoxHDblClick(toolkit::Control&) {
    NBoxH->SetValue(double(Rectangle1->Height()) * Scale);
}

namespace {

std::int32_t ParseSizeText(const std::wstring& text) {
    const auto value = toolkit::ParseInt32Text(text);
    if (!value) {
        throw platform::Error(platform::ConversionErrorText(text));
    }
    return *value;
}

} // namespace

void TForm1::SetRectBtnClick(toolkit::Control&) {
    // The boxes hold physical pixels, the window is sized in logical units.
    // The width is applied before the height's text is read, so a bad
    // height leaves the new width in force.
    const std::int32_t w = ParseSizeText(NBoxW->Text());
    SetClientSize(toolkit::WindowWidthForTypedSize(w, Scale), ClientHeight());
    const std::int32_t h = ParseSizeText(NBoxH->Text());
    SetClientSize(ClientWidth(),
                  toolkit::WindowHeightForTypedSize(h, Scale, int(Rectangle2->Height())));
}
