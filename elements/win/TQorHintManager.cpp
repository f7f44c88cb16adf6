#include "TQorHintManager.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "winlayer/WinControl.h"

namespace {

LRESULT SendToTip(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    return SendMessageA(Window, Message, WParam, LParam);
}

THintHandle CreateHintThunk(void *Self, HWND Window)
{
    return static_cast<TQorHintManager *>(Self)->CreateHint(Window);
}
void DestroyHintThunk(void *Self, THintHandle Hint)
{
    static_cast<TQorHintManager *>(Self)->DestroyHint(Hint);
}
void SetHintTextThunk(void *Self, THintHandle Hint, const std::string &Text)
{
    static_cast<TQorHintManager *>(Self)->SetHintText(Hint, Text);
}
void SetHintTitleThunk(void *Self, THintHandle Hint, int Icon, const std::string &Title)
{
    static_cast<TQorHintManager *>(Self)->SetHintTitle(Hint, Icon, Title);
}
void HintEnterThunk(void *Self, THintHandle Hint)
{
    static_cast<TQorHintManager *>(Self)->HintEnter(Hint);
}
void HintLeaveThunk(void *Self, THintHandle Hint)
{
    static_cast<TQorHintManager *>(Self)->HintLeave(Hint);
}
void HintMoveThunk(void *Self, THintHandle Hint, int X, int Y)
{
    static_cast<TQorHintManager *>(Self)->HintMove(Hint, X, Y);
}

LPARAM ToolOf(THintHandle Hint)
{
    return reinterpret_cast<LPARAM>(&Hint->Info);
}

HWND TipOf(THintHandle Hint)
{
    return reinterpret_cast<HWND>(Hint->Info.lParam);
}

// The common controls must be registered before the first tooltip is made.
void InitCommonControlsOnce()
{
    InitCommonControls();
    using TInitEx = BOOL(WINAPI *)(const INITCOMMONCONTROLSEX *);
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    auto initEx = comctl ? reinterpret_cast<TInitEx>(
                               reinterpret_cast<void (*)()>(GetProcAddress(comctl, "InitCommonControlsEx")))
                         : nullptr;
    if (initEx) {
        INITCOMMONCONTROLSEX icc{};
        icc.dwSize = 8;
        icc.dwICC = 0xFF;
        initEx(&icc);
    }
}

} // namespace

// The tool record up to lParam, the layout every version of the tooltip takes.
constexpr UINT ToolRecordSize = offsetof(TOOLINFOA, lParam) + sizeof(LPARAM);
#if !defined(_WIN64)
static_assert(ToolRecordSize == 44, "the tool record of the 32-bit program is 44 bytes");
#endif

TQorHintManager::TSendProc TQorHintManager::SendTip = &SendToTip;

TQorHintManager::TQorHintManager()
{
    Interface = new THintInterface{
        {&CreateHintThunk, this}, {&DestroyHintThunk, this}, {&SetHintTextThunk, this},
        {&SetHintTitleThunk, this}, {&HintEnterThunk, this}, {&HintLeaveThunk, this},
        {&HintMoveThunk, this}};
    SetFontRec("Tahoma", 8, 0, Font, 1, 0xFF000017);
}

TQorHintManager::~TQorHintManager()
{
    delete Interface;
}

LOGFONTA HintLogFont(const TFontRec &Font)
{
    LOGFONTA lf{};
    lf.lfHeight = winlayer::PointsToHeight(Font.FontSize);
    if (Font.FontStyle & 1)
        lf.lfWeight = FW_BOLD;
    lf.lfItalic = (Font.FontStyle >> 1) & 1;
    lf.lfUnderline = (Font.FontStyle >> 2) & 1;
    lf.lfStrikeOut = (Font.FontStyle >> 3) & 1;
    lf.lfCharSet = Font.FontCharset;
    const size_t length = std::min(Font.FontName.size(), sizeof lf.lfFaceName - 1);
    std::memcpy(lf.lfFaceName, Font.FontName.data(), length);
    return lf;
}

THintHandle TQorHintManager::CreateHint(HWND Window)
{
    // 1.
    auto *hint = new THintRecord{};
    hint->Info.cbSize = ToolRecordSize;
    hint->Info.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;
    hint->Info.hwnd = Window;
    hint->Info.uId = reinterpret_cast<UINT_PTR>(Window);

    // 2.
    const DWORD style = Plain ? WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX
                              : WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON;
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, style, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Window, nullptr,
                               GetModuleHandleA(nullptr), nullptr);

    // 3.
    const LOGFONTA lf = HintLogFont(Font);
    hint->Font = CreateFontIndirectA(&lf);
    SendTip(tip, WM_SETFONT, reinterpret_cast<WPARAM>(hint->Font), TRUE);

    // 4.
    SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);

    // 5.
    SendTip(tip, TTM_ADDTOOLA, 0, ToolOf(hint));

    // 6.
    SendTip(tip, TTM_SETTIPTEXTCOLOR, winlayer::ColorToRGB(Font.FontColor), 0);
    SendTip(tip, TTM_SETTIPBKCOLOR, winlayer::ColorToRGB(BackColor), 0);

    // 7.
    SendTip(tip, TTM_SETDELAYTIME, TTDT_INITIAL, static_cast<LPARAM>(InitialDelay));
    SendTip(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, static_cast<LPARAM>(ShowTime));

    // 8.
    const int margin = static_cast<int>(Margin);
    RECT margins{margin, margin, margin, margin};
    SendTip(tip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));

    // 9.
    hint->Info.lParam = reinterpret_cast<LPARAM>(tip);
    return hint;
}

void TQorHintManager::DestroyHint(THintHandle Hint)
{
    if (!Hint)
        return;
    HWND tip = TipOf(Hint);
    if (Hint->Font)
        DeleteObject(Hint->Font);
    SendTip(tip, TTM_DELTOOLA, 0, ToolOf(Hint));
    DestroyWindow(tip);
    delete Hint;
}

void TQorHintManager::SetHintText(THintHandle Hint, const std::string &Text)
{
    if (!Hint)
        return;
    Hint->Text = Text;
    Hint->Info.lpszText = const_cast<char *>(Hint->Text.c_str());
    SendTip(TipOf(Hint), TTM_UPDATETIPTEXTA, 0, ToolOf(Hint));
}

void TQorHintManager::SetHintTitle(THintHandle Hint, int Icon, const std::string &Title)
{
    if (!Hint)
        return;
    SendTip(TipOf(Hint), TTM_SETTITLEA, static_cast<WPARAM>(Icon),
            reinterpret_cast<LPARAM>(Title.c_str()));
}

void TQorHintManager::HintEnter(THintHandle Hint)
{
    if (Hint && Track)
        SendTip(TipOf(Hint), TTM_TRACKACTIVATE, TRUE, ToolOf(Hint));
}

void TQorHintManager::HintLeave(THintHandle Hint)
{
    if (Hint && Track)
        SendTip(TipOf(Hint), TTM_TRACKACTIVATE, FALSE, ToolOf(Hint));
}

void TQorHintManager::HintMove(THintHandle Hint, int X, int Y)
{
    if (Hint && Track)
        SendTip(TipOf(Hint), TTM_TRACKPOSITION, 0, MAKELPARAM(X, Y));
}

TQorHintManager &HintManager()
{
    static TQorHintManager *manager = [] {
        InitCommonControlsOnce();
        return new TQorHintManager();
    }();
    return *manager;
}
