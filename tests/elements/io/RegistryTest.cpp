#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "elements/io/TQorRegistry.h"
#include "runtime/TScheme.h"
#include "winlayer/WinMemoryStream.h"
#include "winlayer/WinObject.h"

using winlayer::TWinObject;
using winlayer::TWinStream;

namespace {

struct Running {
    Running() { StartHooks(); }
    ~Running() { StopHooks(); }
};

// A key of our own under HKCU or HKLM of the Wine prefix, removed afterwards.
class TestKey {
public:
    TestKey(HKEY Root, const std::string &Name) : Root(Root)
    {
        std::random_device random;
        Path = "Software\\TervikTest\\" + Name + std::to_string(random());
        RegCreateKeyExA(Root, Path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key, nullptr);
    }
    ~TestKey()
    {
        RegCloseKey(Key);
        RegDeleteKeyA(Root, Path.c_str());
        RegDeleteKeyA(Root, "Software\\TervikTest"); // only goes when empty
    }
    void Set(const std::string &Name, DWORD Type, const std::string &Bytes)
    {
        ASSERT_EQ(RegSetValueExA(Key, Name.c_str(), 0, Type, reinterpret_cast<const BYTE *>(Bytes.data()),
                                 static_cast<DWORD>(Bytes.size())),
                  ERROR_SUCCESS);
    }
    void SetDword(const std::string &Name, int32_t Value)
    {
        Set(Name, REG_DWORD, std::string(reinterpret_cast<const char *>(&Value), sizeof Value));
    }

    HKEY Root;
    HKEY Key = nullptr;
    std::string Path;
};

// Records what onRead brings.
struct Recorder : TElement {
    std::vector<TData> Got;
    std::vector<std::string> StreamBytes;
    void doRecord(TData &Data, uint16_t)
    {
        Got.push_back(Data);
        std::string bytes;
        if (DataKind(Data) == dtStream && AsStream(Data)) {
            TWinStream *s = AsStream(Data);
            int64_t at = s->Position();
            bytes.resize(static_cast<size_t>(s->Size() - at));
            s->Read(&bytes[0], bytes.size());
            s->SetPosition(at);
        }
        StreamBytes.push_back(bytes);
    }
};

class Registry : public testing::Test, protected TScheme {
protected:
    void SetUp() override
    {
        Reader = Make<TQorRegistry>();
        Rec = Make<Recorder>();
        LinkEvent(Reader->onRead, Rec, &Recorder::doRecord, 0);
        LinkEvent(ReadLink, Reader, &TQorRegistry::doRead, 0);
    }

    // One read with the given properties; what onRead brought, if it came.
    std::vector<TData> Read(uint8_t Root, const std::string &Key, const std::string &Value, uint8_t Kind,
                            uint8_t SuccessOnly = 0)
    {
        Rec->Got.clear();
        Rec->StreamBytes.clear();
        Reader->Root = Root;
        Reader->FKey = Key;
        Reader->FValueName = Value;
        Reader->DataType = Kind;
        Reader->SuccessOnly = SuccessOnly;
        CallEventNull(ReadLink);
        return Rec->Got;
    }

    Running On;
    TQorRegistry *Reader = nullptr;
    Recorder *Rec = nullptr;
    TPointLink ReadLink;
};

std::string Bytes(const char *Text, size_t Size)
{
    return std::string(Text, Size);
}

} // namespace

TEST_F(Registry, ConstructorStartsAtCurrentUserWithFullAccessAndClosingRelease)
{
    EXPECT_EQ(Reader->RootKey, static_cast<void *>(HKEY_CURRENT_USER));
    EXPECT_EQ(Reader->Access, 0xF003Fu);
    EXPECT_EQ(Reader->CloseMode, 1);
    EXPECT_EQ(Reader->CurrentKey, nullptr);
}

TEST_F(Registry, ReadsAValueAsTheKindAsked)
{
    TestKey hkcu(HKEY_CURRENT_USER, "kinds");
    TestKey hklm(HKEY_LOCAL_MACHINE, "kinds");
    hkcu.SetDword("Bias", -180);
    hklm.SetDword("ActiveTimeBias", -180);
    hkcu.Set("Text", REG_SZ, Bytes("abc\0", 4));
    hkcu.Set("Expand", REG_EXPAND_SZ, Bytes("%TEMP%\0", 7));
    hkcu.Set("Blob", REG_BINARY, Bytes("a\0b\0\0c", 6));
    double real = -2.75;
    hkcu.Set("Real", REG_BINARY, std::string(reinterpret_cast<const char *>(&real), sizeof real));
    hkcu.Set("Long", REG_SZ, Bytes("longer than four\0", 17));

    struct Case {
        uint8_t Root;
        const std::string &Key;
        const char *Value;
        uint8_t Kind;
        uint8_t ExpectKind;
        int32_t Int;
        std::string Str;
        double Real;
    } cases[] = {
        {1, hkcu.Path, "Bias", 0, dtInteger, -180, "", 0},
        {2, hklm.Path, "ActiveTimeBias", 0, dtInteger, -180, "", 0},
        {1, hkcu.Path, "Text", 1, dtString, 0, "abc", 0},         // the terminating zero goes
        {1, hkcu.Path, "Expand", 1, dtString, 0, "%TEMP%", 0},    // not expanded, zero goes
        {1, hkcu.Path, "Blob", 1, dtString, 0, Bytes("a\0b\0\0c", 6), 0}, // every byte stays
        {1, hkcu.Path, "Real", 2, dtReal, 0, "", -2.75},
        {1, hkcu.Path, "Long", 0, dtInteger, 0, "", 0},           // too long for 4 bytes: 0
        {1, hkcu.Path, "Bias", 1, dtString, 0, Bytes("\x4c\xff\xff\xff", 4), 0}, // raw bytes of a number
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.Value) + " as kind " + std::to_string(c.Kind));
        std::vector<TData> got = Read(c.Root, c.Key, c.Value, c.Kind);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(DataKind(got[0]), c.ExpectKind);
        if (c.ExpectKind == dtInteger) {
            EXPECT_EQ(got[0].IntValue, c.Int);
        } else if (c.ExpectKind == dtString) {
            EXPECT_EQ(got[0].StrValue, c.Str) << "length " << got[0].StrValue.size();
        } else if (c.ExpectKind == dtReal) {
            EXPECT_DOUBLE_EQ(got[0].RealValue, c.Real);
        }
    }
}

