#include "TPointLink.h"

#include <utility>
#include <vector>

void MakeLink(uint16_t Index, TPointLink &Link, TPointProc Code, TElement *Target)
{
    Link.Code = Code;
    Link.Target = Target;
    Link.Index = Index;
}

TLinkWatch LinkWatch = nullptr;

void MakeEventLink(uint16_t Index, TPointLink &Link, TPointProc Code, TElement *Target)
{
    MakeLink(Index, Link, Code, Target);
    if (LinkWatch)
        LinkWatch(Link, true);
}

void MakeDataLink(uint16_t Index, TPointLink &Link, TPointProc Code, TElement *Target)
{
    MakeLink(Index, Link, Code, Target);
    if (LinkWatch)
        LinkWatch(Link, false);
}

namespace {

void IdleHook(const TPointLink &, TData &) {}

// Runs a chain of forwarding methods as a loop, not as nested calls.
void RunEvent(const TPointLink &Link, TData &Data)
{
    TPointLink link = Link;
    while (link.Code) {
        (link.Target->*link.Code)(Data, link.Index);
        if ((Data.DataType & dtForward) == 0 || !Data.ForwardLink)
            break;
        Data.DataType = static_cast<uint8_t>(Data.DataType - dtForward);
        link = *Data.ForwardLink;
    }
    Data.DataType &= static_cast<uint8_t>(~dtForward);
}

void RunData(const TPointLink &Link, TData &Data)
{
    if (Link.Code)
        (Link.Target->*Link.Code)(Data, Link.Index);
}

} // namespace

THookProc EventHook = IdleHook;
THookProc DataHook = IdleHook;

void StartHooks()
{
    EventHook = RunEvent;
    DataHook = RunData;
}

void StopHooks()
{
    EventHook = IdleHook;
    DataHook = IdleHook;
}

bool HooksRunning()
{
    return EventHook == RunEvent;
}

void CallEvent(const TPointLink &Link, TData &Data)
{
    EventHook(Link, Data);
}

void CallEventCopy(const TPointLink &Link, const TData &Data)
{
    TData copy = Data;
    EventHook(Link, copy);
}

void CallEventInt(const TPointLink &Link, int32_t Value)
{
    TData d;
    d.dtInteger(Value);
    EventHook(Link, d);
}

void CallEventReal(const TPointLink &Link, double Value)
{
    TData d;
    d.dtReal(Value);
    EventHook(Link, d);
}

void CallEventStr(const TPointLink &Link, const std::string &Value)
{
    TData d;
    d.dtString(Value);
    EventHook(Link, d);
}

void CallEventNull(const TPointLink &Link)
{
    TData d;
    EventHook(Link, d);
}

void ForwardNull(TData &Data, const TPointLink &Link)
{
    Data.DataType = dtForward | dtNull;
    Data.ForwardLink = &Link;
}

void ForwardInt(TData &Data, const TPointLink &Link, int32_t Value)
{
    Data.DataType = dtForward | dtInteger;
    Data.IntValue = Value;
    Data.NextData = nullptr;
    Data.ForwardLink = &Link;
}

void ForwardStr(TData &Data, const TPointLink &Link, const std::string &Value)
{
    Data.DataType = dtForward | dtString;
    Data.StrValue = Value;
    Data.NextData = nullptr;
    Data.ForwardLink = &Link;
}

void ForwardStr(TData &Data, const TPointLink &Link, std::string &&Value)
{
    Data.DataType = dtForward | dtString;
    Data.StrValue = std::move(Value);
    Data.NextData = nullptr;
    Data.ForwardLink = &Link;
}

void ForwardValue(TData &Data, const TPointLink &Link, const TData &Stored)
{
    if (&Data != &Stored)
        Data = Stored;
    Data.DataType = static_cast<uint8_t>(Data.DataType + dtForward);
    Data.ForwardLink = &Link;
}

void ForwardValue(TData &Data, const TPointLink &Link, TData &&Stored)
{
    if (&Data != &Stored)
        Data = std::move(Stored);
    Data.DataType = static_cast<uint8_t>(Data.DataType + dtForward);
    Data.ForwardLink = &Link;
}

void ForwardSame(TData &Data, const TPointLink &Link)
{
    Data.DataType = static_cast<uint8_t>(Data.DataType + dtForward);
    Data.ForwardLink = &Link;
}

void ConsumeData(TData &Data)
{
    if (Data.NextData) {
        TData next = *Data.NextData;
        Data = next;
    } else {
        Data.DataType = dtNull;
    }
}

namespace {

// Asks a wired link for its value; false when the link is unwired or the
// answer says that it ended at an unwired outer point.
bool Answer(const TPointLink &Link, TData &Result)
{
    if (!Link.Wired())
        return false;
    DataHook(Link, Result);
    return Result.DataType != dtNoLink;
}

} // namespace

int32_t ReadInteger(TData &Data, const TPointLink &Link, int32_t Default)
{
    TData answer;
    if (Answer(Link, answer))
        return ToInteger(answer);
    if (Default != 0)
        return Default;
    if (Data.DataType != dtNull) {
        int32_t v = ToInteger(Data);
        ConsumeData(Data);
        return v;
    }
    return 0;
}

