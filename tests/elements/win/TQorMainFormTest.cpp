// The main form element on the window layer: start, close protocol, position
// saving in an ini file and in the registry, window state, opacity, border
// styles; and the tray icon on it the way the program wires them.
#include <algorithm>
#include <cstdio>

#include "WinTestKit.h"
#include "winlayer/NumText.h"

using namespace winlayer;
using namespace wintest;

namespace {

struct MainFormTest : ElementTest {
    bool QuitPosted()
    {
        MSG msg;
        return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }
};

std::string TestFolder()
{
    char path[MAX_PATH] = {};
    GetTempPathA(sizeof path, path);
    return path;
}

std::string IniValue(const std::string &File, const std::string &Section, const std::string &Key)
{
    char value[64] = {};
    GetPrivateProfileStringA(Section.c_str(), Key.c_str(), "", value, sizeof value, File.c_str());
    return value;
}

int32_t RegistryValue(const std::string &Key, const char *Name, DWORD *Type = nullptr)
{
    HKEY handle = nullptr;
    int32_t value = -1;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return value;
    DWORD size = sizeof value;
    RegQueryValueExA(handle, Name, nullptr, Type, reinterpret_cast<BYTE *>(&value), &size);
    RegCloseKey(handle);
    return value;
}

} // namespace

TEST_F(MainFormTest, TheFirstFormMakesTheApplicationObjectAndStaysHidden)
{
    ASSERT_EQ(Application, nullptr);
    TQorMainForm *form = MakeMainForm();
    EXPECT_EQ(form->IsMain, 1);
    ASSERT_NE(Application, nullptr);
    EXPECT_EQ(form->Control->Parent, Application) << "the form sits in the application object";
    ASSERT_NE(form->Control->Handle, nullptr);
    EXPECT_FALSE(IsWindowVisible(form->Control->Handle)) << "hidden until Start";
    EXPECT_FALSE(IsWindowVisible(Application->Handle));
    EXPECT_EQ(DebugMessageOwner(), static_cast<void *>(Application->Handle))
        << "the complaint box belongs to the application window";

    TQorMainForm *second = Elements.Make<TQorMainForm>(form->Control);
    EXPECT_EQ(second->IsMain, 0) << "only the first form is the main form";
    EXPECT_EQ(second->Control->Parent, form->Control);
}

TEST_F(MainFormTest, StartSwitchesDispatchOnAndRaisesOnCreateOnce)
{
    TQorMainForm *form = MakeMainForm();
    SinkFor(form->onCreate, "create");
    SinkFor(form->onShow, "show");
    ASSERT_FALSE(HooksRunning());
    form->Start();
    EXPECT_TRUE(HooksRunning());
    EXPECT_TRUE(Started);
    EXPECT_EQ(Log, std::vector<std::string>{"create: null"}) << "raised once, from the start list";
    EXPECT_FALSE(IsWindowVisible(form->Control->Handle)) << "Visible 0 keeps it hidden";
    EXPECT_FALSE(IsWindowVisible(Application->Handle));
    RunStartList();
    EXPECT_EQ(Log.size(), 1u) << "the start list is empty afterwards";
}

TEST_F(MainFormTest, AVisibleFormIsShownByStart)
{
    TQorMainForm *form = MakeMainForm(200, 150, 1);
    EXPECT_FALSE(IsWindowVisible(form->Control->Handle)) << "Init keeps even a visible form hidden";
    SinkFor(form->onCreate, "create");
    SinkFor(form->onShow, "show");
    form->Start();
    EXPECT_TRUE(IsWindowVisible(form->Control->Handle));
    EXPECT_EQ(Log, (std::vector<std::string>{"create: null", "show: null"})) << "created before shown";
}

TEST_F(MainFormTest, CloseQueryAnsweringNonZeroRefusesAUserClose)
{
    TQorMainForm *form = MakeMainForm();
    SinkFor(form->onClose, "close");
    TData one;
    one.dtInteger(1);
    Source *query = SourceFor(form->CloseQuery, one);
    form->Start();

    SendMessageA(form->Control->Handle, WM_CLOSE, 0, 0);
    EXPECT_EQ(query->Reads, 1);
    EXPECT_TRUE(Log.empty()) << "refused: no onClose";
    EXPECT_TRUE(HooksRunning());
    EXPECT_FALSE(QuitPosted()) << "the program goes on";

    SendMessageA(form->Control->Handle, WM_CLOSE, 0, 1);
    EXPECT_EQ(query->Reads, 1) << "a forced close asks nobody";
    EXPECT_EQ(Log, std::vector<std::string>{"close: null"});
    EXPECT_FALSE(HooksRunning()) << "dispatch is off after onClose";
    EXPECT_TRUE(QuitPosted()) << "the close went on to end the loop";
}

