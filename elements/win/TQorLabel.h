#pragma once
#include <cstdint>
#include <string>

#include "elements/win/TQorWin.h"

// A line or block of text that the scheme can replace.
class TQorLabel : public TQorWin {
public:
    explicit TQorLabel(winlayer::TWinControl *ParentControl);

    TPointLink onClick;
    uint32_t HoverColor = 0;    // font colour while the mouse is over the label; 0 none
    uint8_t HoverUnderline = 0; // underlined while the mouse is over the label
    std::string Caption;        // the text Init shows
    TPointLink Text;            // text source of doText

    // Non-zero: the label fits itself to its text now and after every change.
    void SetAutoSize(uint8_t Value);
    // 0 left, 1 right, 2 centre (the low 2 bits); also lets the text wrap at words.
    void SetAlignment(uint8_t Value);

    void doText(TData &Data, uint16_t Index);
    // The text's colour := the incoming integer (a colour value, 0x00BBGGRR).
    void doFontColor(TData &Data, uint16_t Index);

    void MouseEnter() override;
    void MouseLeave() override;
    void Init() override;

private:
    static void ClickEvent(void *Self, winlayer::TWinControl *Sender);
};
