// Program entry: restrict where DLLs come from, initialise the application,
// make the capture window, run the event loop until it closes.
#include "app/Unit1.h"
#include "platform/SystemDlls.h"
#include "toolkit/win32/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything can load a DLL that is not a KnownDLL.
    platform::LoadDllsFromSystem32Only();
    Application.Initialize();
    Application.CreateForm(Form1);
    Application.Run();
    return 0;
}
