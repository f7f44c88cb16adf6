// trayclick [--close] [SECONDS]
// Clicks Tervik's tray icon as a user would: posts the icon's notification
// (message 0x401, icon 1, left button released) to the program's form, which
// then shows itself. With --close it closes the form instead, as the system
// menu would, and the program ends. Waits up to SECONDS (default 60) for the
// form to exist. Exit 0 when the message was posted, 1 when no form appeared.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    bool close = false;
    int seconds = 60;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--close") == 0)
            close = true;
        else
            seconds = std::atoi(argv[i]);
    }
    for (int waited = 0; waited <= seconds * 10; ++waited) {
        HWND form = FindWindowA("obj_Form", "Tervik v4");
        if (form) {
            if (close)
                PostMessageA(form, WM_CLOSE, 0, 0);
            else
                PostMessageA(form, WM_USER + 1, 1, WM_LBUTTONUP);
            return 0;
        }
        Sleep(100);
    }
    std::fprintf(stderr, "trayclick: no Tervik form appeared\n");
    return 1;
}