TEST_F(Registry, AMissingKeyGivesNullAndAMissingValueTheKindsZeroUnlessSuccessOnly)
{
    TestKey key(HKEY_CURRENT_USER, "missing");
    key.SetDword("There", 7);
    std::string noKey = key.Path + "\\NoSuchKey";

    struct Case {
        const std::string &Key;
        uint8_t Kind;
        uint8_t SuccessOnly;
        size_t Events;
        uint8_t ExpectKind;
    } cases[] = {
        {noKey, 0, 0, 1, dtNull},        {noKey, 1, 0, 1, dtNull},        {noKey, 3, 0, 1, dtNull},
        {key.Path, 0, 0, 1, dtInteger},  {key.Path, 1, 0, 1, dtString},   {key.Path, 2, 0, 1, dtReal},
        {key.Path, 3, 0, 1, dtStream},   {noKey, 0, 1, 0, dtNull},        {key.Path, 0, 1, 0, dtNull},
        {key.Path, 1, 1, 0, dtNull},     {key.Path, 3, 1, 0, dtNull},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE((&c.Key == &noKey ? std::string("missing key") : std::string("missing value")) +
                     ", kind " + std::to_string(c.Kind) + ", SuccessOnly " + std::to_string(c.SuccessOnly));
        std::vector<TData> got = Read(1, c.Key, "NotThere", c.Kind, c.SuccessOnly);
        ASSERT_EQ(got.size(), c.Events);
        if (got.empty())
            continue;
        EXPECT_EQ(DataKind(got[0]), c.ExpectKind);
        EXPECT_EQ(got[0].IntValue, 0);
        EXPECT_EQ(got[0].StrValue, "");
        EXPECT_EQ(got[0].RealValue, 0.0);
        EXPECT_EQ(got[0].ObjValue, nullptr) << "a missing value gives a stream value without a stream";
    }
    EXPECT_EQ(Read(1, key.Path, "There", 0, 1).size(), 1u) << "SuccessOnly lets a value that is there through";
    EXPECT_EQ(Reader->CurrentKey, nullptr) << "the key is let go after every read";
}

TEST_F(Registry, AKeyStartingWithABackslashIsOpenedFromTheRoot)
{
    TestKey key(HKEY_LOCAL_MACHINE, "slash");
    key.SetDword("Bias", 300);
    for (const std::string &path : {key.Path, "\\" + key.Path}) {
        SCOPED_TRACE(path);
        std::vector<TData> got = Read(2, path, "Bias", 0);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(DataKind(got[0]), dtInteger);
        EXPECT_EQ(got[0].IntValue, 300);
    }
    std::vector<TData> got = Read(2, "\\\\" + key.Path, "Bias", 0);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(DataKind(got[0]), dtNull) << "only one leading backslash is taken off";
}

TEST_F(Registry, KeyThenValueNameComeOffTheIncomingChainWhenThePropertiesAreEmpty)
{
    TestKey key(HKEY_CURRENT_USER, "chain");
    key.SetDword("Bias", 60);
    Reader->Root = 1;
    TData name = StrData("Bias");
    TData chain = StrData(key.Path);
    chain.NextData = &name;
    Rec->Got.clear();

    CallEvent(ReadLink, chain);

    ASSERT_EQ(Rec->Got.size(), 1u);
    EXPECT_EQ(DataKind(Rec->Got[0]), dtInteger);
    EXPECT_EQ(Rec->Got[0].IntValue, 60);
}

TEST_F(Registry, EachStreamReadReplacesTheStreamOfTheReadBefore)
{
    TestKey key(HKEY_CURRENT_USER, "streams");
    key.Set("First", REG_BINARY, Bytes("\x01\x00\x02", 3));
    key.Set("Second", REG_SZ, Bytes("text\0", 5));
    int32_t live = TWinObject::LiveObjects();

    std::vector<TData> first = Read(1, key.Path, "First", 3);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(DataKind(first[0]), dtStream);
    EXPECT_EQ(Rec->StreamBytes[0], Bytes("\x01\x00\x02", 3)) << "the stream holds the bytes from position 0";
    EXPECT_EQ(TWinObject::LiveObjects(), live + 1);

    std::vector<TData> second = Read(1, key.Path, "Second", 3);
    ASSERT_EQ(second.size(), 1u);
    ASSERT_EQ(DataKind(second[0]), dtStream);
    EXPECT_EQ(Rec->StreamBytes[0], Bytes("text\0", 5)) << "a stream keeps the terminating zero";
    EXPECT_EQ(AsStream(second[0])->Position(), 0);
    EXPECT_EQ(TWinObject::LiveObjects(), live + 1) << "the first stream was freed by the second read";
}
