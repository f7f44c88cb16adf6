// Making windows for objects, and the message rules of the layer, with real windows.
#include "LayerTest.h"

using namespace winlayer;
using layertest::LayerTest;
using layertest::MadeForm;
using layertest::TLog;
using layertest::TTagged;

namespace {

// A child control that is a superclass of the system STATIC class.
TWinControl *MadeStatic(TWinControl *parent, const std::string &caption, UINT_PTR id)
{
    TWinControl *label = NewObject<TWinControl>(parent, "STATIC");
    label->StandardClass = true;
    label->ChildControl = true;
    label->ControlId = id;
    label->Style = WS_CHILD | WS_VISIBLE | SS_NOTIFY;
    label->Caption = caption;
    label->SetBounds(4, 4, 60, 20);
    return label;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    return std::string(name, GetClassNameA(window, name, sizeof name));
}

std::string TextOf(HWND window)
{
    char text[256] = {};
    return std::string(text, GetWindowTextA(window, text, sizeof text));
}

// The colour of the pixel at (x, y) of a bitmap, as COLORREF.
COLORREF PixelOf(HDC dc, HBITMAP bitmap, int x, int y, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = x + 1;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> bits(static_cast<size_t>((x + 1) * height));
    GetDIBits(dc, bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS);
    const uint32_t p = bits[static_cast<size_t>(y * (x + 1) + x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

} // namespace

TEST_F(LayerTest, EnsureWindowRegistersTheLayerClassAndTiesTheWindowToItsObject)
{
    TWinControl *form = MadeForm(nullptr, "Tervik form");
    ASSERT_NE(form->Handle, nullptr);
    EXPECT_EQ(ClassOf(form->Handle), "obj_Form");
    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "obj_Form", &wc));
    EXPECT_TRUE(wc.style & CS_DBLCLKS) << "class style " << wc.style;
    EXPECT_EQ(wc.lpfnWndProc, &LayerWindowProc);
    EXPECT_EQ(GetPropA(form->Handle, SelfProp), static_cast<HANDLE>(form));
    EXPECT_EQ(TextOf(form->Handle), "Tervik form");
    EXPECT_EQ(PendingWindow, nullptr);
    EXPECT_TRUE(form->EnsureWindow()) << "ensuring an existing window succeeds";
    form->Free();
}

TEST_F(LayerTest, StandardControlIsASuperclassOfTheSystemClass)
{
    TWinControl *form = NewForm(nullptr, "parent");
    form->SetVisible(false);
    TWinControl *label = MadeStatic(form, "label text", 101);
    ASSERT_TRUE(form->EnsureWindow());
    ASSERT_NE(label->Handle, nullptr) << "ensuring the parent made the child";

    EXPECT_EQ(ClassOf(label->Handle), "obj_STATIC");
    EXPECT_EQ(GetParent(label->Handle), form->Handle);
    EXPECT_EQ(GetDlgCtrlID(label->Handle), 101);
    EXPECT_EQ(TextOf(label->Handle), "label text") << "the system procedure still does the work";
    WNDCLASSA system{}, ours{};
    ASSERT_TRUE(GetClassInfoA(nullptr, "STATIC", &system));
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "obj_STATIC", &ours));
    EXPECT_EQ(label->PrevWndProc, system.lpfnWndProc);
    EXPECT_EQ(ours.style & (CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS), 0u);
    EXPECT_EQ(ours.style, system.style & ~UINT(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS));
    EXPECT_EQ(ours.cbWndExtra, system.cbWndExtra);
    form->Free();
}

