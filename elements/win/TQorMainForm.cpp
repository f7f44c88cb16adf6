#include "TQorMainForm.h"

#include <algorithm>

#include "winlayer/Files.h"
#include "winlayer/WinApp.h"
#include "winlayer/WinIniFile.h"

using namespace winlayer;

namespace {

// The owner of the runtime's complaint box: the application window.
void *ApplicationWindowHandle()
{
    return Application ? Application->Handle : nullptr;
}

// Style and extended-style bits of each border style.
struct TBorderBits {
    DWORD Style;
    DWORD ExStyle;
};
constexpr TBorderBits BorderStyles[10] = {
    {0, 0},
    {0x00C20000, 0},
    {0x00C70000, 0},
    {0x00C00000, WS_EX_WINDOWEDGE},
    {0x00C00000, WS_EX_TOOLWINDOW},
    {0x00C40000, WS_EX_TOOLWINDOW},
    {0, WS_EX_DLGMODALFRAME},
    {0x00040000, WS_EX_TOOLWINDOW},
    {0, WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE},
    {0x00040000, WS_EX_CLIENTEDGE},
};
constexpr DWORD BorderStyleMask = 0x00C70000;
constexpr DWORD BorderExStyleMask = 0x181;

// The message is registered when the unit starts.
const UINT InnerAtStart = TQorMainForm::InnerMessage();

} // namespace

std::string (*TQorMainForm::IniFolder)() = &ModulePath;

UINT TQorMainForm::InnerMessage()
{
    static const UINT message = RegisterWindowMessageA("inner message");
    return message;
}

std::vector<HWND> &TQorMainForm::SecondaryForms()
{
    static std::vector<HWND> forms;
    return forms;
}

TQorMainForm::TQorMainForm(TWinControl *ParentControl) : TQorWin(ParentControl)
{
    (void)InnerAtStart;
    // 2.
    if (!Application) {
        NewAppWindow("");
        // Hidden until Start gives it the form's visibility.
        Application->SetVisible(false);
        IsMain = 1;
        DebugMessageOwner = &ApplicationWindowHandle;
    } else {
        IsMain = 0;
    }
    // 3.
    Control = NewForm(Parent ? Parent : Application, "Form");
    Control->SetVisible(false);
    Control->SetOnShow(TControlHook{&ShowEvent, this});
    Control->ClientMargins = RECT{0, 0, 0, 0};
    // 4.
    RegisterStart(&StartRoutine, this);
    // 5.
    Background = NewBitmap(0, 0);
}

TQorMainForm::~TQorMainForm()
{
    Background->Free();
    Background = nullptr;
    std::vector<HWND> &forms = SecondaryForms();
    forms.erase(std::remove(forms.begin(), forms.end(), ListedHandle), forms.end());
    // A scheme freed without its loop having run still has the application
    // window; the loop frees it otherwise. The form goes with it.
    if (IsMain && Application)
        Application->Free();
}

void TQorMainForm::SetCaption(const std::string &Caption)
{
    Control->SetCaption(Caption);
    if (IsMain && Application)
        Application->SetCaption(Caption);
}

void TQorMainForm::SetBorderStyle(uint8_t Style)
{
    if (Style > 9)
        return;
    Control->SetStyle((Control->Style & ~BorderStyleMask) | BorderStyles[Style].Style);
    Control->SetExStyle((Control->ExStyle & ~BorderExStyleMask) | BorderStyles[Style].ExStyle);
}

namespace {

// Gives a top-level control an icon; the one it replaces is destroyed when it
// was the control's own.
void SetControlIcon(TWinControl *Target, HICON Icon)
{
    const HICON old = Target->Icon;
    const bool oldOwned = Target->IconOwned;
    Target->Icon = Icon;
    Target->IconOwned = false;
    if (Target->Handle)
        SendMessageA(Target->Handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon));
    if (old && old != Icon && old != NoIcon() && oldOwned)
        DestroyIcon(old);
}

} // namespace

void TQorMainForm::SetIcon(HICON Icon)
{
    if (IsMain && Application)
        SetControlIcon(Application, Icon);
    if (!Icon) {
        // A form without a parent element keeps its own icon.
        if (!Parent)
            return;
        Icon = Parent->Icon;
    }
    SetControlIcon(Control, Icon);
}

void TQorMainForm::SetNoTaskbarButton(uint8_t Value)
{
    if (IsMain && Value == 1 && Application)
        Application->SetExStyle(WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME);
}