TEST_F(MainFormTest, AfterOnCloseNothingReachesAnyElement)
{
    TQorMainForm *form = MakeMainForm();
    TQorLED *led = Elements.Make<TQorLED>(form->Control);
    Configure(led, 5, 5, 15, 15);
    led->Init();
    SinkFor(form->onClose, "close");
    SinkFor(led->onChange, "led");
    Sink *late = SinkFor(form->onMouseUp, "mouse up");
    form->Start();

    SendMessageA(form->Control->Handle, WM_CLOSE, 0, 0);
    ASSERT_EQ(Log, std::vector<std::string>{"close: null"});
    SendMessageA(form->Control->Handle, WM_LBUTTONUP, 0, 0);
    TPointLink on;
    LinkEvent(on, led, &TQorLED::doOn, 0);
    CallEventNull(on);
    EXPECT_EQ(Log, std::vector<std::string>{"close: null"}) << "no event after onClose";
    EXPECT_TRUE(late->Got.empty());
    EXPECT_EQ(led->On, 0) << "the LED never heard of it";
    QuitPosted();
}

TEST_F(MainFormTest, AnIniPositionRoundTripsThroughTheFileBesideTheProgram)
{
    static std::string folder;
    folder = TestFolder();
    const auto oldFolder = TQorMainForm::IniFolder;
    TQorMainForm::IniFolder = [] { return folder; };
    const std::string file = folder + "tervik_position.ini";
    DeleteFileA(file.c_str());

    TQorMainForm *form = Elements.Make<TQorMainForm>(nullptr);
    Configure(form, 40, 40, 200, 150, 1, 0);
    form->SavePosition = "tervik_position.ini\\Main";
    form->Init();
    form->Start();
    form->Control->SetBounds(61, 72, 233, 144);
    SendMessageA(form->Control->Handle, WM_CLOSE, 0, 0);
    QuitPosted();

    EXPECT_EQ(IniValue(file, "Main", "Left"), "61");
    EXPECT_EQ(IniValue(file, "Main", "Top"), "72");
    EXPECT_EQ(IniValue(file, "Main", "Width"), "233");
    EXPECT_EQ(IniValue(file, "Main", "Height"), "144");
    RunStartList();
    Elements.FreeElements();

    TQorMainForm *again = Elements.Make<TQorMainForm>(nullptr);
    Configure(again, 40, 40, 200, 150, 1, 1);
    again->SavePosition = "tervik_position.ini\\Main";
    again->Init();
    EXPECT_EQ(again->Control->Left(), 40) << "loaded at the first show, not before";
    again->Start();
    const RECT b = again->Control->BoundsRect();
    EXPECT_EQ(b.left, 61);
    EXPECT_EQ(b.top, 72);
    EXPECT_EQ(b.right - b.left, 233);
    EXPECT_EQ(b.bottom - b.top, 144);

    TQorMainForm::IniFolder = oldFolder;
    DeleteFileA(file.c_str());
}

