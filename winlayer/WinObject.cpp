#include "WinObject.h"

namespace winlayer {

namespace {
int32_t gLiveObjects = 0;
}

TWinObject::TWinObject()
{
    ++gLiveObjects;
}

TWinObject::~TWinObject()
{
    --gLiveObjects;
}

int32_t TWinObject::LiveObjects()
{
    return gLiveObjects;
}

void TWinObject::Free()
{
    if (RefCount == 0) {
        delete this;
        return;
    }
    if ((RefCount & 1) == 0)
        RefCount -= 1;
}

void TWinObject::Release()
{
    RefCount -= 2;
    if (RefCount < 0 && (RefCount & 1) != 0)
        delete this;
}

} // namespace winlayer
