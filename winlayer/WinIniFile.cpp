#include "WinIniFile.h"

#include <windows.h>

#include "NumText.h"

namespace winlayer {

TWinIniFile::TWinIniFile(const std::string &fileName) : FFileName(fileName)
{
}

int32_t TWinIniFile::ValueInteger(const std::string &key, int32_t value)
{
    if (FMode == TIniFileMode::ifmRead)
        return static_cast<int32_t>(
            GetPrivateProfileIntA(FSection.c_str(), key.c_str(), value, FFileName.c_str()));
    WritePrivateProfileStringA(FSection.c_str(), key.c_str(), IntToText(value).c_str(), FFileName.c_str());
    return value;
}

} // namespace winlayer
