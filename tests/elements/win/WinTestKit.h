#pragma once
// Common ground of the window element tests: the layer's clean state and
// watchdog (LayerTest), dispatch switched on for a test, recorders for the
// notification-area and tooltip seams, and pixel and text read-back.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "elements/win/TQorHintManager.h"
#include "elements/win/TQorTrayIcon.h"
#include "runtime/RuntimeTestKit.h"
#include "winlayer/LayerTest.h"

namespace wintest {

using testkit::Running;
using testkit::Sink;
using testkit::Source;

// Every Shell_NotifyIconA request of the tray element, with a copy of its record.
struct TrayCall {
    DWORD Message;
    NOTIFYICONDATAA Record;
};

struct TrayRecorder {
    static std::vector<TrayCall> &Calls()
    {
        static std::vector<TrayCall> calls;
        return calls;
    }
    static BOOL Record(DWORD Message, NOTIFYICONDATAA *Data)
    {
        Calls().push_back(TrayCall{Message, *Data});
        return TRUE;
    }

    TQorTrayIcon::TNotifyProc Old;
    TrayRecorder() : Old(TQorTrayIcon::NotifyIcon)
    {
        Calls().clear();
        TQorTrayIcon::NotifyIcon = &Record;
    }
    ~TrayRecorder() { TQorTrayIcon::NotifyIcon = Old; }
    TrayRecorder(const TrayRecorder &) = delete;
    TrayRecorder &operator=(const TrayRecorder &) = delete;

    static int Count(DWORD Message)
    {
        int n = 0;
        for (const TrayCall &c : Calls())
            n += c.Message == Message;
        return n;
    }
    // Icons in the tray as the requests tell it.
    static int IconsShown() { return Count(NIM_ADD) - Count(NIM_DELETE); }
};

// Every message the hint manager sends to a tooltip; passed on to the real
// tooltip unless told otherwise.
struct TipMessage {
    HWND Window;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
    TOOLINFOA Tool; // a copy of the tool record for the messages that carry one
};

struct TipRecorder {
    static std::vector<TipMessage> &Sent()
    {
        static std::vector<TipMessage> sent;
        return sent;
    }
    static bool &PassOn()
    {
        static bool passOn = true;
        return passOn;
    }
    static LRESULT Record(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
    {
        TipMessage m{Window, Message, WParam, LParam, {}};
        if ((Message == TTM_ADDTOOLA || Message == TTM_DELTOOLA || Message == TTM_UPDATETIPTEXTA ||
             Message == TTM_TRACKACTIVATE) &&
            LParam)
            m.Tool = *reinterpret_cast<const TOOLINFOA *>(LParam);
        Sent().push_back(m);
        return PassOn() ? SendMessageA(Window, Message, WParam, LParam) : 0;
    }

    TQorHintManager::TSendProc Old;
    explicit TipRecorder(bool passOn = true) : Old(TQorHintManager::SendTip)
    {
        Sent().clear();
        PassOn() = passOn;
        TQorHintManager::SendTip = &Record;
    }
    ~TipRecorder() { TQorHintManager::SendTip = Old; }
    TipRecorder(const TipRecorder &) = delete;
    TipRecorder &operator=(const TipRecorder &) = delete;
};

inline std::string TextOf(HWND Window)
{
    char text[1024] = {};
    return std::string(text, static_cast<size_t>(GetWindowTextA(Window, text, sizeof text)));
}

inline std::string ClassOf(HWND Window)
{
    char name[64] = {};
    return std::string(name, static_cast<size_t>(GetClassNameA(Window, name, sizeof name)));
}

// Pixels read back from a bitmap, as COLORREF.
struct Snapshot {
    int Width = 0;
    int Height = 0;
    std::vector<COLORREF> Pixels;

