#pragma once
// Small recording parts for element tests: switches for the global dispatch
// state, a sink that logs what reaches it, a source that answers a fixed value.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/TScheme.h"

namespace testkit {

// Dispatch on for one test, off again afterwards.
struct Running {
    Running() { StartHooks(); }
    ~Running() { StopHooks(); }
    Running(const Running &) = delete;
    Running &operator=(const Running &) = delete;
};

// Holds the global Started flag at a value for one test and puts it back.
struct StartedAs {
    bool Old;
    explicit StartedAs(bool Value) : Old(Started) { Started = Value; }
    ~StartedAs() { Started = Old; }
    StartedAs(const StartedAs &) = delete;
    StartedAs &operator=(const StartedAs &) = delete;
};

// A value as a short text, so that sequences compare and print readably.
inline std::string Show(const TData &Data)
{
    std::string flag = (Data.DataType & dtForward) ? "fwd " : "";
    switch (Data.DataType & ~dtForward) {
    case dtNull: return flag + "null";
    case dtInteger: return flag + "int " + std::to_string(Data.IntValue);
    case dtString: return flag + "str " + Data.StrValue;
    case dtReal: return flag + "real " + std::to_string(Data.RealValue);
    case dtNoLink: return flag + "nolink";
    default: return flag + "kind " + std::to_string(Data.DataType & ~dtForward);
    }
}

// A method that records what reached it; with a log it also writes
// "<Name>: <value>" there, so the order across several sinks shows.
struct Sink : TElement {
    std::vector<TData> Got;
    std::vector<std::string> *Log = nullptr;
    std::string Name;

    void doTake(TData &Data, uint16_t)
    {
        Got.push_back(Data);
        if (Log)
            Log->push_back(Name + ": " + Show(Data));
    }
    std::vector<std::string> Values() const
    {
        std::vector<std::string> out;
        for (const TData &v : Got)
            out.push_back(Show(v));
        return out;
    }
};

// A data output that answers a fixed value and counts the reads.
struct Source : TElement {
    TData Answer;
    int Reads = 0;

    void Value(TData &Data, uint16_t)
    {
        ++Reads;
        Data = Answer;
    }
};

// Calls a method through the dispatcher, as a wired event does, so that a
// forward reaches its target; answers the record as the dispatch left it.
template <class E> TData Call(E *Element, void (E::*Method)(TData &, uint16_t), TData Value, uint16_t Index = 0)
{
    TPointLink in;
    LinkEvent(in, Element, Method, Index);
    CallEvent(in, Value);
    return Value;
}

} // namespace testkit