void TQorMainForm::AttachMenu(void *Menu)
{
    // No menu interface is defined for this program; the reference is only kept.
    MenuInterface = Menu;
}

void TQorMainForm::Start()
{
    // 1.
    if (Application)
        Application->SetVisible(Visible != 0);
    // 2.
    StartHooks();
    // 3.
    RunStartList();
}

void TQorMainForm::StartRoutine(void *Self)
{
    // The visibility first: the first download runs inside onCreate and keeps
    // the windows alive, so a tray click during it may already have shown the
    // form, which must then stay shown.
    auto *self = static_cast<TQorMainForm *>(Self);
    if (!self->ControlGone)
        self->Control->SetVisible(self->Visible != 0);
    CallEventNull(self->onCreate);
}

void TQorMainForm::Init()
{
    // 1.
    if (SavePosition.empty())
        PositionHook = &TQorMainForm::PositionNone;
    else if (SavePosition.find(".ini\\") != std::string::npos)
        PositionHook = &TQorMainForm::PositionIni;
    else
        PositionHook = &TQorMainForm::PositionRegistry;

    // 2.
    const uint8_t visible = Visible;
    Visible = 0;

    // 3.
    if (!IsMain) {
        ListedHandle = Control->GetHandle();
        SecondaryForms().push_back(ListedHandle);
    }

    // 4.
    TQorWin::Init();
    Visible = visible;

    // 5.
    ApplyAlphaBlend();

    // 6.
    if (ClientSize) {
        RECT window{}, client{};
        GetWindowRect(Control->Handle, &window);
        GetClientRect(Control->Handle, &client);
        if (Width > 0)
            Control->SetWidth(Width + (window.right - window.left) - client.right);
        if (Height > 0)
            Control->SetHeight(Height + (window.bottom - window.top) - client.bottom);
    }

    // 7.
    Control->SetOnPaint(TPaintEvent{&PaintBackgroundPicture, this});

    // 8.
    if (AfterInit)
        AfterInit(this);
}

void TQorMainForm::ApplyAlphaBlend()
{
    if (AlphaBlend == AppliedAlpha)
        return;
    if (AlphaBlend == 255) {
        Control->SetExStyle(Control->ExStyle & ~WS_EX_LAYERED);
    } else {
        using TSetLayered = BOOL(WINAPI *)(HWND, COLORREF, BYTE, DWORD);
        HMODULE user = GetModuleHandleA("user32.dll");
        auto setLayered = user ? reinterpret_cast<TSetLayered>(reinterpret_cast<void (*)()>(
                                     GetProcAddress(user, "SetLayeredWindowAttributes")))
                               : nullptr;
        if (!setLayered)
            return;
        Control->SetExStyle(Control->ExStyle | WS_EX_LAYERED);
        setLayered(Control->GetHandle(), 0, AlphaBlend, LWA_ALPHA);
    }
    AppliedAlpha = AlphaBlend;
}

void TQorMainForm::PaintBackgroundPicture(void *Self, TWinControl *, HDC Dc)
{
    auto *self = static_cast<TQorMainForm *>(Self);
    if (!self->Background->Empty())
        self->Background->Draw(Dc, 0, 0);
}

void TQorMainForm::Shown()
{
    if (!FirstShowDone) {
        // Marked first: applying the state shows the window once more.
        FirstShowDone = 1;
        HWND window = Control->Handle;
        if (WindowState == 1 && !IsIconic(window))
            ShowWindow(window, SW_SHOWMINNOACTIVE);
        else if (WindowState == 2 && !IsZoomed(window))
            ShowWindow(window, SW_SHOWMAXIMIZED);
        (this->*PositionHook)(false);
    }
    TQorWin::Shown();
}

void TQorMainForm::MouseDown(const TQorMouseRecord &Mouse)
{
    if (DragByClient) {
        ReleaseCapture();
        SendMessageA(Control->Handle, WM_SYSCOMMAND, 0xF012, 0);
    }
    TQorWin::MouseDown(Mouse);
}

void TQorMainForm::PostInner()
{
    for (HWND form : SecondaryForms())
        PostMessageA(form, InnerMessage(), 0, 0);
}

