// Controls seen from the elements: labels, properties, events, the paint cycle,
// keyboard navigation, fitting to text and freeing without leaks, on real windows.
#include <string>

#include "LayerTest.h"
#include "Pixels.h"
#include "winlayer/GdiCount.h"
#include "winlayer/WinBitmap.h"

using namespace winlayer;
using layertest::LayerTest;
using layertest::MadeForm;
using layertest::TMemoryPicture;
using layertest::TPixels;

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF White = RGB(255, 255, 255);

std::string TextOf(HWND window)
{
    char text[256] = {};
    return std::string(text, static_cast<size_t>(GetWindowTextA(window, text, sizeof text)));
}

// A hidden form with one label on it, windows made. (Tests that read the screen
// show it: showing and hiding a window costs seconds under Wine without a window manager.)
struct TFormWithLabel {
    TWinControl *Form;
    TWinControl *Label;
    explicit TFormWithLabel(const std::string &caption = "label")
    {
        Form = NewForm(nullptr, "form");
        Form->SetVisible(false);
        Form->SetBounds(0, 0, 240, 160);
        Label = NewLabel(Form, caption);
        Label->SetBounds(10, 10, 80, 22);
        Form->EnsureWindow();
    }
    ~TFormWithLabel()
    {
        Form->SetVisible(false);
        Form->Free();
    }
};

// Records the mouse records the events get.
struct TMouseLog {
    std::vector<std::string> Events;
    TMouseEventData Last;
    bool Claim = false;
    static void Record(TMouseLog *self, const char *what, TMouseEventData &mouse)
    {
        self->Events.push_back(what);
        self->Last = mouse;
        mouse.Handled = self->Claim ? 1 : 0;
    }
    static void Down(void *d, TWinControl *, TMouseEventData &m) { Record(static_cast<TMouseLog *>(d), "down", m); }
    static void Up(void *d, TWinControl *, TMouseEventData &m) { Record(static_cast<TMouseLog *>(d), "up", m); }
    static void Dbl(void *d, TWinControl *, TMouseEventData &m) { Record(static_cast<TMouseLog *>(d), "dblclk", m); }
    static void Move(void *d, TWinControl *, TMouseEventData &m) { Record(static_cast<TMouseLog *>(d), "move", m); }
    static void Wheel(void *d, TWinControl *, TMouseEventData &m) { Record(static_cast<TMouseLog *>(d), "wheel", m); }
    void Attach(TWinControl *control)
    {
        control->SetOnMouseDown({&Down, this});
        control->SetOnMouseUp({&Up, this});
        control->SetOnMouseDblClk({&Dbl, this});
        control->SetOnMouseMove({&Move, this});
        control->SetOnMouseWheel({&Wheel, this});
    }
};

void SetAltDown(bool down)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_MENU] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Counts every message that reaches a layer window and every Invalidate.
struct TActivity {
    int Messages = 0;
    int Invalidations = 0;
    static bool Message(void *data, TWinControl *, MSG &, LRESULT &)
    {
        ++static_cast<TActivity *>(data)->Messages;
        return false;
    }
    static void Invalidated(void *data, TWinControl *) { ++static_cast<TActivity *>(data)->Invalidations; }
    void Start()
    {
        Messages = Invalidations = 0;
        PreMessageHook = {&Message, this};
        InvalidateHook = {&Invalidated, this};
    }
    void Stop()
    {
        PreMessageHook = {};
        InvalidateHook = {};
    }
};

} // namespace

TEST_F(LayerTest, LabelIsAStaticSuperclassWithTheLabelStyleAndItsOwnId)
{
    TWinControl *form = NewForm(nullptr, "form");
    form->SetVisible(false);
    TWinControl *first = NewLabel(form, "first");
    TWinControl *second = NewLabel(form, "second");
    ASSERT_TRUE(form->EnsureWindow());
    char className[32] = {};
    GetClassNameA(first->Handle, className, sizeof className);
    EXPECT_STREQ(className, "obj_STATIC");
    const DWORD expected = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP |
                           WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    EXPECT_EQ(first->Style, expected);
    EXPECT_EQ(DWORD(GetWindowLongA(first->Handle, GWL_STYLE)) & ~DWORD(WS_VISIBLE),
              expected & ~DWORD(WS_VISIBLE));
    EXPECT_EQ(first->Height(), 22) << "the default height";
    EXPECT_TRUE(first->ChildControl);
    EXPECT_TRUE(first->StandardClass);
    EXPECT_TRUE(HasHandler(first, ChildHandler));
    EXPECT_EQ(second->ControlId, first->ControlId + 1) << "the next identifier";
    EXPECT_EQ(GetDlgCtrlID(second->Handle), int(second->ControlId));
    EXPECT_EQ(TextOf(first->Handle), "first");
    form->Free();
    EXPECT_EQ(LiveNow(), 0);
}

