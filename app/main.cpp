#include <windows.h>

#include "winlayer/ParamStr.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (winlayer::ParamStr(1) == "/ih") {
        MessageBoxA(nullptr, "Сделано в Qor.", "Qor Info", MB_OK);
        return 0;
    }
    return 0;
}