TEST_F(LayerTest, ColourAndCommandMessagesAreHandedOnToTheChildThatSentThem)
{
    struct TCase {
        UINT Message;
        UINT Expected;
    };
    const TCase cases[] = {
        {WM_CTLCOLORSTATIC, WM_CTLCOLORSTATIC + 0xBC00},
        {WM_CTLCOLOREDIT, WM_CTLCOLOREDIT + 0xBC00},
        {WM_CTLCOLORBTN, WM_CTLCOLORBTN + 0xBC00},
        {WM_CTLCOLORMSGBOX, WM_CTLCOLORMSGBOX + 0xBC00},
        {WM_COMMAND, 0xB005},
    };
    TWinControl *form = NewForm(nullptr, "parent");
    form->SetVisible(false);
    TWinControl *label = MadeStatic(form, "x", 102);
    ASSERT_TRUE(form->EnsureWindow());
    struct TReflected {
        MSG Last{};
        int Count = 0;
        static bool Run(void *data, TWinControl *, MSG &msg, LRESULT &result)
        {
            if (msg.message < 0xB000)
                return false;
            auto *self = static_cast<TReflected *>(data);
            self->Last = msg;
            ++self->Count;
            result = 0x5151;
            return true;
        }
    } reflected;
    AddHandler(label, {&TReflected::Run, &reflected});

    for (const TCase &c : cases) {
        reflected = TReflected{};
        const WPARAM wParam = 0x1234;
        const LPARAM lParam = reinterpret_cast<LPARAM>(label->Handle);
        const LRESULT result = SendMessageA(form->Handle, c.Message, wParam, lParam);
        EXPECT_EQ(reflected.Count, 1) << "message " << std::hex << c.Message;
        EXPECT_EQ(reflected.Last.message, c.Expected) << "message " << std::hex << c.Message;
        EXPECT_EQ(reflected.Last.wParam, wParam);
        EXPECT_EQ(reflected.Last.lParam, lParam);
        EXPECT_EQ(reflected.Last.hwnd, label->Handle);
        EXPECT_EQ(result, 0x5151) << "the child's answer is the parent's";
    }
    form->Free();
}

TEST_F(LayerTest, AskingForTheHandleOfAControlShowsItOnlyAtTheNextEnsureWindow)
{
    TWinControl *form = NewForm(nullptr, "deferred");
    ASSERT_TRUE(form->Visible()) << "a new form is meant to be visible";
    HWND window = form->GetHandle();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window)) << "asking for the handle does not show it yet";
    EXPECT_TRUE(form->DeferredShow);

    ASSERT_TRUE(form->EnsureWindow());
    EXPECT_TRUE(IsWindowVisible(window)) << "the deferred show happens at EnsureWindow";
    EXPECT_FALSE(form->DeferredShow);

    form->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(window));
    form->Free();
}

TEST_F(LayerTest, CreationHooksRunAfterTheWindowAndBeforeTheChildren)
{
    struct TOrder {
        TLog Log;
        static void Creation(void *data, TWinControl *sender)
        {
            static_cast<TOrder *>(data)->Log.Add(
                "creation " + sender->ClassName + (sender->Handle ? " with window" : " without") +
                (sender->Children.empty() || sender->Children[0]->Handle ? "" : ", child not yet"));
        }
        static void After(void *data, TWinControl *sender)
        {
            static_cast<TOrder *>(data)->Log.Add("after-create " + sender->ClassName);
        }
    } order;
    AfterCreateHook = {&TOrder::After, &order};
    TWinControl *form = NewForm(nullptr, "parent");
    form->SetVisible(false);
    form->CreationHook = {&TOrder::Creation, &order};
    TWinControl *label = MadeStatic(form, "x", 103);
    label->CreationHook = {&TOrder::Creation, &order};

    ASSERT_TRUE(form->EnsureWindow());
    EXPECT_EQ(order.Log.Entries,
              (std::vector<std::string>{"creation Form with window, child not yet",
                                        "after-create Form", "creation STATIC with window",
                                        "after-create STATIC"}));
    form->Free();
}

TEST_F(LayerTest, TopLevelWindowsGetTheirIconTheApplicationIconCopyOrNone)
{
    HICON appIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    HICON ownIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING));
    ASSERT_NE(appIcon, nullptr);
    ASSERT_NE(ownIcon, nullptr);
    TWinControl *app = NewAppWindow("icons");
    app->SetVisible(false);
    app->Icon = appIcon;
    app->EnsureWindow();
    AppWindow = app;
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(app->Handle, WM_GETICON, ICON_BIG, 0)), appIcon);

    struct TCase {
        const char *What;
        HICON Icon;
    };
    const TCase cases[] = {{"own icon", ownIcon}, {"no icon", NoIcon()}, {"unset", nullptr}};
    for (const TCase &c : cases) {
        TWinControl *form = NewForm(app, c.What);
        form->SetVisible(false);
        form->Icon = c.Icon;
        ASSERT_TRUE(form->EnsureWindow());
        HICON shown = reinterpret_cast<HICON>(SendMessageA(form->Handle, WM_GETICON, ICON_BIG, 0));
        if (c.Icon == ownIcon) {
            EXPECT_EQ(shown, ownIcon) << c.What;
        } else if (c.Icon == NoIcon()) {
            EXPECT_EQ(shown, nullptr) << c.What;
        } else {
            EXPECT_NE(shown, nullptr) << "a copy of the application icon";
            EXPECT_NE(shown, appIcon) << "a copy, not the same handle";
            EXPECT_EQ(form->Icon, shown) << "the icon found is remembered";
            EXPECT_TRUE(form->IconOwned);
        }
        form->Free();
    }
    AppWindow = nullptr;
    app->Free();
}

