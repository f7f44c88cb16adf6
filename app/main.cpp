#include <windows.h>

#include "app/TClassMainForm_2750570.h"
#include "winlayer/FatalError.h"
#include "winlayer/ParamStr.h"
#include "winlayer/WinApp.h"

// The main scheme while the program runs.
TClassMainForm_2750570 *MainScheme = nullptr;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (winlayer::ParamStr(1) == "/ih") {
        MessageBoxA(nullptr, "Сделано в Qor.", "Qor Info", MB_OK);
        return 0;
    }

    winlayer::InstallFatalErrorHandlers();
    try {
        MainScheme = new TClassMainForm_2750570();
        MainScheme->MainForm()->Start();
        winlayer::RunLoop(winlayer::Application);
        delete MainScheme;
        MainScheme = nullptr;
    } catch (...) {
        winlayer::FatalCurrentException();
    }
    return 0;
}
