#include "winlayer/WinApp.h"

namespace winlayer {

TMessageHandler FormHandler{&FormMessages, nullptr};
TMessageHandler FormBackgroundHandler{&PaintFormBackground, nullptr};

namespace {

void Halt(unsigned exitCode)
{
    if (HaltHook) {
        HaltHook(exitCode);
        return;
    }
    ExitProcess(exitCode);
}

// Gives the focus to the control the window wants it on; true when there was one.
bool RestoreFocusChild(TWinControl *window)
{
    TWinControl *child = window->FocusChild;
    if (!child)
        return false;
    child->EnsureWindow();
    SetFocus(child->Handle);
    return true;
}

} // namespace

TWinControl *NewAppWindow(const std::string &caption)
{
    AppWindowUsed = true;
    TWinControl *app = NewObject<TWinControl>(nullptr, "App");
    app->IsAppWindow = true;
    app->Style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    app->ExStyle = WS_EX_APPWINDOW;
    app->CreationHook = TControlHook{&EditAppSystemMenu, nullptr};
    AddHandler(app, TMessageHandler{&AppWindowMessages, nullptr});
    app->SetCaption(caption);
    if (!Application)
        Application = app;
    return app;
}

TWinControl *NewForm(TWinControl *parent, const std::string &caption)
{
    TWinControl *form = NewObject<TWinControl>(parent, "Form");
    form->ClassStyle = CS_DBLCLKS;
    form->Style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    AddHandler(form, FormHandler);
    AddHandler(form, FormBackgroundHandler);
    form->SetCaption(caption);
    return form;
}

void EditAppSystemMenu(void *, TWinControl *sender)
{
    // Restore, size, move and maximise make no sense for the hidden carrier window.
    HMENU menu = GetSystemMenu(sender->Handle, FALSE);
    EnableMenuItem(menu, SC_RESTORE, MF_GRAYED);
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
}

bool AppWindowMessages(void *, TWinControl *sender, MSG &msg, LRESULT &result)
{
    switch (msg.message) {
    case WM_SETFOCUS:
        if (RestoreFocusChild(sender)) {
            result = 0;
            return true;
        }
        return false;
    case WM_SYSCOMMAND:
        if ((msg.wParam & 0xFFF0) == SC_CLOSE) {
            // Closing the taskbar button closes the main form, which ends the program.
            if (!sender->Children.empty()) {
                TWinControl *first = sender->Children.front();
                if (first->IsMainWindow() && first->Handle)
                    PostMessageA(first->Handle, WM_CLOSE, 0, 0);
            }
            result = 0;
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool FormMessages(void *, TWinControl *sender, MSG &msg, LRESULT &result)
{
    switch (msg.message) {
    case WM_ENDSESSION:
        if (msg.wParam) {
            TWinControl *app = AppWindow;
            LoopRunning = 0;
            AppWindow = nullptr;
            LoopTerminated = true;
            if (app)
                app->Free();
            Halt(0);
            result = 0;
            return true;
        }
        return false;
    case WM_SETFOCUS: {
        if (AppWindow && AppWindow != sender)
            AppWindow->FocusChild = sender;
        if (RestoreFocusChild(sender)) {
            result = 0;
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

bool PaintFormBackground(void *, TWinControl *sender, MSG &msg, LRESULT &result)
{
    if (msg.message != WM_ERASEBKGND)
        return false;
    result = 1;
    for (size_t i = 0; i < sender->Children.size(); ++i)
        sender->Children[i]->EnsureWindow();
    if (!sender->Transparent) {
        HDC dc = reinterpret_cast<HDC>(msg.wParam);
        RECT client{};
        GetClientRect(sender->Handle, &client);
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, ColorToRGB(sender->Color));
        SetBrushOrgEx(dc, 0, 0, nullptr);
        FillRect(dc, &client, sender->Brush()->BrushHandle());
    }
    return false;
}

bool PumpMessage(TWinControl *appWindow)
{
    // 1.
    MSG msg{};
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    // 2, 3.
    if (msg.message == WM_QUIT) {
        LoopTerminated = true;
    } else if (!(appWindow && appWindow->PumpFilter && appWindow->PumpFilter(msg))) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // 4. A queued message 0 ends the batch.
    return msg.message != 0;
}

void PumpMessages(TWinControl *appWindow)
{
    while (PumpMessage(appWindow)) {
    }
}

TWaitEnd WaitPumping(HANDLE Done, uint32_t Ms)
{
    const DWORD start = GetTickCount();
    // Input that none of the two ranges below takes out would wake every wait at
    // once; after a round that took nothing only new input wakes it.
    DWORD wakeFlags = MWMO_INPUTAVAILABLE;
    for (;;) {
        if (LoopTerminated)
            return TWaitEnd::Quit;
        const DWORD passed = GetTickCount() - start;
        const DWORD left = passed < Ms ? Ms - passed : 0;
        const DWORD woke = MsgWaitForMultipleObjectsEx(1, &Done, left, QS_ALLINPUT & ~QS_TIMER, wakeFlags);
        if (woke == WAIT_OBJECT_0)
            return TWaitEnd::Done;
        if (woke != WAIT_OBJECT_0 + 1)
            return WaitForSingleObject(Done, 0) == WAIT_OBJECT_0 ? TWaitEnd::Done : TWaitEnd::TimeUp;
        // Everything queued but WM_TIMER, in two ranges.
        MSG msg{};
        wakeFlags = 0;
        while (PeekMessageA(&msg, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
               PeekMessageA(&msg, nullptr, WM_TIMER + 1, 0xFFFFFFFF, PM_REMOVE)) {
            wakeFlags = MWMO_INPUTAVAILABLE;
            if (msg.message == WM_QUIT) {
                LoopTerminated = true;
                return TWaitEnd::Quit;
            }
            if (!(AppWindow && AppWindow->PumpFilter && AppWindow->PumpFilter(msg))) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }
}

void RunLoop(TWinControl *&appWindow)
{
    // 1.
    ++LoopRunning;
    AppWindow = appWindow;
    // 2.
    if (AppWindow)
        AppWindow->EnsureWindow();
    // 3.
    while (!LoopTerminated) {
        WaitMessage();
        PumpMessages(AppWindow);
        if (IdleHook)
            IdleHook(AppWindow);
    }
    // 4.
    StopLoop(appWindow);
}

void StopLoop(TWinControl *&appWindow)
{
    // 1.
    const bool wasTerminated = LoopTerminated;
    LoopTerminated = true;
    LoopRunning = 0;
    TWinControl *app = AppWindow;
    AppWindow = nullptr;
    // 2.
    if (app) {
        app->AddRef();
        if (!wasTerminated) {
            PumpMessages(app);
            Perform(app, WM_CLOSE, 0, 0);
        }
        appWindow = nullptr;
        app->Free();
        app->Release();
    }
}

} // namespace winlayer
