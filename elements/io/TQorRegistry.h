#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

namespace winlayer {
class TWinMemoryStream;
}

// Reads one registry value and passes it on as an integer, a string, a real or
// a stream. Key and ValueName are both properties and data points; the points
// keep the names and the properties are FKey and FValueName.
class TQorRegistry : public TElement {
public:
    TQorRegistry();
    ~TQorRegistry();
    TQorRegistry(const TQorRegistry &) = delete;
    TQorRegistry &operator=(const TQorRegistry &) = delete;

    void *CurrentKey = nullptr; // HKEY of the last successful open
    void *RootKey = nullptr;    // HKEY paths are opened from
    uint8_t CloseMode = 1;      // releasing closes the key (else only flushes it)
    std::string CurrentPath;
    uint32_t Access = 0xF003F;  // KEY_ALL_ACCESS, kept for creating keys
    winlayer::TWinMemoryStream *Stream = nullptr; // the last value read as a stream

    uint8_t Root = 0;       // 0 HKCR, 1 HKCU, 2 HKLM, 3 HKU, 4 HKCC
    std::string FKey;
    std::string FValueName;
    uint8_t DataType = 0;   // 0 integer, 1 string, 2 real, 3 stream
    uint8_t SuccessOnly = 0;

    TPointLink Key;
    TPointLink ValueName;
    TPointLink onRead;

    void doRead(TData &Data, uint16_t Index);

private:
    void ChangeRoot(void *NewRoot);
    void ReleaseKey();
    bool OpenKey(std::string Path, bool Create, uint32_t KeyAccess);
};