TEST_F(LayerTest, LabelCyrillicCaptionReadsBackByteForByte)
{
    TFormWithLabel ui;
    const std::string captions[] = {"Данные обновлены: 12:30", "Ошибка чтения FTP", "Kp: 4"};
    for (const std::string &caption : captions) {
        ui.Label->SetCaption(caption);
        EXPECT_EQ(TextOf(ui.Label->Handle), caption);
    }
    const std::string cp1251 = "\xC4\xE0\xED\xED\xFB\xE5"; // "Данные" in code page 1251
    EXPECT_EQ(std::string("Данные"), cp1251) << "the sources are built to code page 1251";
    ui.Label->SetCaption("Данные");
    EXPECT_EQ(TextOf(ui.Label->Handle), cp1251);
}

TEST_F(LayerTest, SettingAPropertyToItsCurrentValueSendsNothingAndInvalidatesNothing)
{
    TFormWithLabel ui("same");
    TWinControl *label = ui.Label;
    label->SetColor(0x00FF00);
    label->SetCursorId(32512);
    label->Font()->SetFontHeight(-11);
    const RECT bounds = label->BoundsRect();
    struct TCase {
        const char *What;
        void (*Apply)(TWinControl *control, const RECT &bounds, bool change);
    };
    const TCase cases[] = {
        {"caption", [](TWinControl *c, const RECT &, bool ch) { c->SetCaption(ch ? "other" : "same"); }},
        {"colour", [](TWinControl *c, const RECT &, bool ch) { c->SetColor(ch ? 0xFF : 0x00FF00); }},
        {"bounds",
         [](TWinControl *c, const RECT &b, bool ch) {
             c->SetBounds(b.left + (ch ? 1 : 0), b.top, b.right - b.left, b.bottom - b.top);
         }},
        {"width", [](TWinControl *c, const RECT &b, bool ch) { c->SetWidth(b.right - b.left + (ch ? 3 : 0)); }},
        {"style", [](TWinControl *c, const RECT &, bool ch) { c->SetStyle(ch ? c->Style | WS_BORDER : c->Style); }},
        {"extended style",
         [](TWinControl *c, const RECT &, bool ch) { c->SetExStyle(ch ? c->ExStyle | WS_EX_STATICEDGE : c->ExStyle); }},
        {"3-D look", [](TWinControl *c, const RECT &, bool ch) { c->SetCtl3D(ch ? !c->Ctl3D : c->Ctl3D); }},
        {"enabled", [](TWinControl *c, const RECT &, bool ch) { c->SetEnabled(ch ? !c->Enabled() : c->Enabled()); }},
        {"visible", [](TWinControl *c, const RECT &, bool ch) { c->SetVisible(ch ? !c->Visible() : c->Visible()); }},
        {"transparent", [](TWinControl *c, const RECT &, bool ch) { c->SetTransparent(ch ? !c->Transparent : c->Transparent); }},
        {"font height", [](TWinControl *c, const RECT &, bool ch) { c->Font()->SetFontHeight(ch ? -20 : -11); }},
        {"cursor", [](TWinControl *c, const RECT &, bool ch) { c->SetCursorId(ch ? 32515 : 32512); }},
    };
    TActivity activity;
    for (const TCase &c : cases) {
        const RECT now = label->BoundsRect();
        activity.Start();
        c.Apply(label, now, false);
        activity.Stop();
        EXPECT_EQ(activity.Messages, 0) << c.What << ": the current value";
        EXPECT_EQ(activity.Invalidations, 0) << c.What << ": the current value";

        // A new value does act (so the counting above could have seen something).
        activity.Start();
        c.Apply(label, now, true);
        activity.Stop();
        EXPECT_GT(activity.Messages + activity.Invalidations +
                      (label->Cursor != LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)) ? 1 : 0),
                  0)
            << c.What << ": a new value";
    }
    (void)bounds;
}

TEST_F(LayerTest, BoundsAreReadFromTheWindowInTheParentClientCoordinates)
{
    TFormWithLabel ui;
    ui.Label->SetBounds(12, 34, 56, 18);
    EXPECT_EQ(ui.Label->Left(), 12);
    EXPECT_EQ(ui.Label->Top(), 34);
    EXPECT_EQ(ui.Label->Width(), 56);
    EXPECT_EQ(ui.Label->Height(), 18);
    MoveWindow(ui.Label->Handle, 5, 6, 70, 20, TRUE);
    const RECT moved = ui.Label->BoundsRect();
    EXPECT_EQ(moved.left, 5) << "the window's own place is read";
    EXPECT_EQ(moved.top, 6);
    EXPECT_EQ(moved.right, 75);
    EXPECT_EQ(moved.bottom, 26);

    ui.Label->ClientMargins = RECT{1, 2, 3, 4};
    const RECT client = ui.Label->ClientRect();
    EXPECT_EQ(client.left, 1);
    EXPECT_EQ(client.top, 2);
    EXPECT_EQ(client.right, 67);
    EXPECT_EQ(client.bottom, 16);

    TWinControl *unmade = NewLabel(ui.Form, "no window");
    unmade->SetBounds(1, 2, 30, 40);
    EXPECT_EQ(unmade->Handle, nullptr) << "setters without a window only store";
    EXPECT_EQ(unmade->Width(), 30);
    unmade->EnsureWindow();
    EXPECT_EQ(unmade->BoundsRect().left, 1) << "applied when the window is made";
    EXPECT_EQ(unmade->Height(), 40);
}

