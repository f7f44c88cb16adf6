#pragma once
#include <windows.h>

#include <cstdint>

#include "elements/win/TQorWin.h"

// The shape of the frame and glints of a round LED in its client rectangle.
struct TLedRoundGlints {
    int Dx, Dy;         // an eighth of the width and height
    int L, T, R, B;     // the rectangle the glints are drawn in
    int W1, H1, W2, H2; // the two glints' extents (0.52 and 0.24 of that rectangle)
};
TLedRoundGlints LedRoundGlints(const RECT &Client);

// The rectangle the glints of a square LED are drawn in.
RECT LedSquareGlints(const RECT &Client);

// A round or square lamp that is on or off.
class TQorLED : public TQorWin {
public:
    using TQorWin::TQorWin;
    ~TQorLED() override;

    uint32_t ColorOn = 0;
    uint32_t ColorOff = 0;
    uint32_t ColorLight = 0;
    uint8_t On = 0;
    uint8_t Shape = 0; // 0 round, 1 square, 2 or more a square fill without frame
    uint8_t Frame = 0; // bevel and glints
    HPEN PenGrey = nullptr;
    HPEN PenWhite = nullptr;
    HBRUSH BrushOn = nullptr;
    HBRUSH BrushOff = nullptr;
    HPEN PenOff = nullptr;
    HPEN PenLight = nullptr;
    HPEN PenWhiteWide = nullptr;
    HPEN PenOnWide = nullptr;
    TPointLink onChange;
    TPointLink onClick;

    void doOn(TData &Data, uint16_t Index);
    void doOff(TData &Data, uint16_t Index);
    void State(TData &Data, uint16_t Index);

    void Resized() override;
    void Init() override;

    // Paints the lamp into the context (the control's paint routine).
    void Paint(HDC Dc);

private:
    static void PaintEvent(void *Self, winlayer::TWinControl *Sender, HDC Dc);
    static void ClickEvent(void *Self, winlayer::TWinControl *Sender);
};
