#include "TQorLabel.h"

using namespace winlayer;

TQorLabel::TQorLabel(TWinControl *ParentControl) : TQorWin(ParentControl)
{
    Control = NewLabel(Parent, "");
    Control->SetOnClick(TControlHook{&ClickEvent, this});
}

void TQorLabel::ClickEvent(void *Self, TWinControl *)
{
    CallEventNull(static_cast<TQorLabel *>(Self)->onClick);
}

void TQorLabel::SetAutoSize(uint8_t Value)
{
    winlayer::SetAutoSize(Control, Value != 0);
}

void TQorLabel::SetAlignment(uint8_t Value)
{
    static constexpr DWORD Styles[4] = {SS_LEFT, SS_RIGHT, SS_CENTER, SS_LEFT};
    // The no-word-wrap bits (0xC) go with the old alignment.
    Control->SetStyle((Control->Style & ~DWORD{0xF}) | Styles[Value & 3]);
}

void TQorLabel::doText(TData &Data, uint16_t)
{
    const std::string text = ReadString(Data, Text, "");
    if (!ControlGone)
        Control->SetCaption(text);
}

// Font's colour follows, so that a hover colour gives way to the new one.
void TQorLabel::doFontColor(TData &Data, uint16_t)
{
    Font.FontColor = static_cast<uint32_t>(ToInteger(Data));
    if (!ControlGone)
        Control->Font()->SetColor(Font.FontColor);
}

void TQorLabel::Init()
{
    TQorWin::Init();
    Control->SetCaption(Caption);
    if (HoverColor != 0 || HoverUnderline)
        TrackEnterLeave();
}

void TQorLabel::MouseEnter()
{
    TQorWin::MouseEnter();
    if (HoverColor != 0)
        Control->Font()->SetColor(HoverColor);
    if (HoverUnderline)
        Control->Font()->SetFontStyle(Control->Font()->FontStyle() | fsUnderline);
}

void TQorLabel::MouseLeave()
{
    TQorWin::MouseLeave();
    if (HoverColor != 0)
        Control->Font()->SetColor(Font.FontColor);
    if (HoverUnderline)
        Control->Font()->SetFontStyle(Control->Font()->FontStyle() & ~fsUnderline);
}