TEST_F(LayerTest, StyleSettersApplyTheLookAndTheEnabledState)
{
    TFormWithLabel ui;
    TWinControl *label = ui.Label;
    ASSERT_FALSE(label->Ctl3D) << "labels start flat";
    label->SetCtl3D(true);
    EXPECT_TRUE(GetWindowLongA(label->Handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(GetWindowLongA(label->Handle, GWL_STYLE) & WS_BORDER);
    label->SetCtl3D(false);
    EXPECT_FALSE(GetWindowLongA(label->Handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetWindowLongA(label->Handle, GWL_STYLE) & WS_BORDER);

    label->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(label->Handle));
    EXPECT_TRUE(label->Style & WS_DISABLED);
    label->SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(label->Handle));

    label->SetCursorId(32515); // IDC_CROSS
    EXPECT_EQ(label->Cursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(32515)));
    label->SetCursorId(0);
    EXPECT_EQ(label->Cursor, nullptr);
}

TEST_F(LayerTest, HidingAControlWhoseHandleWasAskedForCallsOffTheDeferredShow)
{
    TWinControl *form = NewForm(nullptr, "deferred");
    ASSERT_NE(form->GetHandle(), nullptr);
    ASSERT_TRUE(form->DeferredShow);
    form->SetVisible(false);
    EXPECT_FALSE(form->DeferredShow);
    form->EnsureWindow();
    EXPECT_FALSE(IsWindowVisible(form->Handle)) << "the form stays hidden";
    form->Free();
}

TEST_F(LayerTest, TabOrderRenumbersTheSiblingsAtOrAboveIt)
{
    TWinControl *form = NewForm(nullptr, "form");
    TWinControl *a = NewLabel(form, "a");
    TWinControl *b = NewLabel(form, "b");
    TWinControl *c = NewLabel(form, "c");
    a->SetTabOrder(1);
    b->SetTabOrder(2);
    c->SetTabOrder(1);
    EXPECT_EQ(c->TabOrder, 1);
    EXPECT_EQ(a->TabOrder, 2);
    EXPECT_EQ(b->TabOrder, 3);
    form->Free();
}

