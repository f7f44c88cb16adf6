#pragma once
#include <cstdint>
#include <string>

// Kinds of value (DataType without the forward flag).
constexpr uint8_t dtNull = 0;
constexpr uint8_t dtInteger = 1;
constexpr uint8_t dtString = 2;
constexpr uint8_t dtIcon = 6;
constexpr uint8_t dtReal = 7;
constexpr uint8_t dtStream = 10;
constexpr uint8_t dtArray = 13;
constexpr uint8_t dtNoLink = 21; // a read reached an unwired outer point
constexpr uint8_t dtForward = 128; // flag: the dispatcher goes on to ForwardLink

struct TPointLink;
struct TArrayRec;
namespace winlayer {
class TWinStream;
class TWinIcon;
} // namespace winlayer

// The value that travels along every link. Copied by assignment: the string is
// shared by value, the chain node is shared by reference (only FreeChain frees it).
//
// IntValue stays a 32-bit integer; the icon, stream and array references that
// ride in the same record live in ObjValue, which is wide enough for a pointer
// on every build.
struct TData {
    uint8_t DataType = ::dtNull;
    int32_t IntValue = 0;
    std::string StrValue;
    double RealValue = 0.0;
    void *ObjValue = nullptr;
    const TPointLink *ForwardLink = nullptr;
    TData *NextData = nullptr;

    // Constructors of a value: each sets the kind and the payload and empties
    // ForwardLink and NextData.
    void dtNull();
    void dtInteger(int32_t Value);
    void dtString(const std::string &Value);
    void dtReal(double Value);
    void dtIcon(winlayer::TWinIcon *Icon);
    void dtStream(winlayer::TWinStream *Stream);
    void dtArray(TArrayRec *Arr);
};

// Ready-made values, for properties that schemes set.
TData IntData(int32_t Value);
TData StrData(const std::string &Value);
TData RealData(double Value);

uint8_t DataKind(const TData &Data);
bool IsInteger(const TData &Data);
bool IsStream(const TData &Data);
bool IsIcon(const TData &Data);
winlayer::TWinStream *AsStream(const TData &Data);
winlayer::TWinIcon *AsIcon(const TData &Data);
TArrayRec *AsArray(const TData &Data);

// Copies the value and drops its forward link and chain (the flag bit stays).
void CopyValue(TData &Dest, const TData &Src);
// Disposes every chain node after Data (not Data itself).
void FreeChain(TData &Data);
// Copies Src and every node of its chain into fresh nodes.
void CopyChain(TData &Dest, const TData &Src);

// The program's own conversions, independent of the locale.
int32_t ToInteger(const TData &Data);
double ToReal(const TData &Data);
std::string ToString(const TData &Data);
int32_t ToIndex(const TData &Data);

// Four method references through which an array value is read and written.
struct TArrayRec {
    struct SetRef { void (*Code)(void *Self, const TData &Index, const TData &Value); void *Self; };
    struct GetRef { bool (*Code)(void *Self, const TData &Index, TData &Item); void *Self; };
    struct CountRef { int32_t (*Code)(void *Self); void *Self; };
    struct AddRef { void (*Code)(void *Self, const TData &Value); void *Self; };

    SetRef ArraySetProc;
    GetRef ArrayGetProc;
    CountRef ArrayCountProc;
    AddRef ArrayAddProc;
};

// Missing set or add routines are replaced by an empty routine on a shared dummy.
TArrayRec *CreateArrayRec(TArrayRec::SetRef Set, TArrayRec::GetRef Get, TArrayRec::CountRef Count,
                          TArrayRec::AddRef Add);
void FreeArrayRec(TArrayRec *Arr);
