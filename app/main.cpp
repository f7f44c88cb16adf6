#include <windows.h>

#include "app/TMainScheme.h"
#include "elements/win/TQorMainForm.h"
#include "winlayer/FatalError.h"
#include "winlayer/ParamStr.h"
#include "winlayer/WinApp.h"
#ifdef TERVIK_E2E
#include "E2eHooks.h" // the end-to-end test build only, never the product
#endif

// The main scheme while the program runs.
TMainScheme *MainScheme = nullptr;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (winlayer::ParamStr(1) == "/ih") {
        MessageBoxA(nullptr, "Сделано в Qor.", "Qor Info", MB_OK);
        return 0;
    }

    winlayer::InstallFatalErrorHandlers();
    try {
        MainScheme = new TMainScheme();
#ifdef TERVIK_E2E
        E2eAttach(*MainScheme);
#endif
        MainScheme->MainForm->Start();
        winlayer::RunLoop(winlayer::Application);
        delete MainScheme;
        MainScheme = nullptr;
    } catch (...) {
        winlayer::FatalCurrentException();
    }
    return 0;
}