TEST_F(LayerTest, FreeingAControlDestroysItsWindowAndItsChildren)
{
    TWinControl *form = NewForm(nullptr, "parent");
    form->SetVisible(false);
    TWinControl *label = MadeStatic(form, "x", 104);
    ASSERT_TRUE(form->EnsureWindow());
    HWND formWindow = form->Handle;
    HWND labelWindow = label->Handle;
    EXPECT_EQ(LiveNow(), 2);

    form->Free();
    EXPECT_FALSE(IsWindow(formWindow));
    EXPECT_FALSE(IsWindow(labelWindow));
    EXPECT_EQ(LiveNow(), 0);
}

TEST_F(LayerTest, FreeingAChildLeavesTheParentWithoutIt)
{
    TWinControl *form = NewForm(nullptr, "parent");
    form->SetVisible(false);
    TWinControl *first = MadeStatic(form, "1", 105);
    TWinControl *second = MadeStatic(form, "2", 106);
    ASSERT_TRUE(form->EnsureWindow());
    form->FocusChild = first;
    HWND firstWindow = first->Handle;

    first->Free();
    EXPECT_FALSE(IsWindow(firstWindow));
    EXPECT_EQ(form->Children, (std::vector<TWinControl *>{second}));
    EXPECT_EQ(form->FocusChild, nullptr) << "the parent forgets the freed child";
    form->Free();
    EXPECT_EQ(LiveNow(), 0);
}