    COLORREF At(int X, int Y) const { return Pixels[static_cast<size_t>(Y * Width + X)]; }
};

inline Snapshot Pixels(HDC Dc, HBITMAP Bitmap, int Width, int Height)
{
    Snapshot shot;
    shot.Width = Width;
    shot.Height = Height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = -Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> bits(static_cast<size_t>(Width * Height));
    GetDIBits(Dc, Bitmap, 0, static_cast<UINT>(Height), bits.data(), &info, DIB_RGB_COLORS);
    for (uint32_t p : bits)
        shot.Pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return shot;
}

// The pixels of a window's client area as the display shows them.
inline Snapshot ScreenPixels(HWND Window)
{
    RECT client{};
    GetClientRect(Window, &client);
    HDC windowDC = GetDC(Window);
    HDC memory = CreateCompatibleDC(windowDC);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDC, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, windowDC, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    Snapshot shot = Pixels(memory, bitmap, client.right, client.bottom);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(Window, windowDC);
    return shot;
}

// Lets the windows handle what is queued (paints included).
inline void Settle()
{
    MSG msg;
    for (int round = 0; round < 3; ++round)
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT)
                DispatchMessageA(&msg);
}

} // namespace wintest

// ---- Visual elements ------------------------------------------------------------
#include "elements/win/TQorLED.h"
#include "elements/win/TQorLabel.h"
#include "elements/win/TQorMainForm.h"
#include "runtime/TScheme.h"
#include "winlayer/GdiCount.h"

namespace wintest {

// The properties every visual element gets from the scheme, with the scheme's
// usual values: bounds, button-face colour, MS Sans Serif 8.
inline void Configure(TQorWin *Element, int Left, int Top, int Width, int Height, uint8_t Ctl3D = 1,
                      uint8_t Visible = 1)
{
    Element->Left = Left;
    Element->Top = Top;
    Element->Width = Width;
    Element->Height = Height;
    Element->Align = 0;
    Element->Color = 0xFF00000F;
    SetFontRec("MS Sans Serif", 8, 0, Element->Font, 1, 0x000000);
    Element->ParentFont = 0;
    Element->Visible = Visible;
    Element->Enabled = 1;
    Element->Cursor = 0;
    Element->TabOrder = 0;
    Element->Ctl3D = Ctl3D;
    Element->EdgeStyle = 0;
    Element->Hint = "";
}

// The layer's clean state without the watchdog, for tests that run no loop
// and take long on purpose.
struct UnwatchedLayerTest : ::testing::Test {
    void SetUp() override
    {
        layertest::ResetLayerState();
        layertest::DrainQueue();
        LiveAtStart = winlayer::TWinObject::LiveObjects();
    }
    void TearDown() override
    {
        layertest::DrainQueue();
        layertest::ResetLayerState();
    }
    int32_t LiveAtStart = 0;
};

// A test scheme of visual elements on the window layer. It owns its elements
// as the program's schemes do, and leaves the dispatch and the start list as
// it found them.
template <class Base> struct ElementTestOn : Base {
    struct Scheme : TScheme {
        using TScheme::FreeElements;
    };
    Scheme Elements;
    std::vector<std::string> Log;

    void SetUp() override
    {
        Base::SetUp();
        StopHooks();
        StartedBefore = Started;
    }
    void TearDown() override
    {
        StopHooks();
        // Forms register a start routine; one never started must not stay listed.
        RunStartList();
        Started = StartedBefore;
        Elements.FreeElements();
        Settle();
        Base::TearDown();
    }

    // A main form configured as the program's, hidden unless told otherwise.
    TQorMainForm *MakeMainForm(int Width = 200, int Height = 150, uint8_t Visible = 0)
    {
        TQorMainForm *form = Elements.Make<TQorMainForm>(nullptr);
        Configure(form, 40, 40, Width, Height, 1, Visible);
        form->SetCaption("element test");
        form->SetBorderStyle(2);
        form->AlphaBlend = 255;
        form->WindowState = 0;
        form->KeyPreview = 1;
        form->Init();
        return form;
    }

    Sink *SinkFor(TPointLink &Event, const std::string &Name)
    {
        Sink *sink = Elements.Make<Sink>();
        sink->Log = &Log;
        sink->Name = Name;
        LinkEvent(Event, sink, &Sink::doTake, 0);
        return sink;
    }

    Source *SourceFor(TPointLink &Input, const TData &Answer)
    {
        Source *source = Elements.Make<Source>();
        source->Answer = Answer;
        LinkData(Input, source, &Source::Value, 0);
        return source;
    }

    bool StartedBefore = false;
};
using ElementTest = ElementTestOn<layertest::LayerTest>;

// Shows a form and lets it paint.
inline void ShowAndPaint(TQorMainForm *Form)
{
    Form->Control->SetVisible(true);
    UpdateWindow(Form->Control->Handle);
    Settle();
}

} // namespace wintest
