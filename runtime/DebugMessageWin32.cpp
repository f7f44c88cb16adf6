#include <windows.h>

#include <string>

#include "TPointLink.h"

void *(*DebugMessageOwner)() = nullptr;

void PlatformDebugMessage(const std::string &Text)
{
    HWND owner = DebugMessageOwner ? static_cast<HWND>(DebugMessageOwner()) : nullptr;
    MessageBoxA(owner, Text.c_str(), "String-Debug", MB_OK);
}

const char *LoadTextResource(const char *Name)
{
    HRSRC info = FindResourceA(nullptr, Name, MAKEINTRESOURCEA(100));
    if (!info)
        return nullptr;
    HGLOBAL loaded = LoadResource(nullptr, info);
    if (!loaded)
        return nullptr;
    const char *bytes = static_cast<const char *>(LockResource(loaded));
    FreeResource(loaded);
    return bytes;
}
