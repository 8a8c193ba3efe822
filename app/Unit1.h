// The capture window: its controls, its state and every command's handler.
// The controls are made from the window's definition (Unit1Definition.cpp);
// the handlers are wired to them by name there.
#pragma once

#include "capture/Snapshot.h"
#include "output/HeldImage.h"
#include "platform/Win.h"
#include "toolkit/Form.h"
#include "toolkit/GridLayout.h"
#include "toolkit/NumberBox.h"
#include "toolkit/RectangleControl.h"
#include "toolkit/ToolButton.h"
#include "toolkit/win32/SaveDialog.h"

#include <cstdint>
#include <memory>
#include <optional>

// The title bar's colours: its own, the copy flash and the countdown.
inline constexpr toolkit::Argb SlateGrey = 0xFF708090;
inline constexpr toolkit::Argb Yellow = 0xFFFFFF00;
inline constexpr toolkit::Argb GreenYellow = 0xFFADFF2F;

class TForm1 : public toolkit::Form {
public:
    TForm1();
    ~TForm1() override;

    // Controls, in the definition's order.
    toolkit::RectangleControl* Rectangle1 = nullptr;
    toolkit::win32::TSaveDialog SaveDialog1;
    toolkit::RectangleControl* Rectangle2 = nullptr;
    toolkit::ToolButton* ExitBtn = nullptr;
    toolkit::GridLayout* GridLayout1 = nullptr;
    toolkit::ToolButton* TopBtn = nullptr;
    toolkit::ToolButton* CutBtn = nullptr;
    toolkit::ToolButton* CopyWindBtn = nullptr;
    toolkit::GridLayout* GridLayout2 = nullptr;
    toolkit::ToolButton* CopyBtn = nullptr;
    toolkit::ToolButton* SaveBmpBtn = nullptr;
    toolkit::ToolButton* SavePngBtn = nullptr;
    toolkit::ToolButton* SetRectBtn = nullptr;
    toolkit::NumberBox* NBoxW = nullptr;
    toolkit::NumberBox* NBoxH = nullptr;

    // State fields.
    HBITMAP DesktopBitmap = nullptr;
    HDC MemDC = nullptr;
    HDC DeskDC = nullptr;
    std::int32_t itix = 0;
    std::int32_t itiy = 0;
    std::int32_t rh = 0;
    std::unique_ptr<output::HeldImage> BMP;
    float Scale = 0;

    // Handlers.
    void FormCreate(toolkit::Control& sender);
    void FormClose(toolkit::Control& sender);
    void ExitBtnClick(toolkit::Control& sender);
    void TopBtnClick(toolkit::Control& sender);
    void Rectangle2MouseDown(toolkit::Control& sender, toolkit::MouseButton button,
                             unsigned shift, float x, float y);
    void Rectangle1MouseDown(toolkit::Control& sender, toolkit::MouseButton button,
                             unsigned shift, float x, float y);
    void NBoxWDblClick(toolkit::Control& sender);
    void NBoxHDblClick(toolkit::Control& sender);
    void SetRectBtnClick(toolkit::Control& sender);
    void CutBtnClick(toolkit::Control& sender);
    void CopyWindBtnClick(toolkit::Control& sender);
    void CopyBtnClick(toolkit::Control& sender);
    void SaveBmpBtnClick(toolkit::Control& sender);
    void SavePngBtnClick(toolkit::Control& sender);

    // The window's system handle (clipboard owner, dialog owner).
    HWND Handle() const;

private:
    void BuildDefinition();
    std::int32_t GetScalePercent();
    void GrabDesktop();
    void CollapseToTitleBar();
    void CaptureRegion();
    void CaptureForegroundWindow();
    std::optional<RECT> GetWindowBounds(HWND window);
    // Releases the held image: BMP becomes none first, then the image goes.
    void ReleaseImage();

    // The snapshot's owner; DesktopBitmap mirrors its bitmap.
    capture::Snapshot snapshot_;
    // The released image's storage, for the next capture of its size; the
    // destructor releases BMP before this goes.
    output::SpareImageStorage spareStorage_;
};

extern TForm1* Form1;