TEST_F(MainFormTest, AnIniNameInCapitalsSavesToTheRegistryUnderSoftware)
{
    const std::string key = "Software\\Tervik.INI\\Main";
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    TQorMainForm *form = Elements.Make<TQorMainForm>(nullptr);
    Configure(form, 40, 40, 200, 150, 1, 0);
    form->SavePosition = "Tervik.INI\\Main";
    form->Init();
    form->Start();
    form->Control->SetBounds(15, 25, 210, 160);
    SendMessageA(form->Control->Handle, WM_CLOSE, 0, 0);
    QuitPosted();

    DWORD type = 0;
    EXPECT_EQ(RegistryValue(key, "Left", &type), 15);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(RegistryValue(key, "Top"), 25);
    EXPECT_EQ(RegistryValue(key, "Width"), 210);
    EXPECT_EQ(RegistryValue(key, "Height"), 160);
    EXPECT_FALSE(GetFileAttributesA((TQorMainForm::IniFolder() + "Tervik.INI").c_str()) !=
                 INVALID_FILE_ATTRIBUTES)
        << "no ini file was written";
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

TEST_F(MainFormTest, RegistryValuesOfFourBytesAreBoundsWhateverTheirType)
{
    const std::string key = "Software\\TervikTest\\Load";
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &handle, nullptr),
              ERROR_SUCCESS);
    const int32_t left = 33;
    const int64_t tooLong = 44;
    const int32_t height = 123;
    const int32_t width = 321;
    RegSetValueExA(handle, "Left", 0, REG_BINARY, reinterpret_cast<const BYTE *>(&left), 4);
    RegSetValueExA(handle, "Top", 0, REG_BINARY, reinterpret_cast<const BYTE *>(&tooLong), 8);
    RegSetValueExA(handle, "Height", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&height), 4);
    RegSetValueExA(handle, "Width", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&width), 4);
    RegCloseKey(handle);

    TQorMainForm *form = Elements.Make<TQorMainForm>(nullptr);
    Configure(form, 40, 50, 200, 150, 1, 1);
    form->SavePosition = "TervikTest\\Load";
    form->Init();
    form->Start();
    const RECT b = form->Control->BoundsRect();
    EXPECT_EQ(b.left, 33) << "a 4-byte binary value is used";
    EXPECT_EQ(b.top, 50) << "an 8-byte value is skipped";
    EXPECT_EQ(b.bottom - b.top, 123) << "and the values after it are still read";
    EXPECT_EQ(b.right - b.left, 321);
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TervikTest");
}

TEST_F(MainFormTest, AlphaBlend255OnANeverLayeredFormChangesNothing)
{
    TQorMainForm *form = MakeMainForm();
    static int styleChanges;
    styleChanges = 0;
    form->Control->OnMessage = TMessageHandler{[](void *previous, TWinControl *sender, MSG &msg, LRESULT &result) {
                                                   if (msg.message == WM_STYLECHANGING)
                                                       ++styleChanges;
                                                   auto *chained = static_cast<TMessageHandler *>(previous);
                                                   return *chained ? (*chained)(sender, msg, result) : false;
                                               },
                                               new TMessageHandler(form->Control->OnMessage)};
    auto *chained = static_cast<TMessageHandler *>(form->Control->OnMessage.Data);
    const LONG before = GetWindowLongA(form->Control->Handle, GWL_EXSTYLE);
    form->AlphaBlend = 255;
    form->ApplyAlphaBlend();
    EXPECT_EQ(styleChanges, 0) << "no style was touched";
    EXPECT_EQ(GetWindowLongA(form->Control->Handle, GWL_EXSTYLE), before);
    EXPECT_FALSE(before & WS_EX_LAYERED);

    form->AlphaBlend = 128;
    form->ApplyAlphaBlend();
    EXPECT_TRUE(GetWindowLongA(form->Control->Handle, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    using TGetLayered = BOOL(WINAPI *)(HWND, COLORREF *, BYTE *, DWORD *);
    auto getLayered = reinterpret_cast<TGetLayered>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "GetLayeredWindowAttributes")));
    if (getLayered) {
        ASSERT_TRUE(getLayered(form->Control->Handle, nullptr, &alpha, &flags));
        EXPECT_EQ(alpha, 128);
        EXPECT_TRUE(flags & LWA_ALPHA);
    }
    styleChanges = 0;
    form->ApplyAlphaBlend();
    EXPECT_EQ(styleChanges, 0) << "an unchanged value does nothing";

    form->AlphaBlend = 255;
    form->ApplyAlphaBlend();
    EXPECT_FALSE(GetWindowLongA(form->Control->Handle, GWL_EXSTYLE) & WS_EX_LAYERED) << "opaque again";
    form->Control->OnMessage = *chained;
    delete chained;
}

