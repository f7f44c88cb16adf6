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

// What a window shows: its client area printed into a bitmap (WM_PRINTCLIENT
// after the background), read back pixel by pixel as COLORREF.
struct Snapshot {
    int Width = 0;
    int Height = 0;
    std::vector<COLORREF> Pixels;

    COLORREF At(int X, int Y) const { return Pixels[static_cast<size_t>(Y * Width + X)]; }
};

// The pixels of the screen area a window covers, as the display has them.
inline Snapshot ScreenPixels(HWND Window)
{
    Snapshot shot;
    RECT client{};
    GetClientRect(Window, &client);
    shot.Width = client.right;
    shot.Height = client.bottom;
    HDC windowDC = GetDC(Window);
    HDC memory = CreateCompatibleDC(windowDC);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDC, shot.Width, shot.Height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.Width, shot.Height, windowDC, 0, 0, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.Width;
    info.bmiHeader.biHeight = -shot.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> bits(static_cast<size_t>(shot.Width * shot.Height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(shot.Height), bits.data(), &info, DIB_RGB_COLORS);
    for (uint32_t p : bits)
        shot.Pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));

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
