// The registry reader on the registry of the Wine prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>

#include "elements/io/TQorRegistry.h"
#include "runtime/RuntimeTestKit.h"

namespace {

// A key of our own under Root, removed afterwards.
struct TestKey {
    HKEY Root, Key = nullptr;
    std::string Path = "Software\\TervikTest\\" + std::to_string(std::random_device()());

    explicit TestKey(HKEY Root) : Root(Root)
    {
        RegCreateKeyExA(Root, Path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key, nullptr);
    }
    ~TestKey()
    {
        RegCloseKey(Key);
        RegDeleteKeyA(Root, Path.c_str());
        RegDeleteKeyA(Root, "Software\\TervikTest"); // only goes when empty
    }
    void Set(const char *Name, DWORD Type, const std::string &Bytes)
    {
        RegSetValueExA(Key, Name, 0, Type, reinterpret_cast<const BYTE *>(Bytes.data()), static_cast<DWORD>(Bytes.size()));
    }
};

// Reads Key\Value as Kind; Expected is what onRead brings.
void ExpectRead(TQorRegistry &Reader, uint8_t Root, const std::string &Key, const char *Value, uint8_t Kind,
                uint8_t SuccessOnly, const std::vector<std::string> &Expected)
{
    testkit::Running on;
    testkit::Sink got;
    LinkEvent(Reader.onRead, &got, &testkit::Sink::doTake, 0);
    Reader.Root = Root;
    Reader.FKey = Key;
    Reader.FValueName = Value;
    Reader.DataType = Kind;
    Reader.SuccessOnly = SuccessOnly;
    TData none;
    Reader.doRead(none, 0);
    EXPECT_EQ(got.Values(), Expected) << Key << "\\" << Value << " kind " << int(Kind) << " " << int(SuccessOnly);
}

} // namespace

TEST(Registry, OnReadCarriesTheValueAsTheKindAskedItsKindsZeroOrNullUnlessSuccessOnly)
{
    // (A signed DWORD from HKEY_LOCAL_MACHINE is the schedule's time-zone bias, read in its tests.)
    TestKey hkcu(HKEY_CURRENT_USER);
    TQorRegistry reader;
    hkcu.Set("Text", REG_SZ, std::string("abc\0", 4));
    hkcu.Set("Blob", REG_BINARY, std::string("a\0b\0\0c", 6));
    hkcu.Set("Long", REG_SZ, std::string("longer than four\0", 17));
    ExpectRead(reader, 1, "\\" + hkcu.Path, "Text", 1, 0, {"str abc"}); // from the root; the terminating zero goes
    ExpectRead(reader, 1, hkcu.Path, "Blob", 1, 0, {std::string("str a\0b\0\0c", 10)}); // every byte stays
    ExpectRead(reader, 1, hkcu.Path, "Long", 0, 0, {"int 0"});                          // too long for four bytes
    // A missing key gives null, a missing value its kind's zero; with SuccessOnly nothing.
    ExpectRead(reader, 1, hkcu.Path + "\\Missing", "Text", 0, 0, {"null"});
    ExpectRead(reader, 1, hkcu.Path, "Missing", 0, 0, {"int 0"});
    ExpectRead(reader, 1, hkcu.Path, "Missing", 1, 0, {"str "});
    ExpectRead(reader, 1, hkcu.Path + "\\Missing", "Text", 1, 1, {});
    ExpectRead(reader, 1, hkcu.Path, "Missing", 1, 1, {});
    ExpectRead(reader, 1, hkcu.Path, "Text", 1, 1, {"str abc"});
}
