// The main form element on the window layer: the close protocol, activation,
// and position saving in an ini file and in the registry. (The entry and
// end-to-end tests see the program's form and application window stay hidden
// through the start, and the start's download run once.)
#include "WinTestKit.h"

using namespace wintest;

namespace {

struct MainFormTest : ElementTest {
    bool QuitPosted()
    {
        MSG msg;
        return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }
    // Where a form that saves its position comes up on its first show (the form
    // alone is shown: a window shown under Wine costs seconds).
    RECT ShownAt(const std::string &SavePosition)
    {
        TQorMainForm *form = MakeMainForm(200, 150, 0, SavePosition);
        form->Start();
        EXPECT_EQ(form->Control->Left(), 40) << "loaded at the first show, not before";
        form->Control->SetVisible(true);
        const RECT bounds = form->Control->BoundsRect();
        StopHooks();
        Elements.FreeElements();
        return bounds;
    }
};

} // namespace

TEST_F(MainFormTest, CloseQueryAnsweringOneRefusesAUserCloseButNotAForcedOneAfterWhichNothingReachesAnyElement)
{
    TQorMainForm *form = MakeMainForm();
    TQorLED *led = MakeLed(form, 0);
    SinkFor(form->onClose, "close");
    SinkFor(led->onChange, "led");
    SinkFor(form->onMouseUp, "mouse up");
    Source *query = Elements.Make<Source>();
    query->Answer = IntData(1);
    LinkData(form->CloseQuery, query, &Source::Value, 0);
    form->Start();
    SendMessageA(form->Control->Handle, WM_CLOSE, 0, 0);
    EXPECT_EQ(query->Reads, 1);
    EXPECT_TRUE(Log.empty()) << "refused: no onClose";
    EXPECT_FALSE(QuitPosted()) << "the program goes on";
    SendMessageA(form->Control->Handle, WM_CLOSE, 0, 1);
    EXPECT_EQ(query->Reads, 1) << "a forced close asks nobody";
    EXPECT_TRUE(QuitPosted()) << "the close went on to end the loop";

    EXPECT_FALSE(HooksRunning());
    SendMessageA(form->Control->Handle, WM_LBUTTONUP, 0, 0);
    TPointLink on;
    LinkEvent(on, led, &TQorLED::doOn, 0);
    CallEventNull(on);
    EXPECT_EQ(Log, Journal{"close: null"}) << "no event after onClose";
    EXPECT_EQ(led->On, 0) << "the LED never heard of it";
}

TEST_F(MainFormTest, ThePositionRoundTripsThroughTheIniFileOrForCapitalsTheRegistryWhereFourByteValuesAreBounds)
{
    static std::string folder;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    folder = temp;
    const auto oldFolder = TQorMainForm::IniFolder;
    TQorMainForm::IniFolder = [] { return folder; };
    const std::string file = folder + "tervik_position.ini", key = "Software\\Tervik.INI\\Main";
    DeleteFileA(file.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    const std::pair<const char *, std::vector<LONG>> cases[] = {{"tervik_position.ini\\Main", {61, 72, 233, 144}},
                                                                {"Tervik.INI\\Main", {15, 25, 210, 160}}};
    for (const auto &[save, bounds] : cases) {
        TQorMainForm *form = MakeMainForm(200, 150, 0, save); // started, moved and closed
        form->Start();
        form->Control->SetBounds(bounds[0], bounds[1], bounds[2], bounds[3]);
        SendMessageA(form->Control->Handle, WM_CLOSE, 0, 0);
        QuitPosted();
        RunStartList();
        Elements.FreeElements();
        const RECT b = ShownAt(save);
        EXPECT_EQ(std::vector<LONG>({b.left, b.top, b.right - b.left, b.bottom - b.top}), bounds) << save;
    }
    char width[16] = {};
    GetPrivateProfileStringA("Main", "Width", "", width, sizeof width, file.c_str());
    EXPECT_STREQ(width, "233") << "in section Main of " << file;
    EXPECT_EQ(GetFileAttributesA((folder + "Tervik.INI").c_str()), INVALID_FILE_ATTRIBUTES) << "no ini file for capitals";
    HKEY handle = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_ALL_ACCESS, &handle), ERROR_SUCCESS) << key;
    DWORD type = 0, left = 0, size = sizeof left;
    RegQueryValueExA(handle, "Left", nullptr, &type, reinterpret_cast<BYTE *>(&left), &size);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(left, 15u);

    // Stored values of four bytes are bounds whatever their type; one of
    // another size is no bound: it is skipped.
    const int32_t binaryLeft = 33;
    const int16_t shortTop = 44;
    const int64_t longWidth = 321;
    RegSetValueExA(handle, "Left", 0, REG_BINARY, reinterpret_cast<const BYTE *>(&binaryLeft), 4);
    RegSetValueExA(handle, "Top", 0, REG_BINARY, reinterpret_cast<const BYTE *>(&shortTop), 2);
    RegSetValueExA(handle, "Width", 0, REG_BINARY, reinterpret_cast<const BYTE *>(&longWidth), 8);
    RegCloseKey(handle);
    const RECT b = ShownAt("Tervik.INI\\Main");
    EXPECT_EQ(std::vector<LONG>({b.left, b.top, b.right - b.left, b.bottom - b.top}),
              std::vector<LONG>({33, 40, 200, 160}))
        << "the 2- and 8-byte values keep the design's top and width";
    TQorMainForm::IniFolder = oldFolder;
    DeleteFileA(file.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

// Only the low word tells activation: a minimised form deactivated has 1 in the high word.
TEST_F(MainFormTest, ActivationRaisesActivateOrDeactivateByTheLowWordAlone)
{
    TQorMainForm *form = MakeMainForm();
    SinkFor(form->onActivate, "activate");
    SinkFor(form->onDeactivate, "deactivate");
    Running running;
    const std::pair<WPARAM, std::string> cases[] = {{WA_CLICKACTIVE, "activate: null"},
                                                    {MAKEWPARAM(WA_INACTIVE, 1), "deactivate: null"}};
    for (const auto &[wParam, expected] : cases) {
        Log.clear();
        SendMessageA(form->Control->Handle, WM_ACTIVATE, wParam, 0);
        // The default processing may activate the window for real and report it once more.
        ASSERT_FALSE(Log.empty()) << "wParam 0x" << std::hex << wParam;
        for (const std::string &event : Log)
            EXPECT_EQ(event, expected) << "wParam 0x" << std::hex << wParam;
    }
}