TEST_F(LayerTest, ApplicationWindowSystemMenuHasNoSizeMoveOrMaximiseAndRestoreIsGrayed)
{
    TWinControl *app = NewAppWindow("menu");
    app->SetVisible(false);
    ASSERT_TRUE(app->EnsureWindow());
    EXPECT_EQ(GetWindowLongA(app->Handle, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
              LONG(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
    EXPECT_TRUE(GetWindowLongA(app->Handle, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    HMENU menu = GetSystemMenu(app->Handle, FALSE);
    ASSERT_NE(menu, nullptr);
    for (UINT gone : {SC_SIZE, SC_MOVE, SC_MAXIMIZE})
        EXPECT_EQ(GetMenuState(menu, gone, MF_BYCOMMAND), UINT(-1)) << "command " << std::hex << gone;
    EXPECT_TRUE(GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), UINT(-1));
    app->Free();
}

TEST_F(LayerTest, ApplicationWindowCloseCommandPostsCloseToTheMainForm)
{
    TWinControl *app = NewAppWindow("app");
    app->SetVisible(false);
    TWinControl *form = NewForm(app, "main");
    form->SetVisible(false);
    ASSERT_TRUE(app->EnsureWindow());

    EXPECT_EQ(Perform(app, WM_SYSCOMMAND, SC_CLOSE | 3, 0), 0) << "low four bits are ignored";
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, form->Handle, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_TRUE(IsWindow(app->Handle)) << "the command itself closes nothing";
    app->Free();
}

TEST_F(LayerTest, MinimiseOfTheMainFormIsPostedToTheApplicationWindow)
{
    TWinControl *app = NewAppWindow("app");
    app->SetVisible(false);
    TWinControl *form = NewForm(app, "main");
    form->SetVisible(false);
    ASSERT_TRUE(app->EnsureWindow());
    AppWindow = app;

    EXPECT_EQ(Perform(form, WM_SYSCOMMAND, SC_MINIMIZE, 0), 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, app->Handle, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, WPARAM(SC_MINIMIZE));
    EXPECT_FALSE(IsIconic(form->Handle));
    AppWindow = nullptr;
    app->Free();
}

TEST_F(LayerTest, MainWindowIsTheApplicationWindowOrItsFirstForm)
{
    TWinControl *app = NewAppWindow("app");
    TWinControl *first = NewForm(app, "first");
    TWinControl *second = NewForm(app, "second");
    TWinControl *child = MadeStatic(first, "child", 107);
    TWinControl *loose = NewForm(nullptr, "parentless");
    struct TCase {
        const char *What;
        TWinControl *Control;
        bool AppUsed;
        bool Main;
    };
    const TCase cases[] = {
        {"application window", app, true, true}, {"first form", first, true, true},
        {"second form", second, true, false},     {"child control", child, true, false},
        {"parentless form", loose, true, false},  {"parentless form, no app", loose, false, true},
    };
    for (const TCase &c : cases) {
        AppWindowUsed = c.AppUsed;
        EXPECT_EQ(c.Control->IsMainWindow(), c.Main) << c.What;
    }
    loose->Free();
    app->Free();
    EXPECT_EQ(LiveNow(), 0);
}

TEST_F(LayerTest, ShowWindowFromTheParentRemembersAndReplaysTheShowCommand)
{
    TWinControl *form = NewForm(nullptr, "shown");
    form->SetBounds(10, 10, 120, 80);
    ASSERT_TRUE(form->EnsureWindow());
    ASSERT_TRUE(IsWindowVisible(form->Handle));

    SendMessageA(form->Handle, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
    EXPECT_EQ(form->PendingShowCmd, SW_SHOWNOACTIVATE);
    ShowWindow(form->Handle, SW_HIDE);

    EXPECT_EQ(SendMessageA(form->Handle, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING), 0);
    EXPECT_TRUE(IsWindowVisible(form->Handle)) << "the remembered command shows it again";
    EXPECT_EQ(form->PendingShowCmd, 0) << "and is forgotten";

    ShowWindow(form->Handle, SW_HIDE);
    SendMessageA(form->Handle, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
    EXPECT_FALSE(IsWindowVisible(form->Handle)) << "nothing remembered, nothing shown";
    form->Free();
}

TEST_F(LayerTest, SizeMessageRemembersTheSizeTypeAndRearrangesParentThenControl)
{
    TWinControl *form = NewForm(nullptr, "parent");
    form->SetVisible(false);
    TWinControl *label = MadeStatic(form, "x", 108);
    ASSERT_TRUE(form->EnsureWindow());
    TLog log;
    struct TAlign {
        static void Run(void *data, TWinControl *sender)
        {
            static_cast<TLog *>(data)->Add(sender->ClassName);
        }
    };
    AlignHook = {&TAlign::Run, &log};

    SendMessageA(label->Handle, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(30, 10));
    EXPECT_EQ(label->SizeState, SIZE_MAXIMIZED);
    EXPECT_EQ(log.Entries, (std::vector<std::string>{"Form", "STATIC"}));

    log.Entries.clear();
    label->NotAligned = true;
    SendMessageA(label->Handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(30, 10));
    EXPECT_EQ(label->SizeState, SIZE_RESTORED);
    EXPECT_EQ(log.Entries, (std::vector<std::string>{"STATIC"})) << "excluded from alignment";
    AlignHook = {};
    form->Free();
}

TEST_F(LayerTest, SetCursorUsesTheScreenCursorThenTheControlCursorInTheClientArea)
{
    TWinControl *form = MadeForm();
    HCURSOR cross = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
    HCURSOR wait = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
    HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    HCURSOR stale = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_IBEAM));
    // Default processing shows the class cursor, the arrow.
    struct TCase {
        const char *What;
        HCURSOR Screen;
        HCURSOR Own;
        int Lock;
        WORD Hit;
        HCURSOR Expected;
    };
    const TCase cases[] = {
        {"screen cursor first", wait, cross, 0, HTCLIENT, wait},
        {"then the control's", nullptr, cross, 0, HTCLIENT, cross},
        {"locked: default", wait, cross, 1, HTCLIENT, arrow},
        {"outside the client area: default", wait, cross, 0, HTCAPTION, arrow},
        {"no cursor of ours: default", nullptr, nullptr, 0, HTCLIENT, arrow},
    };
    for (const TCase &c : cases) {
        SetCursor(stale);
        ScreenCursor = c.Screen;
        CursorLock = c.Lock;
        form->Cursor = c.Own;
        const LRESULT result =
            SendMessageA(form->Handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle),
                         MAKELPARAM(c.Hit, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), c.Expected) << c.What;
        if (c.Expected != arrow) {
            EXPECT_EQ(result, 1) << c.What;
        }
    }
    ScreenCursor = nullptr;
    CursorLock = 0;
    form->Free();
}

TEST_F(LayerTest, FormBackgroundIsFilledWithTheFormColour)
{
    struct TCase {
        uint32_t Color;
        bool Transparent;
        COLORREF Expected;
    };
    const COLORREF marker = RGB(1, 2, 3);
    const TCase cases[] = {
        {0x8000000F, false, GetSysColor(COLOR_BTNFACE)},
        {0xFF00000F, false, GetSysColor(COLOR_BTNFACE)},
        {0x000000FF, false, RGB(255, 0, 0)},
        {0x00FF0000, true, marker},
    };
    for (const TCase &c : cases) {
        TWinControl *form = NewForm(nullptr, "background");
        form->SetVisible(false);
        form->SetBounds(0, 0, 120, 90);
        form->Color = c.Color;
        form->Transparent = c.Transparent;
        ASSERT_TRUE(form->EnsureWindow());
        RECT client{};
        GetClientRect(form->Handle, &client);
        ASSERT_GT(client.right, 4);
        ASSERT_GT(client.bottom, 4);

        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        HGDIOBJ old = SelectObject(dc, bitmap);
        HBRUSH prefill = CreateSolidBrush(marker);
        FillRect(dc, &client, prefill);
        DeleteObject(prefill);

        SendMessageA(form->Handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);

        SelectObject(dc, old);
        for (POINT p : {POINT{0, 0}, POINT{client.right - 1, client.bottom - 1}})
            EXPECT_EQ(PixelOf(dc, bitmap, p.x, p.y, client.bottom), c.Expected)
                << "colour " << std::hex << c.Color << " at " << std::dec << p.x << "," << p.y;
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        form->Free();
    }
}

TEST_F(LayerTest, InvalidateMarksTheWindowAndTellsTheHookUnlessTheLoopEnded)
{
    TWinControl *form = NewForm(nullptr, "invalid");
    form->SetBounds(0, 0, 100, 60);
    ASSERT_TRUE(form->EnsureWindow());
    int told = 0;
    struct THook {
        static void Run(void *data, TWinControl *) { ++*static_cast<int *>(data); }
    };
    InvalidateHook = {&THook::Run, &told};

    ValidateRect(form->Handle, nullptr);
    LoopTerminated = true;
    Invalidate(form);
    EXPECT_FALSE(GetUpdateRect(form->Handle, nullptr, FALSE)) << "after the loop ended";
    EXPECT_EQ(told, 0);

    LoopTerminated = false;
    Invalidate(form);
    EXPECT_TRUE(GetUpdateRect(form->Handle, nullptr, FALSE));
    EXPECT_EQ(told, 1);
    form->SetVisible(false);
    form->Free();
}

TEST_F(LayerTest, FormThatGetsTheFocusBecomesTheApplicationFocusChild)
{
    TWinControl *app = NewAppWindow("app");
    app->SetVisible(false);
    TWinControl *form = NewForm(app, "focus");
    form->SetVisible(false);
    ASSERT_TRUE(app->EnsureWindow());
    AppWindow = app;

    SendMessageA(form->Handle, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(app->FocusChild, form);

    form->Free();
    EXPECT_EQ(app->FocusChild, nullptr) << "a freed form is forgotten";
    AppWindow = nullptr;
    app->Free();
}

TEST_F(LayerTest, ForeignChildOfATransparentControlPaintsNoBackground)
{
    // A window class of someone else's that erases with a white brush.
    WNDCLASSA foreignClass{};
    foreignClass.lpfnWndProc = &DefWindowProcA;
    foreignClass.hInstance = GetModuleHandleA(nullptr);
    foreignClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    foreignClass.lpszClassName = "TestForeignChild";
    RegisterClassA(&foreignClass);
    TWinControl *form = MadeForm();
    HWND foreign = CreateWindowExA(0, "TestForeignChild", "foreign", WS_CHILD | WS_VISIBLE, 0, 0,
                                   40, 20, form->Handle, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    WNDPROC systemProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(foreign, GWLP_WNDPROC));

    SubclassForeignChildren(form);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetPropA(foreign, PrevProcProp)), systemProc);
    const LONG_PTR subclassed = GetWindowLongPtrA(foreign, GWLP_WNDPROC);
    SubclassForeignChildren(form);
    EXPECT_EQ(GetWindowLongPtrA(foreign, GWLP_WNDPROC), subclassed) << "a second call changes nothing";
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetPropA(foreign, PrevProcProp)), systemProc);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 20);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 40, 20};
    HBRUSH marker = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(dc, &all, marker);
    DeleteObject(marker);

    form->Transparent = true;
    EXPECT_EQ(SendMessageA(foreign, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(SendMessageA(foreign, WM_NCPAINT, 1, 0), 0);
    SelectObject(dc, old);
    EXPECT_EQ(PixelOf(dc, bitmap, 5, 5, 20), RGB(1, 2, 3)) << "nothing painted";
    EXPECT_EQ(TextOf(foreign), "foreign") << "everything else goes to the old procedure";

    form->Transparent = false;
    old = SelectObject(dc, bitmap);
    SendMessageA(foreign, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SelectObject(dc, old);
    EXPECT_EQ(PixelOf(dc, bitmap, 5, 5, 20), RGB(255, 255, 255)) << "an opaque parent: the child erases";

    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    form->Free();
}

TEST_F(LayerTest, ReleaseMessageFreesTheObjectAndItsWindow)
{
    TWinControl *form = MadeForm();
    HWND window = form->Handle;
    EXPECT_EQ(SendMessageA(window, WM_LAYER_RELEASE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(LiveNow(), 0);
}

TEST_F(LayerTest, DestroyedWindowOfTheMainFormLeavesItsObjectWithoutAHandle)
{
    TWinControl *app = NewAppWindow("app");
    app->SetVisible(false);
    TWinControl *form = NewForm(app, "main");
    form->SetVisible(false);
    ASSERT_TRUE(app->EnsureWindow());
    HWND window = form->Handle;

    DestroyWindow(window);
    EXPECT_EQ(form->Handle, nullptr) << "the object forgets the dead window";
    EXPECT_EQ(LiveNow(), 2) << "the main form's object stays with the application window";
    EXPECT_EQ(app->Children, (std::vector<TWinControl *>{form}));
    app->Free();
    EXPECT_EQ(LiveNow(), 0);
}

TEST_F(LayerTest, MciNotificationGoesToTheNotifyRoutineWithResult0)
{
    TWinControl *form = MadeForm();
    struct TNotify {
        int Calls = 0;
        LPARAM Device = 0;
        static void Run(void *data, TWinControl *, MSG &msg, LRESULT &result)
        {
            auto *self = static_cast<TNotify *>(data);
            ++self->Calls;
            self->Device = msg.lParam;
            result = 77;
        }
    } notify;
    EXPECT_EQ(SendMessageA(form->Handle, MciNotifyMessage, 1, 5), 0) << "no routine set";
    MciNotifyHook = {&TNotify::Run, &notify};
    EXPECT_EQ(SendMessageA(form->Handle, MciNotifyMessage, 1, 5), 0);
    EXPECT_EQ(notify.Calls, 1);
    EXPECT_EQ(notify.Device, 5);
    form->Free();
}

TEST_F(LayerTest, SetFocusMessageFocusesAnEnabledTabStopControlOnly)
{
    struct TCase {
        bool TabStop;
        bool Enabled;
        bool Focused;
    };
    const TCase cases[] = {{true, true, true}, {false, true, false}, {true, false, false}};
    for (const TCase &c : cases) {
        TWinControl *form = NewForm(nullptr, "focus");
        form->SetBounds(0, 0, 100, 80);
        TWinControl *label = MadeStatic(form, "x", 109);
        label->TabStop = c.TabStop;
        if (!c.Enabled)
            label->Style |= WS_DISABLED;
        ASSERT_TRUE(form->EnsureWindow());
        SetFocus(form->Handle);
        ASSERT_EQ(GetFocus(), form->Handle);

        SendMessageA(label->Handle, WM_SETFOCUS, 0, 0);
        EXPECT_EQ(GetFocus() == label->Handle, c.Focused)
            << "tab stop " << c.TabStop << ", enabled " << c.Enabled;
        form->SetVisible(false);
        form->Free();
    }
}
