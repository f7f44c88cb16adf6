#pragma once
#include <windows.h>

#include "winlayer/WinObject.h"

namespace winlayer {

// An icon handle with its size, read from the icon's colour bitmap.
class TWinIcon : public TWinObject {
public:
    HICON Handle() const { return FHandle; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Takes the handle; an owned one is destroyed with the object or when replaced,
    // a shared one (LoadIcon) never.
    void SetHandle(HICON icon, bool owned = false);
    bool Owned() const { return FOwned; }
    // Draws the icon at its own size.
    void Draw(HDC dc, int x, int y) const;

protected:
    ~TWinIcon() override;

private:
    HICON FHandle = nullptr;
    bool FOwned = false;
    int FWidth = 0;
    int FHeight = 0;
};

TWinIcon *NewIcon();

} // namespace winlayer