bool TQorMainForm::Message(MSG &Msg, LRESULT &Result)
{
    // 1.
    if (Msg.message == InnerMessage() && !IsMain && PositionSource && *PositionSource &&
        Control->Visible()) {
        TWinControl *source = (*PositionSource)();
        if (source) {
            const RECT from = source->BoundsRect();
            const RECT own = Control->BoundsRect();
            MoveWindow(Control->Handle, from.left + FollowOffsetX, from.top + FollowOffsetY,
                       own.right - own.left, own.bottom - own.top, TRUE);
        }
    }

    switch (Msg.message) {
    // 2.
    case WM_MOVE:
        if (IsMain && Application && Application->Handle) {
            const RECT own = Control->BoundsRect();
            SetWindowPos(Application->Handle, nullptr, own.left, own.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (!Name.empty())
            PostInner();
        break;
    // 3.
    case WM_SIZE:
        if (IsMain && Application && Application->Handle) {
            RECT app{};
            GetWindowRect(Application->Handle, &app);
            SetWindowPos(Application->Handle, nullptr, 0, 0, Control->Width(), app.bottom - app.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (!Name.empty())
            PostInner();
        break;
    // 4. The low word is the activation; the high word only says minimised.
    case WM_ACTIVATE:
        if (LOWORD(Msg.wParam) != WA_INACTIVE)
            CallEventNull(onActivate);
        else
            CallEventNull(onDeactivate);
        break;
    // 5.
    case WM_CLOSE:
        if (CloseRoutine(Msg.lParam == 0)) {
            Result = 0;
            return true;
        }
        break;
    // 6.
    case WM_ERASEBKGND:
        if (!Background->Empty()) {
            Result = 1;
            return true;
        }
        break;
    default:
        break;
    }
    // 7.
    return TQorWin::Message(Msg, Result);
}

bool TQorMainForm::CloseRoutine(bool UserClose)
{
    // 1.
    if (UserClose && ReadIntegerLink(CloseQuery) != 0)
        return true;

    // 2. Child forms close for good (a forced close asks nobody).
    const std::vector<TWinControl *> children = Control->Children;
    for (TWinControl *child : children)
        if (child->ClassName == "Form" && child->Handle)
            SendMessageA(child->Handle, WM_CLOSE, 0, 1);

    // 3.
    bool handled = false;
    if (IsMain) {
        CallEventNull(onClose);
        StopHooks();
    } else {
        // The layer has no modal forms: a secondary form closes by hiding.
        Control->SetVisible(false);
        handled = true;
    }

    // 4.
    (this->*PositionHook)(true);
    return handled;
}

void TQorMainForm::PositionNone(bool)
{
}

void TQorMainForm::PositionIni(bool Save)
{
    const size_t at = SavePosition.find(".ini\\");
    if (at == std::string::npos)
        return;
    TWinIniFile *ini = NewObject<TWinIniFile>(IniFolder() + SavePosition.substr(0, at + 4));
    ini->SetSection(SavePosition.substr(at + 5));
    ini->SetMode(Save ? TIniFileMode::ifmWrite : TIniFileMode::ifmRead);
    const RECT bounds = Control->BoundsRect();
    const int32_t left = ini->ValueInteger("Left", bounds.left);
    const int32_t top = ini->ValueInteger("Top", bounds.top);
    const int32_t width = ini->ValueInteger("Width", bounds.right - bounds.left);
    const int32_t height = ini->ValueInteger("Height", bounds.bottom - bounds.top);
    ini->Free();
    if (!Save)
        Control->SetBounds(left, top, width, height);
}

void TQorMainForm::PositionRegistry(bool Save)
{
    const std::string key = "Software\\" + SavePosition;
    const RECT bounds = Control->BoundsRect();
    int32_t left = bounds.left;
    int32_t top = bounds.top;
    int32_t height = bounds.bottom - bounds.top;
    int32_t width = bounds.right - bounds.left;
    struct TValue {
        const char *Name;
        int32_t *Bound;
    };
    const TValue values[4] = {{"Left", &left}, {"Top", &top}, {"Height", &height}, {"Width", &width}};

    HKEY handle = nullptr;
    if (Save) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &handle, nullptr) != ERROR_SUCCESS)
            return;
        for (const TValue &v : values)
            RegSetValueExA(handle, v.Name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(v.Bound), 4);
        RegCloseKey(handle);
        return;
    }

    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return;
    for (const TValue &v : values) {
        // A value of exactly four bytes is a bound, whatever its type; any other
        // size is skipped.
        int32_t read = 0;
        DWORD size = 4;
        if (RegQueryValueExA(handle, v.Name, nullptr, nullptr, reinterpret_cast<BYTE *>(&read),
                             &size) == ERROR_SUCCESS &&
            size == 4)
            *v.Bound = read;
    }
    RegCloseKey(handle);
    Control->SetBounds(left, top, width, height);
}
