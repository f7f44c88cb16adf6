#pragma once
#include <cstdint>
#include <string>

// A font as a scheme hands it to a visual element.
struct TFontRec {
    std::string FontName;
    uint8_t FontSize = 0;   // points
    uint8_t FontStyle = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strike-out
    uint32_t FontColor = 0; // colour value; the top bit names a system colour
    uint8_t FontCharset = 0;
};

inline void SetFontRec(const std::string &Name, uint8_t Size, uint8_t Style, TFontRec &Rec,
                       uint8_t Charset, uint32_t Color)
{
    Rec.FontName = Name;
    Rec.FontSize = Size;
    Rec.FontStyle = Style;
    Rec.FontColor = Color;
    Rec.FontCharset = Charset;
}
