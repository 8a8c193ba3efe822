// Program entry: initialise the application, make the capture window, run
// the event loop until it closes.
#include "app/Unit1.h"
#include "toolkit/win32/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Application.Initialize();
    Application.CreateForm(Form1);
    Application.Run();
    return 0;
}
