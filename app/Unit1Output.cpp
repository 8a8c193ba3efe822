// The three output commands: copy to the clipboard, save as BMP, save as
// PNG. None of them touches the clipboard or a file while no image, or an
// empty one, is held: that would replace what the user had with nothing.
#include "app/Unit1.h"

#include "output/BmpWriter.h"
#include "output/Clipboard.h"
#include "output/FileSink.h"
#include "output/PngEncoder.h"
#include "platform/Clock.h"
#include "toolkit/win32/Application.h"

void TForm1::CopyBtnClick(toolkit::Control&) {
    if (!BMP || BMP->Empty()) {
        return;
    }
    output::CopyToClipboard(*BMP);
    // The flash confirms the copy: shown before the pause, undone after.
    Rectangle2->SetFillColor(Yellow);
    Application.ProcessMessages();
    platform::Pause(100);
    Rectangle2->SetFillColor(SlateGrey);
}

void TForm1::SaveBmpBtnClick(toolkit::Control&) {
    if (!BMP || BMP->Empty()) {
        return;
    }
    SaveDialog1.DefaultExt = L"bmp";
    SaveDialog1.Filter = L"BMP files (*.bmp)|*.BMP";
    if (!SaveDialog1.Execute(Handle())) {
        return;
    }
    // The dialog processed events: a capture may have run meanwhile.
    if (!BMP || BMP->Empty()) {
        return;
    }
    output::FileSink file(SaveDialog1.FileName);
    output::WriteBmp(BMP->View(), file);
}

void TForm1::SavePngBtnClick(toolkit::Control&) {
    if (!BMP || BMP->Empty()) {
        return;
    }
    auto encoder = std::make_unique<output::PngEncoder>();
    SaveDialog1.DefaultExt = L"png";
    SaveDialog1.Filter = L"PNG files (*.png)|*.PNG";
    if (!SaveDialog1.Execute(Handle())) {
        return;
    }
    if (!BMP || BMP->Empty()) {
        return;
    }
    encoder->TakeImage(BMP->View());
    const std::wstring name = SaveDialog1.FileName;
    output::FileSink file(name);
    encoder->Write(file);
}