TEST_F(LayerTest, ColourAndTransparencyDecideHowTheLabelBackgroundIsPainted)
{
    TFormWithLabel ui("");
    ui.Form->SetColor(0x0000FF); // red
    ui.Label->SetColor(0xFF0000); // blue
    struct TCase {
        bool Transparent;
        COLORREF Expected;
    };
    for (const TCase c : {TCase{false, Blue}, TCase{true, Red}}) {
        ui.Label->SetTransparent(c.Transparent);
        ui.Form->SetVisible(true);
        RedrawWindow(ui.Form->Handle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const TPixels shown = layertest::WindowPixels(ui.Form->Handle, 120, 60);
        EXPECT_EQ(shown.At(40, 20), c.Expected) << "transparent " << c.Transparent;
        EXPECT_EQ(shown.At(5, 5), Red) << "the form";

        // The reflected colour message answers with the brush to paint with.
        TMemoryPicture picture(4, 4, White);
        const LRESULT brush = SendMessageA(ui.Form->Handle, WM_CTLCOLORSTATIC,
                                           reinterpret_cast<WPARAM>(picture.DC),
                                           reinterpret_cast<LPARAM>(ui.Label->Handle));
        if (c.Transparent) {
            EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
            EXPECT_EQ(GetBkMode(picture.DC), TRANSPARENT);
        } else {
            EXPECT_EQ(brush, reinterpret_cast<LRESULT>(ui.Label->Brush()->MadeHandle()));
            EXPECT_EQ(GetBkMode(picture.DC), OPAQUE);
            EXPECT_EQ(GetBkColor(picture.DC), Blue);
        }
        EXPECT_EQ(GetTextColor(picture.DC), GetSysColor(COLOR_WINDOWTEXT));
    }
}

TEST_F(LayerTest, FontChangeIsSentToTheWindowAndDropsTheCanvas)
{
    TFormWithLabel ui;
    TWinCanvas *canvas = ui.Label->Canvas();
    ASSERT_EQ(ui.Label->MadeCanvas(), canvas);
    ui.Label->Font()->SetFontName("Arial");
    ui.Label->Font()->SetFontHeight(-20);
    HFONT sent = reinterpret_cast<HFONT>(SendMessageA(ui.Label->Handle, WM_GETFONT, 0, 0));
    EXPECT_EQ(sent, ui.Label->Font()->MadeHandle());
    EXPECT_EQ(ui.Label->MadeCanvas(), nullptr) << "the canvas copied the old font";
    LOGFONTA used{};
    ASSERT_TRUE(GetObjectA(sent, sizeof used, &used));
    EXPECT_EQ(used.lfHeight, -20);

    TWinCanvas *fresh = ui.Label->Canvas();
    EXPECT_EQ(fresh->Font()->FontHeight(), -20) << "a new canvas starts from the control's font";
    ui.Label->SetColor(0x123456);
    EXPECT_EQ(fresh->Brush()->Color(), 0x123456u) << "and its brush from the control's colour";

    TWinControl *late = NewLabel(ui.Form, "late");
    late->Font()->SetFontHeight(-15);
    late->EnsureWindow();
    HFONT lateFont = reinterpret_cast<HFONT>(SendMessageA(late->Handle, WM_GETFONT, 0, 0));
    EXPECT_EQ(lateFont, late->Font()->MadeHandle()) << "the font goes with the new window";
}

TEST_F(LayerTest, MouseEventsGetTheButtonTheKeyStateAndTheSignedPosition)
{
    TFormWithLabel ui;
    TMouseLog log;
    log.Attach(ui.Label);
    HWND window = ui.Label->Handle;
    struct TCase {
        UINT Message;
        const char *Event;
        uint8_t Button;
    };
    const TCase cases[] = {
        {WM_LBUTTONDOWN, "down", mbLeft},    {WM_RBUTTONDOWN, "down", mbRight},
        {WM_MBUTTONDOWN, "down", mbMiddle},  {WM_LBUTTONUP, "up", mbLeft},
        {WM_RBUTTONUP, "up", mbRight},       {WM_MBUTTONUP, "up", mbMiddle},
        {WM_LBUTTONDBLCLK, "dblclk", mbLeft}, {WM_RBUTTONDBLCLK, "dblclk", mbRight},
        {WM_MBUTTONDBLCLK, "dblclk", mbMiddle}, {WM_MOUSEMOVE, "move", mbNone},
    };
    SetAltDown(false);
    for (const TCase &c : cases) {
        log.Events.clear();
        SendMessageA(window, c.Message, MK_SHIFT, MAKELPARAM(7, -3));
        ASSERT_EQ(log.Events, std::vector<std::string>{c.Event}) << std::hex << c.Message;
        EXPECT_EQ(log.Last.Button, c.Button) << std::hex << c.Message;
        EXPECT_EQ(log.Last.KeyState, uint32_t(MK_SHIFT)) << std::hex << c.Message;
        EXPECT_EQ(log.Last.X, 7);
        EXPECT_EQ(log.Last.Y, -3) << "signed 16-bit";
    }

    // Alt adds 0x20.
    SetAltDown(true);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1, 2));
    EXPECT_EQ(log.Last.KeyState, uint32_t(MK_LBUTTON) + 0x20);
    SetAltDown(false);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1, 2));
    EXPECT_EQ(log.Last.KeyState, uint32_t(MK_LBUTTON));

    // The wheel: the delta in the upper 16 bits, the position made client-relative.
    POINT screen{20, 5};
    ClientToScreen(window, &screen);
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(log.Last.KeyState >> 16, 120u) << "a notch forward";
    EXPECT_EQ(log.Last.Button, mbNone);
    EXPECT_EQ(log.Last.X, 20);
    EXPECT_EQ(log.Last.Y, 5);
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -WHEEL_DELTA), 0);
    EXPECT_EQ(WheelDelta(log.Last.KeyState), -120) << "a notch backward";
    EXPECT_EQ(log.Last.KeyState & 0xFFFF, uint32_t(MK_CONTROL));
}

