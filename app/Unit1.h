// The capture window: its controls, its state and every command's handler.
// The controls are made from the window's definition (Unit1Definition.h),
// which wires the handlers given to it by name.
#pragma once

#include "app/Unit1Definition.h"
#include "capture/Snapshot.h"
#include "output/HeldImage.h"
#include "platform/Win.h"
#include "toolkit/Form.h"
#include "toolkit/win32/SaveDialog.h"

#include <cstdint>
#include <memory>
#include <optional>

// The controls (Rectangle1 ... NBoxH) are the fields of Form1Controls.
class TForm1 : public toolkit::Form, public Form1Controls {
    // The released image's storage, for the next capture of its size. BMP
    // takes its storage from here and gives it back when it goes, so this
    // is declared first: it is made before and destroyed after any image
    // the form holds.
    output::SpareImageStorage spareStorage_;

public:
    TForm1();
    ~TForm1() override;

    // The one control the portable definition cannot make.
    toolkit::win32::TSaveDialog SaveDialog1;

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
    void Rectangle2MouseDown(toolkit::Control& sender, toolkit::MouseButton button, unsigned shift,
                             float x, float y);
    void Rectangle1MouseDown(toolkit::Control& sender, toolkit::MouseButton button, unsigned shift,
                             float x, float y);
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
    Form1Handlers Handlers();
    std::int32_t GetScalePercent();
    void GrabDesktop();
    void CollapseToTitleBar();
    void CaptureRegion();
    void CaptureForegroundWindow();
    std::optional<RECT> GetWindowBounds(HWND window);
    // Releases the held image: BMP becomes none first, then the image goes.
    void ReleaseImage();

    // The snapshot's owner; DesktopBitmap mirrors its bitmap, DeskDC and
    // MemDC its device contexts while it is taken.
    capture::Snapshot snapshot_{{&DeskDC, &MemDC}};
};

extern TForm1* Form1;
