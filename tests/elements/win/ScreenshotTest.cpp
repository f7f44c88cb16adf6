// A form with a label, an LED and an icon, shown on the display for a picture
// of the whole screen. Run by screenshot.sh, which takes the picture while the
// form is up; without it (TERVIK_SHOT_DIR unset) the test is skipped.
#include <cstdlib>
#include <fstream>

#include "WinTestKit.h"
#include "elements/win/TQorIcon.h"

using namespace winlayer;
using namespace wintest;

namespace {

bool FileThere(const std::string &Path)
{
    return GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

struct Screenshot : ElementTest {};

TEST_F(Screenshot, AFormWithALabelAnLedAndAnIcon)
{
    const char *dir = std::getenv("TERVIK_SHOT_DIR");
    if (!dir)
        GTEST_SKIP() << "run by screenshot.sh";
    const std::string folder = dir;

    TQorMainForm *form = Elements.Make<TQorMainForm>(nullptr);
    Configure(form, 20, 20, 382, 160);
    form->SetCaption("Tervik v4");
    form->SetBorderStyle(2);
    form->SetIcon(LoadIconA(GetModuleHandleA(nullptr), "ICON0"));
    form->Init();

    TQorLabel *caption = Elements.Make<TQorLabel>(form->Control);
    Configure(caption, 101, 26, 193, 17);
    SetFontRec("Tahoma", 8, 1, caption->Font, 204, 0x000000);
    caption->Caption = "Текущий уровень индекса (Kp):";
    caption->SetAutoSize(1);
    caption->SetAlignment(0);
    caption->Init();

    MakeLed(form, 1)->Control->SetBounds(336, 70, 15, 15);

    // The icon holder's icon, drawn into the form's background picture.
    TQorIcon *icon = Elements.Make<TQorIcon>();
    icon->SetIcon(LoadIconA(GetModuleHandleA(nullptr), "ICON3"));
    TData held;
    icon->Icon(held, 0);
    ASSERT_EQ(held.DataType, dtIcon);
    RECT client{};
    GetClientRect(form->Control->Handle, &client);
    form->Background->SetSize(client.right, client.bottom);
    HDC picture = form->Background->Canvas()->Handle();
    FillRect(picture, &client, GetSysColorBrush(COLOR_BTNFACE));
    DrawIconEx(picture, 24, 60, AsIcon(held)->Handle(), 0, 0, 0, nullptr, DI_NORMAL);

    form->Start();
    UpdateWindow(form->Control->Handle);
    Settle();

    // Up for the picture: screenshot.sh takes it and then says so.
    std::ofstream(folder + "\\ready").put('1');
    for (int i = 0; i < 300 && !FileThere(folder + "\\done"); ++i) {
        Settle();
        Sleep(100);
    }
    EXPECT_TRUE(FileThere(folder + "\\done")) << "the picture was taken";
    StopHooks();
}