TEST_F(LayerTest, MouseEventClaimsTheMessageOnlyWhenItSetsHandled)
{
    TFormWithLabel ui;
    TMouseLog log;
    log.Attach(ui.Label);
    layertest::TLog older;
    layertest::TTagged tagged{&older, "older", false, WM_MOUSEMOVE, WM_MOUSEMOVE};
    // Added first, so asked after the mouse handler.
    ui.Label->Handlers.insert(ui.Label->Handlers.begin(), THandlerEntry{tagged.Handler(), false});
    SendMessageA(ui.Label->Handle, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(older.Entries.size(), 1u) << "not handled: the walk goes on";
    log.Claim = true;
    SendMessageA(ui.Label->Handle, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(older.Entries.size(), 1u) << "handled: claimed";
}

TEST_F(LayerTest, KeyEventsGetTheKeyByReferenceAndZeroSwallowsIt)
{
    TFormWithLabel ui;
    struct TKeys {
        std::vector<std::string> Seen;
        int Replace = -1;
        static void Run(TKeys *self, const char *what, int &key)
        {
            self->Seen.push_back(std::string(what) + " " + std::to_string(key));
            if (self->Replace >= 0)
                key = self->Replace;
        }
        static void Down(void *d, TWinControl *, int &k) { Run(static_cast<TKeys *>(d), "down", k); }
        static void Up(void *d, TWinControl *, int &k) { Run(static_cast<TKeys *>(d), "up", k); }
        static void Char(void *d, TWinControl *, int &k) { Run(static_cast<TKeys *>(d), "char", k); }
    } keys;
    struct TAfter {
        std::vector<WPARAM> Seen;
        static bool Run(void *d, TWinControl *, MSG &msg, LRESULT &)
        {
            if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR ||
                msg.message == WM_SYSKEYDOWN)
                static_cast<TAfter *>(d)->Seen.push_back(msg.wParam);
            return false;
        }
    } after;
    AddHandler(ui.Label, {&TAfter::Run, &after});
    ui.Label->SetOnKeyDown({&TKeys::Down, &keys});
    ui.Label->SetOnKeyUp({&TKeys::Up, &keys});
    ui.Label->SetOnChar({&TKeys::Char, &keys});
    HWND window = ui.Label->Handle;

    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    SendMessageA(window, WM_SYSKEYDOWN, VK_F10, 0);
    SendMessageA(window, WM_KEYUP, 'A', 0);
    SendMessageA(window, WM_CHAR, 'a', 0);
    EXPECT_EQ(keys.Seen, (std::vector<std::string>{"down 65", "down 121", "up 65", "char 97"}));
    EXPECT_EQ(after.Seen, (std::vector<WPARAM>{'A', VK_F10, 'A', 'a'}));

    keys.Replace = 'B';
    after.Seen.clear();
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(after.Seen, std::vector<WPARAM>{'B'}) << "a changed key goes on changed";
    keys.Replace = 0;
    after.Seen.clear();
    EXPECT_EQ(SendMessageA(window, WM_KEYDOWN, 'A', 0), 0);
    EXPECT_EQ(SendMessageA(window, WM_CHAR, 'a', 0), 0);
    EXPECT_TRUE(after.Seen.empty()) << "a key set to 0 is swallowed";
}

TEST_F(LayerTest, ClickComesFromTheReflectedCommandWithTheClickCode)
{
    TFormWithLabel ui;
    int clicks = 0;
    struct TClick {
        static void Run(void *d, TWinControl *) { ++*static_cast<int *>(d); }
    };
    ui.Label->SetOnClick({&TClick::Run, &clicks});
    const LPARAM from = reinterpret_cast<LPARAM>(ui.Label->Handle);
    const WORD id = static_cast<WORD>(ui.Label->ControlId);
    SendMessageA(ui.Form->Handle, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), from);
    EXPECT_EQ(clicks, 1);
    SendMessageA(ui.Form->Handle, WM_COMMAND, MAKEWPARAM(id, STN_DBLCLK), from);
    EXPECT_EQ(clicks, 1) << "another notification is no click";
    // A real click on a notifying static.
    ui.Form->SetVisible(true);
    SendMessageA(ui.Label->Handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(ui.Label->Handle, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(clicks, 2) << "the static's own notification arrives";
}

TEST_F(LayerTest, ShowHideAndResizeEventsFollowTheWindow)
{
    TFormWithLabel ui;
    ui.Form->SetVisible(true);
    layertest::TLog log;
    struct TEv {
        static void Show(void *d, TWinControl *) { static_cast<layertest::TLog *>(d)->Add("show"); }
        static void Hide(void *d, TWinControl *) { static_cast<layertest::TLog *>(d)->Add("hide"); }
        static void Size(void *d, TWinControl *c)
        {
            static_cast<layertest::TLog *>(d)->Add("resize " + std::to_string(c->Width()));
        }
    };
    ui.Label->SetOnShow({&TEv::Show, &log});
    ui.Label->SetOnHide({&TEv::Hide, &log});
    ui.Label->SetOnResize({&TEv::Size, &log});
    ui.Label->SetVisible(false);
    EXPECT_FALSE(ui.Label->Visible());
    ui.Label->SetVisible(true);
    ui.Label->SetWidth(50);
    EXPECT_EQ(log.Entries, (std::vector<std::string>{"hide", "show", "resize 50"}));
    EXPECT_EQ(ui.Label->SizeState, SIZE_RESTORED) << "the layer's own size rule still ran";
    EXPECT_TRUE(ui.Label->Visible());
}

TEST_F(LayerTest, PaintEventDrawsThroughTheBorrowedContextWithinTheClipRegion)
{
    TFormWithLabel ui;
    ui.Form->SetVisible(true);
    struct TPaint {
        int Calls = 0;
        bool Borrowed = false;
        bool SameContext = false;
        static void Run(void *d, TWinControl *sender, HDC dc)
        {
            auto *self = static_cast<TPaint *>(d);
            ++self->Calls;
            TWinCanvas *canvas = sender->Canvas();
            self->SameContext = canvas->Handle() == dc;
            self->Borrowed = canvas->Borrowed();
            canvas->Brush()->SetColor(0x0000FF);
            canvas->FillRect(RECT{0, 0, 80, 22});
        }
    } paint;
    ui.Label->SetOnPaint({&TPaint::Run, &paint});

    enum TClip { NoClip, RectClip, ComplexClip };
    struct TCase {
        const char *What;
        TClip Clip;
        bool Print;
        int Red; // pixels painted
    };
    const TCase cases[] = {{"paint, no clip", NoClip, false, 80 * 22},
                           {"paint, clip", RectClip, false, 70},
                           {"print, no clip", NoClip, true, 80 * 22},
                           {"print, clip", RectClip, true, 70},
                           // Not worth clipping: the whole client area is painted.
                           {"print, complex clip", ComplexClip, true, 80 * 22},
                           {"paint, complex clip", ComplexClip, false, 80 * 22}};
    for (const TCase &c : cases) {
        HRGN clip = nullptr;
        if (c.Clip == RectClip) {
            clip = NewRectRegion(5, 5, 15, 12);
        } else if (c.Clip == ComplexClip) {
            clip = NewRectRegion(0, 0, 4, 4);
            HRGN other = NewRectRegion(30, 10, 40, 20);
            CombineRgn(clip, clip, other, RGN_OR);
            DeleteRegion(other);
        }
        ui.Label->SetClipRegion(clip);
        paint.Calls = 0;
        TPixels pixels(nullptr, 1, 1);
        if (c.Print) {
            TMemoryPicture picture(80, 22, White);
            EXPECT_EQ(SendMessageA(ui.Label->Handle, WM_PRINTCLIENT,
                                   reinterpret_cast<WPARAM>(picture.DC), PRF_CLIENT),
                      0);
            pixels = picture.Read();
        } else {
            HDC dc = GetDC(ui.Label->Handle);
            RECT all{0, 0, 80, 22};
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            ReleaseDC(ui.Label->Handle, dc);
            InvalidateRect(ui.Label->Handle, nullptr, FALSE);
            UpdateWindow(ui.Label->Handle);
            EXPECT_FALSE(GetUpdateRect(ui.Label->Handle, nullptr, FALSE)) << c.What << ": validated";
            TPixels shown = layertest::WindowPixels(ui.Form->Handle, 100, 40);
            // Move to label coordinates (10, 10).
            TMemoryPicture picture(80, 22, White);
            for (int y = 0; y < 22; ++y)
                for (int x = 0; x < 80; ++x)
                    SetPixel(picture.DC, x, y, shown.At(x + 10, y + 10));
            pixels = picture.Read();
        }
        EXPECT_EQ(paint.Calls, 1) << c.What;
        EXPECT_TRUE(paint.SameContext) << c.What << ": the canvas draws on the paint context";
        EXPECT_TRUE(paint.Borrowed) << c.What;
        EXPECT_EQ(ui.Label->MadeCanvas()->MadeHandle(), nullptr) << c.What << ": given back after";
        EXPECT_EQ(ui.Label->PaintDC, nullptr) << c.What;
        EXPECT_EQ(pixels.Count(Red, RECT{0, 0, 80, 22}), c.Red) << c.What;
        if (c.Clip == RectClip) {
            EXPECT_EQ(pixels.At(5, 5), Red) << c.What;
            EXPECT_EQ(pixels.At(4, 5), White) << c.What;
        }
    }
    ui.Label->SetClipRegion(nullptr);
}

TEST_F(LayerTest, ControlCanvasOutsideThePaintCycleDrawsOnTheWindow)
{
    TFormWithLabel ui;
    ui.Form->SetVisible(true);
    UpdateWindow(ui.Form->Handle);
    const TGdiCount before = LayerGdiCount();
    TWinCanvas *canvas = ui.Label->Canvas();
    EXPECT_EQ(canvas->Owner, ui.Label);
    ASSERT_NE(canvas->Handle(), nullptr);
    EXPECT_FALSE(canvas->Borrowed());
    canvas->Pen()->SetColor(0xFF0000);
    canvas->MoveTo(0, 5);
    canvas->LineTo(30, 5);
    const TPixels shown = layertest::WindowPixels(ui.Form->Handle, 100, 40);
    EXPECT_EQ(shown.At(20, 15), Blue) << "the line on the label at (10, 10)";
    ui.Label->DropCanvas();
    EXPECT_EQ(LayerGdiCount().Live(), before.Live()) << "the context and tools were given back";
}

TEST_F(LayerTest, FormBackgroundIsPaintedWithTheFormBrushAndLeftUnclaimed)
{
    TWinControl *form = MadeForm();
    form->SetColor(0x00FF00);
    TMemoryPicture picture(20, 20, White);
    layertest::TLog log;
    layertest::TTagged older{&log, "older", false, WM_ERASEBKGND, WM_ERASEBKGND};
    form->Handlers.insert(form->Handlers.begin(), THandlerEntry{older.Handler(), false});
    SendMessageA(form->Handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(picture.DC), 0);
    EXPECT_EQ(log.Entries.size(), 1u) << "not claimed: the walk goes on";
    EXPECT_NE(form->MadeBrush(), nullptr);
    EXPECT_EQ(picture.Read().At(10, 10), RGB(0, 255, 0));
    EXPECT_EQ(GetBkColor(picture.DC), RGB(0, 255, 0));
    EXPECT_EQ(GetBkMode(picture.DC), OPAQUE);
    form->Free();
}

TEST_F(LayerTest, TabMovesTheFocusAmongTabStopsByTabOrderAndWraps)
{
    TWinControl *form = NewForm(nullptr, "tabs");
    form->SetBounds(0, 0, 200, 200);
    form->KeyNavigation = true;
    TWinControl *labels[4];
    const int orders[4] = {3, 1, 2, 0};
    for (int i = 0; i < 4; ++i) {
        labels[i] = NewLabel(form, "label " + std::to_string(i));
        labels[i]->SetBounds(0, i * 30, 60, 20);
        if (orders[i] > 0) {
            labels[i]->SetTabStop(true);
            labels[i]->SetTabOrder(orders[i]);
        }
    }
    ASSERT_TRUE(form->EnsureWindow());
    SetForegroundWindow(form->Handle);
    SetFocus(labels[1]->Handle);
    ASSERT_EQ(GetFocus(), labels[1]->Handle);

    // Tab by tab order: 1 (labels[1]) -> 2 (labels[2]) -> 3 (labels[0]) -> wraps to 1.
    const int expected[] = {2, 0, 1, 2};
    for (int step : expected) {
        HWND focused = GetFocus();
        EXPECT_EQ(SendMessageA(focused, WM_KEYDOWN, VK_TAB, 0), 0);
        EXPECT_EQ(SendMessageA(focused, WM_CHAR, '\t', 0), 0);
        EXPECT_EQ(SendMessageA(focused, WM_KEYUP, VK_TAB, 0), 0);
        EXPECT_EQ(GetFocus(), labels[step]->Handle) << "to label " << step;
        EXPECT_EQ(form->FocusChild, labels[step]);
    }
    // Backwards: the largest order below, wrapping to the largest.
    EXPECT_EQ(TabNavigate(form, labels[2], true), labels[1]);
    EXPECT_EQ(TabNavigate(form, labels[1], true), labels[0]) << "wraps round";
    EXPECT_EQ(GetFocus(), labels[0]->Handle);

    // Shift held while Tab goes down.
    INPUT shift{};
    shift.type = INPUT_KEYBOARD;
    shift.ki.wVk = VK_SHIFT;
    SendInput(1, &shift, sizeof shift);
    const bool shiftSeen = GetAsyncKeyState(VK_SHIFT) < 0;
    SendMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    shift.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &shift, sizeof shift);
    if (shiftSeen) {
        EXPECT_EQ(GetFocus(), labels[2]->Handle) << "Shift+Tab goes back from 3 to 2";
    }

    form->KeyNavigation = false;
    HWND before = GetFocus();
    SendMessageA(before, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), before) << "navigation off: Tab is an ordinary key";
    form->SetVisible(false);
    form->Free();
}