double ReadReal(TData &Data, const TPointLink &Link, double Default)
{
    TData answer;
    if (Answer(Link, answer))
        return ToReal(answer);
    if (Default != 0.0)
        return Default;
    if (Data.DataType != dtNull) {
        double v = ToReal(Data);
        ConsumeData(Data);
        return v;
    }
    return 0.0;
}

std::string ReadString(TData &Data, const TPointLink &Link, const std::string &Default)
{
    TData answer;
    if (Answer(Link, answer))
        return answer.DataType == dtString ? std::move(answer.StrValue) : ToString(answer);
    if (!Default.empty())
        return Default;
    if (Data.DataType != dtNull) {
        // The string is taken, not copied: once consumed, the record is null
        // (or the next value), and a null record's string means nothing.
        std::string v = Data.DataType == dtString ? std::move(Data.StrValue) : ToString(Data);
        ConsumeData(Data);
        return v;
    }
    return std::string();
}

void ReadStringTo(TData &Data, const TPointLink &Link, const std::string &Default, std::string &Result)
{
    TData answer;
    if (Answer(Link, answer)) {
        Result = answer.DataType == dtString ? std::move(answer.StrValue) : ToString(answer);
        return;
    }
    if (!Default.empty()) {
        Result = Default;
        return;
    }
    if (Data.DataType != dtNull) {
        // Copied, not taken: Result has room from earlier reads, and the record
        // keeps its own for what the caller hands on in it.
        if (Data.DataType == dtString)
            Result = Data.StrValue;
        else
            Result = ToString(Data);
        ConsumeData(Data);
        return;
    }
    Result.clear();
}

void ReadData(TData &Data, const TPointLink &Link, const TData *Default, TData &Result)
{
    TData answer;
    if (Answer(Link, answer)) {
        Result = std::move(answer);
        return;
    }
    if (Default && Default->DataType != dtNull) {
        CopyValue(Result, *Default);
        return;
    }
    Result = Data;
    Data.DataType = dtNull;
    Data.ForwardLink = nullptr;
    Data.NextData = nullptr;
}

void ReadDataFirst(TData &Data, const TPointLink &Link, const TData *Default, TData &Result)
{
    TData answer;
    if (Answer(Link, answer)) {
        Result = std::move(answer);
        Result.NextData = nullptr;
        return;
    }
    if (Default && Default->DataType != dtNull) {
        CopyValue(Result, *Default);
        return;
    }
    if (&Result == &Data) {
        TData first = Data;
        first.NextData = nullptr;
        ConsumeData(Data);
        Result = std::move(first);
        return;
    }
    Result = Data;
    Result.NextData = nullptr;
    ConsumeData(Data);
}

winlayer::TWinStream *ReadStream(TData &Data, const TPointLink &Link, winlayer::TWinStream *Default)
{
    TData answer;
    if (Answer(Link, answer))
        return AsStream(answer);
    if (Default)
        return Default;
    if (Data.DataType == dtStream) {
        winlayer::TWinStream *s = AsStream(Data);
        ConsumeData(Data);
        return s;
    }
    return nullptr;
}

TArrayRec *ReadArray(const TPointLink &Link)
{
    TData answer;
    if (Answer(Link, answer))
        return AsArray(answer);
    return nullptr;
}

int32_t ReadIntegerLink(const TPointLink &Link)
{
    TData answer;
    if (Link.Wired()) {
        DataHook(Link, answer);
        return ToInteger(answer);
    }
    return 0;
}

void ReadRaw(TData &Data, const TPointLink &Link)
{
    if (Link.Wired())
        DataHook(Link, Data);
    else
        Data.DataType = dtNoLink;
}

// ---- Start-up list ----------------------------------------------------------

namespace {
struct StartEntry {
    TStartProc Routine;
    void *Object;
};
std::vector<StartEntry> &StartList()
{
    static std::vector<StartEntry> list;
    return list;
}
} // namespace

bool Started = false;

void RegisterStart(TStartProc Routine, void *Object)
{
    StartList().push_back({Routine, Object});
}

void RunStartList()
{
    std::vector<StartEntry> &list = StartList();
    // Entries registered while the list runs are called in the same pass.
    for (size_t i = 0; i < list.size(); ++i) {
        StartEntry e = list[i];
        e.Routine(e.Object);
    }
    list.clear();
    Started = true;
}

// ---- Complaints -------------------------------------------------------------

void PlatformDebugMessage(const std::string &Text); // DebugMessageWin32.cpp / DebugMessagePosix.cpp

namespace {
TDebugSink gDebugSink = PlatformDebugMessage;
}

void DebugMessage(const std::string &Text)
{
    gDebugSink(Text);
}

TDebugSink SetDebugMessageSink(TDebugSink Sink)
{
    TDebugSink old = gDebugSink;
    gDebugSink = Sink ? Sink : PlatformDebugMessage;
    return old;
}
