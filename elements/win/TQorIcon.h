#pragma once
#include <windows.h>

#include <cstdint>

#include "runtime/TPointLink.h"
#include "winlayer/WinIcon.h"

// Holds one icon and hands it out as an icon value. The icon object is FIcon,
// since Icon names the data output.
class TQorIcon : public TElement {
public:
    TQorIcon() = default;
    ~TQorIcon();
    TQorIcon(const TQorIcon &) = delete;
    TQorIcon &operator=(const TQorIcon &) = delete;

    winlayer::TWinIcon *FIcon = nullptr; // owned; none until SetIcon
    uint32_t Color = 0;                  // set by the scheme, read by nobody

    // Makes the icon object and gives it the handle. The icon stays the
    // caller's: resource icons (LoadIconA) are shared and never destroyed.
    void SetIcon(HICON Handle);

    void Icon(TData &Data, uint16_t Index);
};
