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

#include <functional>
#include <string>

namespace {

// Writes the image to the file of the given name, which it creates itself.
using ImageWriter = std::function<void(const output::ImageView& image, const std::wstring& name)>;

// Both save commands: the shared dialog with the format's own extension and
// filter, then the held image written under the name the user accepted.
void SaveHeldImage(TForm1& form, const wchar_t* defaultExt, const wchar_t* filter,
                   const ImageWriter& write) {
    if (!form.BMP || form.BMP->Empty()) {
        return;
    }
    form.SaveDialog1.DefaultExt = defaultExt;
    form.SaveDialog1.Filter = filter;
    if (!form.SaveDialog1.Execute(form.Handle())) {
        return;
    }
    // The dialog processed events: a capture may have run meanwhile.
    if (!form.BMP || form.BMP->Empty()) {
        return;
    }
    write(form.BMP->View(), form.SaveDialog1.FileName);
}

} // namespace

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
    SaveHeldImage(*this, L"bmp", L"BMP files (*.bmp)|*.BMP",
                  [](const output::ImageView& image, const std::wstring& name) {
                      output::FileSink file(name);
                      output::WriteBmp(image, file);
                  });
}

void TForm1::SavePngBtnClick(toolkit::Control&) {
    // The encoder lives for this one run of the command, from before the
    // dialog shows to the end, whichever way the command ends.
    output::PngEncoder encoder;
    SaveHeldImage(*this, L"png", L"PNG files (*.png)|*.PNG",
                  [&](const output::ImageView& image, const std::wstring& name) {
                      // Given the image before the file exists, so a refusal
                      // leaves no empty file behind.
                      encoder.TakeImage(image);
                      output::FileSink file(name);
                      encoder.Write(file);
                  });
}