TEST_F(MainFormTest, WindowStateIsAppliedOnlyAtTheFirstShow)
{
    TQorMainForm *form = Elements.Make<TQorMainForm>(nullptr);
    Configure(form, 40, 40, 200, 150, 1, 1);
    form->WindowState = 2;
    form->Init();
    SinkFor(form->onShow, "show");
    form->Start();
    EXPECT_TRUE(IsZoomed(form->Control->Handle)) << "maximised at the first show";
    EXPECT_EQ(form->FirstShowDone, 1);

    ShowWindow(form->Control->Handle, SW_RESTORE);
    form->Control->SetVisible(false);
    form->Control->SetVisible(true);
    EXPECT_FALSE(IsZoomed(form->Control->Handle)) << "later shows keep what the user did";
    EXPECT_GE(Log.size(), 2u);
}

TEST_F(MainFormTest, BorderStylesReplaceTheFrameBits)
{
    TQorMainForm *form = MakeMainForm();
    struct Case {
        uint8_t Value;
        DWORD Style;
        DWORD ExStyle;
    };
    const Case cases[] = {
        {0, 0, 0},
        {1, 0x00C20000, 0},
        {2, 0x00C70000, 0},
        {3, 0x00C00000, 0x100},
        {4, 0x00C00000, 0x80},
        {5, 0x00C40000, 0x80},
        {6, 0, 0x1},
        {7, 0x00040000, 0x80},
        {8, 0, 0x201},
        {9, 0x00040000, 0x200},
        {10, 0x00040000, 0x200}, // ignored: the style before stays
    };
    for (const Case &c : cases) {
        form->SetBorderStyle(c.Value);
        EXPECT_EQ(form->Control->Style & 0x00C70000, c.Style) << "border style " << int(c.Value);
        // 0x200 lies outside the replaced bits: styles 8 and 9 add it, none takes it away.
        EXPECT_EQ(form->Control->ExStyle & 0x381, c.ExStyle) << "border style " << int(c.Value);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(form->Control->Handle, GWL_STYLE)) & 0x00C70000, c.Style)
            << "applied to the window";
    }
}

TEST_F(MainFormTest, CaptionAndIconGoToTheApplicationWindowToo)
{
    TQorMainForm *form = MakeMainForm();
    form->SetCaption("Tervik v4");
    EXPECT_EQ(TextOf(form->Control->Handle), "Tervik v4");
    EXPECT_EQ(TextOf(Application->Handle), "Tervik v4") << "the taskbar text";

    HICON icon = LoadIconA(GetModuleHandleA(nullptr), "ICON0");
    ASSERT_NE(icon, nullptr) << "the test links the program's resources";
    form->SetIcon(icon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(form->Control->Handle, WM_GETICON, ICON_BIG, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(Application->Handle, WM_GETICON, ICON_BIG, 0)), icon);
    EXPECT_EQ(form->Control->Icon, icon);
}

TEST_F(MainFormTest, ActivationRaisesActivateOrDeactivate)
{
    TQorMainForm *form = MakeMainForm();
    SinkFor(form->onActivate, "activate");
    SinkFor(form->onDeactivate, "deactivate");
    Running running;
    struct Case {
        WPARAM WParam;
        std::string Expected;
    };
    const Case cases[] = {
        {WA_ACTIVE, "activate: null"},
        {WA_CLICKACTIVE, "activate: null"},
        {WA_INACTIVE, "deactivate: null"},
        {MAKEWPARAM(WA_INACTIVE, 1), "deactivate: null"}, // deactivated while minimised
    };
    for (const Case &c : cases) {
        Log.clear();
        SendMessageA(form->Control->Handle, WM_ACTIVATE, c.WParam, 0);
        // The default processing of an activation may activate the window for real
        // and so report it once more; never the other event.
        ASSERT_FALSE(Log.empty()) << "wParam 0x" << std::hex << c.WParam;
        for (const std::string &event : Log)
            EXPECT_EQ(event, c.Expected) << "wParam 0x" << std::hex << c.WParam;
    }
}

TEST_F(MainFormTest, TheMainFormCarriesTheApplicationWindowAlong)
{
    TQorMainForm *form = MakeMainForm();
    form->Control->SetBounds(123, 77, 250, 160);
    RECT app{};
    GetWindowRect(Application->Handle, &app);
    EXPECT_EQ(app.left, 123);
    EXPECT_EQ(app.top, 77);
    EXPECT_EQ(app.right - app.left, 250) << "the application window has the form's width";
}

