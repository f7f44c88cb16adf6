#pragma once
// Common ground of the window element tests: the layer's clean state and
// watchdog (LayerTest), pixel read-back, and a test scheme of visual
// elements.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "elements/win/TQorLED.h"
#include "elements/win/TQorLabel.h"
#include "elements/win/TQorMainForm.h"
#include "runtime/RuntimeTestKit.h"
#include "runtime/TScheme.h"
#include "winlayer/LayerTest.h"
#include "winlayer/Pixels.h"

namespace wintest {

using testkit::Running;
using testkit::Sink;
using testkit::Source;
using Journal = std::vector<std::string>;

using Snapshot = layertest::TPixels;

// The pixels a control paints, printed into a bitmap of its client size.
inline Snapshot Printed(HWND Window)
{
    RECT client{};
    GetClientRect(Window, &client);
    layertest::TMemoryPicture picture(client.right, client.bottom);
    SendMessageA(Window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.DC), PRF_CLIENT);
    return picture.Read();
}

// Lets the windows handle what is queued (paints included).
inline void Settle()
{
    for (int round = 0; round < 3; ++round)
        layertest::DrainQueue();
}

// The properties every visual element gets from the scheme, with the scheme's
// usual values: bounds, button-face colour, MS Sans Serif 8.
inline void Configure(TQorWin *Element, int Left, int Top, int Width, int Height, uint8_t Visible = 1)
{
    Element->Left = Left;
    Element->Top = Top;
    Element->Width = Width;
    Element->Height = Height;
    Element->Color = 0xFF00000F;
    SetFontRec("MS Sans Serif", 8, 0, Element->Font, 1, 0x000000);
    Element->Visible = Visible;
    Element->Enabled = 1;
    Element->Ctl3D = 1;
}

// A test scheme of visual elements on the window layer. It owns its elements
// as the program's schemes do, and leaves the dispatch and the start list as
// it found them.
struct ElementTest : layertest::LayerTest {
    struct Scheme : TScheme {
        using TScheme::FreeElements;
    };
    Scheme Elements;
    Journal Log;
    bool StartedBefore = false;

    void SetUp() override
    {
        LayerTest::SetUp();
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
        LayerTest::TearDown();
    }

    // A main form configured as the program's, hidden unless told otherwise.
    TQorMainForm *MakeMainForm(int Width = 200, int Height = 150, uint8_t Visible = 0,
                               const std::string &SavePosition = "")
    {
        TQorMainForm *form = Elements.Make<TQorMainForm>(nullptr);
        Configure(form, 40, 40, Width, Height, Visible);
        form->SetCaption("element test");
        form->SetBorderStyle(2);
        form->KeyPreview = 1;
        form->SavePosition = SavePosition;
        form->Init();
        return form;
    }
    TQorLED *MakeLed(TQorMainForm *Form, uint8_t On, uint8_t Frame = 0)
    {
        TQorLED *led = Elements.Make<TQorLED>(Form->Control);
        Configure(led, 20, 20, 15, 15);
        led->ColorOn = 0x008000;
        led->ColorOff = 0x0000FF;
        led->ColorLight = 0xFFFFFF;
        led->On = On;
        led->Frame = Frame;
        led->Init();
        return led;
    }
    Sink *SinkFor(TPointLink &Event, const std::string &Name)
    {
        Sink *sink = Elements.Make<Sink>();
        sink->Log = &Log;
        sink->Name = Name;
        LinkEvent(Event, sink, &Sink::doTake, 0);
        return sink;
    }
};

} // namespace wintest
