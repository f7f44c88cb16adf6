#include "TQorRegistry.h"

#include <windows.h>

#include <vector>

#include "winlayer/WinMemoryStream.h"

using winlayer::NewObject;
using winlayer::TWinMemoryStream;

namespace {

HKEY AsKey(void *Key)
{
    return static_cast<HKEY>(Key);
}

HKEY RootOf(uint8_t Root)
{
    switch (Root) {
    case 0:
        return HKEY_CLASSES_ROOT;
    case 1:
        return HKEY_CURRENT_USER;
    case 2:
        return HKEY_LOCAL_MACHINE;
    case 3:
        return HKEY_USERS;
    case 4:
        return HKEY_CURRENT_CONFIG;
    }
    return nullptr;
}

// The registry's type as the element tells it apart; only 1 and 2 (text
// values) change what a string read gives.
int TypeCode(DWORD Type)
{
    switch (Type) {
    case REG_SZ:
        return 1;
    case REG_EXPAND_SZ:
        return 2;
    case REG_BINARY:
        return 4;
    case REG_DWORD:
        return 3;
    }
    return 0;
}

// Size of a value in bytes, 0 when it cannot be read.
DWORD ValueSize(HKEY Key, const std::string &Name)
{
    DWORD size = 0;
    if (RegQueryValueExA(Key, Name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return 0;
    return size;
}

} // namespace

TQorRegistry::TQorRegistry()
{
    ChangeRoot(HKEY_CURRENT_USER);
    Access = 0xF003F;
    CloseMode = 1;
}

TQorRegistry::~TQorRegistry()
{
    if (Stream)
        Stream->Free();
    ReleaseKey();
}

void TQorRegistry::doRead(TData &Data, uint16_t)
{
    // 1
    TData result;
    result.dtNull();
    bool found = false;
    // 2
    ChangeRoot(RootOf(Root));
    // 3
    std::string keyPath = ReadString(Data, Key, FKey);
    if (OpenKey(keyPath, false, KEY_READ)) {
        // 4
        found = true;
        std::string name = ReadString(Data, ValueName, FValueName);
        HKEY key = AsKey(CurrentKey);
        switch (DataType) {
        case 0: {
            int32_t value = 0;
            DWORD size = sizeof value;
            if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE *>(&value), &size) !=
                ERROR_SUCCESS) {
                value = 0;
                found = false;
            }
            result.dtInteger(value);
            break;
        }
        case 2: {
            double value = 0.0;
            DWORD size = sizeof value;
            if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE *>(&value), &size) !=
                ERROR_SUCCESS) {
                value = 0.0;
                found = false;
            }
            result.dtReal(value);
            break;
        }
        case 1: {
            DWORD size = ValueSize(key, name);
            std::string text;
            DWORD type = REG_NONE;
            if (size == 0) {
                found = false;
            } else {
                text.assign(size, '\0');
                if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(&text[0]),
                                     &size) == ERROR_SUCCESS) {
                    text.resize(size);
                    int code = TypeCode(type);
                    if (code == 1 || code == 2)
                        text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
                } else {
                    text.clear();
                }
            }
            result.dtString(text);
            break;
        }
        case 3: {
            DWORD size = ValueSize(key, name);
            if (size == 0) {
                found = false;
                result.dtStream(nullptr);
                break;
            }
            if (Stream)
                Stream->Free();
            Stream = NewObject<TWinMemoryStream>();
            std::vector<BYTE> bytes(size);
            if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS)
                size = 0;
            Stream->Write(bytes.data(), size);
            Stream->SetPosition(0);
            result.dtStream(Stream);
            break;
        }
        default:
            break;
        }
        // 5
        ReleaseKey();
    }
    // 6
    if (SuccessOnly == 0 || found)
        CallEvent(onRead, result);
}

void TQorRegistry::ChangeRoot(void *NewRoot)
{
    if (NewRoot == RootKey)
        return;
    RootKey = NewRoot;
    ReleaseKey();
}

void TQorRegistry::ReleaseKey()
{
    if (CurrentKey) {
        if (CloseMode)
            RegCloseKey(AsKey(CurrentKey));
        else
            RegFlushKey(AsKey(CurrentKey));
    }
    CurrentKey = nullptr;
    CurrentPath.clear();
}

bool TQorRegistry::OpenKey(std::string Path, bool Create, uint32_t KeyAccess)
{
    // 1
    bool relative = true;
    if (!Path.empty() && Path[0] == '\\') {
        Path.erase(0, 1);
        relative = false;
    }
    // 2
    bool fromCurrent = relative && CurrentKey;
    HKEY base = fromCurrent ? AsKey(CurrentKey) : AsKey(RootKey);
    // 3
    HKEY key = nullptr;
    LONG status;
    if (Create && !Path.empty()) {
        DWORD disposition = 0;
        status = RegCreateKeyExA(base, Path.c_str(), 0, nullptr, 0, KeyAccess, nullptr, &key, &disposition);
    } else {
        status = RegOpenKeyExA(base, Path.c_str(), 0, KeyAccess, &key);
    }
    if (status != ERROR_SUCCESS)
        return false;
    // 4
    std::string newPath = fromCurrent ? CurrentPath + "\\" + Path : Path;
    ReleaseKey();
    CurrentKey = key;
    CurrentPath = newPath;
    return true;
}