TEST_F(LayerTest, AutoSizeFitsTheLabelToEachNewText)
{
    TFormWithLabel ui("x");
    TWinControl *label = ui.Label;
    label->Font()->SetFontName("Arial");
    label->Font()->SetFontHeight(-13);
    const auto measure = [&](const std::string &text) {
        HDC dc = GetDC(label->Handle);
        HGDIOBJ old = SelectObject(dc, label->Font()->Handle());
        RECT r{0, 0, 0, 0};
        DrawTextA(dc, text.data(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
        SelectObject(dc, old);
        ReleaseDC(label->Handle, dc);
        return r;
    };
    SetAutoSize(label, true);
    EXPECT_EQ(label->Width(), measure("x").right + 1) << "fitted at once";
    const std::string texts[] = {"a much longer caption than before", "ab", "Данные обновлены: 12:30"};
    int previous = label->Width();
    for (const std::string &text : texts) {
        label->SetCaption(text);
        const RECT r = measure(text);
        EXPECT_EQ(label->Width(), r.right + 1) << text;
        EXPECT_EQ(label->Height(), r.bottom + 1) << text;
        EXPECT_NE(label->Width(), previous) << text << ": grows and shrinks";
        previous = label->Width();
    }
    label->SetAlign(caTop);
    label->SetCaption("wider and wider and wider text");
    EXPECT_EQ(label->Width(), previous) << "aligned to the top: the width stays";

    SetAutoSize(label, false);
    label->SetAlign(caNone);
    label->SetCaption("i");
    EXPECT_EQ(label->Width(), previous) << "removed: the size stays";
}

TEST_F(LayerTest, MouseEnterAndLeaveAreReportedOnce)
{
    TFormWithLabel ui;
    layertest::TLog log;
    struct TEv {
        static void Enter(void *d, TWinControl *) { static_cast<layertest::TLog *>(d)->Add("enter"); }
        static void Leave(void *d, TWinControl *) { static_cast<layertest::TLog *>(d)->Add("leave"); }
    };
    ui.Label->SetOnMouseEnter({&TEv::Enter, &log});
    ui.Label->SetOnMouseLeave({&TEv::Leave, &log});
    SendMessageA(ui.Label->Handle, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    SendMessageA(ui.Label->Handle, WM_MOUSEMOVE, 0, MAKELPARAM(3, 2));
    SendMessageA(ui.Label->Handle, WM_MOUSELEAVE, 0, 0);
    SendMessageA(ui.Label->Handle, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(log.Entries, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(LayerTest, TransparentControlSubclassesForeignChildren)
{
    TFormWithLabel ui;
    HWND foreign = CreateWindowExA(0, "BUTTON", "foreign", WS_CHILD, 0, 0, 10, 10, ui.Label->Handle,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    EXPECT_EQ(GetPropA(foreign, PrevProcProp), nullptr);
    ui.Label->SetTransparent(true);
    EXPECT_NE(GetPropA(foreign, PrevProcProp), nullptr);
}

// No loop runs here, and the thousand cycles take longer than the loop watchdog allows.
class LeakTest : public ::testing::Test {
protected:
    void SetUp() override { layertest::ResetLayerState(); }
    void TearDown() override
    {
        layertest::DrainQueue();
        layertest::ResetLayerState();
    }
};

TEST_F(LeakTest, ThousandCyclesOfAFormWithADrawnLabelAndBitmapLeakNothing)
{
    const auto cycle = [] {
        TWinControl *form = NewForm(nullptr, "leak");
        form->SetVisible(false);
        form->SetBounds(0, 0, 120, 90);
        form->SetColor(0xFF00000F);
        TWinControl *label = NewLabel(form, "Kp: 4");
        label->Font()->SetFontName("Verdana");
        label->Font()->SetFontHeight(PointsToHeight(20));
        label->Font()->SetFontStyle(fsBold);
        SetAutoSize(label, true);
        label->SetOnPaint({[](void *, TWinControl *sender, HDC) {
                               TWinCanvas *canvas = sender->Canvas();
                               canvas->Brush()->SetColor(0x00FF00);
                               canvas->FillRect(sender->ClientRect());
                               canvas->TextOut(0, 0, sender->Caption);
                           },
                           nullptr});
        form->EnsureWindow();
        SendMessageA(form->Handle, WM_ERASEBKGND,
                     reinterpret_cast<WPARAM>(label->Canvas()->Handle()), 0);
        label->DropCanvas();

        TWinBitmap *bitmap = NewBitmap(0, 0);
        bitmap->SetWidth(40);
        bitmap->SetHeight(30);
        TWinCanvas *canvas = bitmap->Canvas();
        canvas->Font()->SetFontHeight(8);
        canvas->Brush()->SetColor(0xC0C0C0);
        canvas->FillRect(RECT{0, 0, 40, 30});
        canvas->Pen()->SetColor(0xC0C0C0);
        canvas->Pen()->SetPenStyle(PS_DOT);
        canvas->MoveTo(0, 10);
        canvas->LineTo(40, 10);
        canvas->TextOut(2, 2, "0.25");
        HRGN plot = NewRectRegion(2, 2, 38, 28);
        canvas->SelectRegion(plot);
        canvas->Pen()->SetPenStyle(PS_SOLID);
        canvas->Pen()->SetColor(0x808080);
        canvas->Brush()->SetColor(0xFF);
        canvas->Rectangle(5, 5, 20, 25);
        DeleteRegion(plot);
        RECT text{0, 0, 0, 0};
        canvas->DrawText("8", text, DT_CALCRECT);
        bitmap->SetWidth(60);
        HDC dc = label->Canvas()->Handle();
        bitmap->Draw(dc, 0, 0);
        SendMessageA(label->Handle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        bitmap->Free();
        form->Free();
    };
    const int Cycles = 1000;
    cycle(); // the first run makes what is made once (classes, the screen's pixels per inch)
    const int32_t objects = TWinObject::LiveObjects();
    const TGdiCount gdi = LayerGdiCount();
    const DWORD systemCount = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    RecordProperty("SystemGdiObjects", static_cast<int>(systemCount));
    for (int i = 0; i < Cycles; ++i)
        cycle();
    EXPECT_EQ(TWinObject::LiveObjects(), objects) << "layer objects";
    EXPECT_EQ(LayerGdiCount().Live(), gdi.Live())
        << "made " << LayerGdiCount().Made - gdi.Made << ", deleted "
        << LayerGdiCount().Deleted - gdi.Deleted;
    EXPECT_GT(LayerGdiCount().Made - gdi.Made, 10000) << "the cycles did make GDI objects";
    if (systemCount != 0) {
        EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), systemCount + 5)
            << "the system's count of GDI objects";
    }
}