TEST_F(MainFormTest, ASecondaryFormFollowsItsSourceAndClosesByHiding)
{
    TQorMainForm *form = MakeMainForm();
    form->Name = "Main";
    SinkFor(form->onClose, "main close");
    TQorMainForm *second = Elements.Make<TQorMainForm>(form->Control);
    Configure(second, 0, 0, 100, 80, 1, 1);
    second->PositionSource = form->GetControl();
    second->FollowOffsetX = 10;
    second->FollowOffsetY = 20;
    second->Init();
    SinkFor(second->onClose, "second close");
    const HWND secondWindow = second->Control->Handle;
    const std::vector<HWND> &listed = TQorMainForm::SecondaryForms();
    EXPECT_EQ(std::count(listed.begin(), listed.end(), secondWindow), 1) << "listed as a secondary form";
    EXPECT_EQ(second->IsMain, 0);

    form->Start();
    ASSERT_TRUE(IsWindowVisible(secondWindow));
    const int width = second->Control->Width();
    form->Control->SetBounds(200, 100, 200, 150);
    Settle(); // the inner message is posted
    RECT b{};
    GetWindowRect(secondWindow, &b);
    EXPECT_EQ(b.left, 210) << "the source's left plus the offset";
    EXPECT_EQ(b.top, 120);
    EXPECT_EQ(b.right - b.left, width) << "its own size";

    SendMessageA(secondWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(secondWindow)) << "a secondary form is kept";
    EXPECT_FALSE(IsWindowVisible(secondWindow)) << "and hidden";
    EXPECT_TRUE(Log.empty()) << "no close events: secondary forms only hide";
    EXPECT_TRUE(HooksRunning());
    StopHooks();

    Elements.FreeElements();
    EXPECT_EQ(std::count(listed.begin(), listed.end(), secondWindow), 0) << "unlisted when freed";
}

// ---- The tray icon on the main form, wired as the program wires them -------------

TEST_F(MainFormTest, AButtonReleaseOnTheFormHidesItToTheTrayAndAClickOnTheIconBringsItBack)
{
    TrayRecorder recorder;
    TQorMainForm *form = MakeMainForm(200, 150, 0);
    TQorTrayIcon *tray = Elements.Make<TQorTrayIcon>(form->Control);
    tray->KeepIcon = 1;
    LinkEvent(form->onMouseUp, tray, &TQorTrayIcon::doHide, 1);
    LinkEvent(tray->onClick, tray, &TQorTrayIcon::doRestore, 0);
    LinkEvent(form->onCreate, tray, &TQorTrayIcon::doShowIcon, 3);
    form->Start();
    EXPECT_EQ(TrayRecorder::IconsShown(), 1) << "the icon is added at start";
    EXPECT_FALSE(IsWindowVisible(form->Control->Handle)) << "only the icon shows";

    SendMessageA(form->Control->Handle, 0x401, 1, WM_RBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(form->Control->Handle)) << "a click on the icon shows the form";
    EXPECT_EQ(TrayRecorder::IconsShown(), 1) << "and keeps the icon";

    SendMessageA(form->Control->Handle, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_FALSE(IsWindowVisible(form->Control->Handle)) << "a release on the form hides it";
    EXPECT_FALSE(IsWindowVisible(Application->Handle));
    EXPECT_EQ(TrayRecorder::IconsShown(), 1);
}

TEST_F(MainFormTest, CloseToTrayHidesAUserCloseButAForcedCloseStillCloses)
{
    TrayRecorder recorder;
    TQorMainForm *form = MakeMainForm(200, 150, 1);
    TQorTrayIcon *tray = Elements.Make<TQorTrayIcon>(form->Control);
    tray->CloseToTray = 1;
    tray->MinimizeNormally = 1;
    SinkFor(form->onClose, "close");
    form->Start();

    SendMessageA(form->Control->Handle, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Log.empty()) << "a user close only hides the form";
    EXPECT_FALSE(IsWindowVisible(form->Control->Handle));
    EXPECT_EQ(TrayRecorder::IconsShown(), 1);

    SendMessageA(form->Control->Handle, WM_CLOSE, 0, 1);
    EXPECT_EQ(Log, std::vector<std::string>{"close: null"}) << "a forced close closes";
    EXPECT_TRUE(QuitPosted());
}
