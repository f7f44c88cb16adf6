#pragma once
// Small recording parts that the element tests wire to real elements.
#include <functional>
#include <string>
#include <vector>

#include "runtime/TScheme.h"
#include "winlayer/NumText.h"

namespace textkit {

// Switches dispatch on for one test and off again afterwards.
struct Running {
    Running() { StartHooks(); }
    ~Running() { StopHooks(); }
};

// A value as short text, so that whole event sequences compare as lists:
// "null", "int 3", "str a,b", "real 2.5", "array", "kind 21".
inline std::string Describe(const TData &Data)
{
    switch (Data.DataType) {
    case dtNull: return "null";
    case dtInteger: return "int " + winlayer::IntToText(Data.IntValue);
    case dtString: return "str " + Data.StrValue;
    case dtReal: return "real " + winlayer::RealToText(Data.RealValue);
    case dtArray: return "array";
    default: return "kind " + std::to_string(Data.DataType);
    }
}

// The events that reached any probe sharing it, in the order they came.
using Journal = std::vector<std::string>;

// A method that writes "<name> <value>" into a journal, and then may act (call
// back into the element under test, for one).
struct Probe : TElement {
    Journal *Log = nullptr;
    std::string Name;
    std::vector<uint16_t> Indexes;
    std::function<void(TData &)> Then;

    Probe(Journal *Log, std::string Name) : Log(Log), Name(std::move(Name)) {}

    void doTake(TData &Data, uint16_t Index)
    {
        Log->push_back(Name + " " + Describe(Data));
        Indexes.push_back(Index);
        if (Then)
            Then(Data);
    }
};

// A data output that answers a fixed value and counts the reads.
struct Source : TElement {
    TData Answer;
    int Reads = 0;
    std::function<void()> OnRead;

    explicit Source(TData Answer = TData()) : Answer(std::move(Answer)) {}

    void Value(TData &Data, uint16_t)
    {
        ++Reads;
        if (OnRead)
            OnRead();
        Data = Answer;
    }
};

// A test scheme: owns its elements like the program's schemes do.
struct Bench : TScheme {
    Journal Log;

    Probe *ProbeFor(TPointLink &Event, const std::string &Name)
    {
        Probe *p = Make<Probe>(&Log, Name);
        LinkEvent(Event, p, &Probe::doTake, 0);
        return p;
    }
    Source *SourceFor(TPointLink &Input, const TData &Answer)
    {
        Source *s = Make<Source>(Answer);
        LinkData(Input, s, &Source::Value, 0);
        return s;
    }
};

// Calls a method through a real event link, the way another element would.
template <class T, class C>
void Fire(T *Target, void (C::*Method)(TData &, uint16_t), TData Data = TData(), uint16_t Index = 0)
{
    TPointLink link;
    LinkEvent(link, Target, Method, Index);
    CallEvent(link, Data);
}

// Reads a data output through a real data link.
template <class T, class C> TData Read(T *Target, void (C::*Output)(TData &, uint16_t), uint16_t Index = 0)
{
    TPointLink link;
    LinkData(link, Target, Output, Index);
    TData answer;
    ReadRaw(answer, link);
    return answer;
}

} // namespace textkit
