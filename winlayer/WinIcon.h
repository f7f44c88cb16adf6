#pragma once
#include <windows.h>

#include "winlayer/WinObject.h"

namespace winlayer {

// An icon handle with its size. The object destroys the icon when it goes,
// unless the icon is shared (a system or resource icon that others use too).
class TWinIcon : public TWinObject {
public:
    HICON Handle() const { return FHandle; }
    // Takes the icon (destroying the one it held unless shared) and reads its
    // size from the icon's colour bitmap; an empty handle has the size 0 x 0.
    void SetHandle(HICON handle);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    bool ShareIcon = false;

protected:
    ~TWinIcon() override;

private:
    void ReleaseHandle();

    HICON FHandle = nullptr;
    int FWidth = 0;
    int FHeight = 0;
};

TWinIcon *NewIcon();

} // namespace winlayer
