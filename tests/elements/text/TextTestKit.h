#pragma once
// Recording parts that the text element tests wire to real elements.
#include <string>
#include <vector>

#include "runtime/RuntimeTestKit.h"
#include "runtime/TScheme.h"

namespace textkit {

using testkit::Running;
using testkit::Show; // "null", "int 3", "str a,b", "real 2.500000"
using Journal = std::vector<std::string>;

// Writes "<name> <value>" into a journal.
struct Probe : TElement {
    Journal *Log = nullptr;
    std::string Name;

    void doTake(TData &Data, uint16_t) { Log->push_back(Name + " " + Show(Data)); }
};

// A test scheme: owns its elements like the program's schemes do.
struct Bench : TScheme {
    Journal Log;

    Probe *ProbeFor(TPointLink &Event, const std::string &Name)
    {
        Probe *p = Make<Probe>();
        p->Log = &Log;
        p->Name = Name;
        LinkEvent(Event, p, &Probe::doTake, 0);
        return p;
    }
    // The events one call of Method, through a real event link, raised.
    template <class T, class C> Journal Run(T *Target, void (C::*Method)(TData &, uint16_t), TData In = TData())
    {
        Log.clear();
        TPointLink link;
        LinkEvent(link, Target, Method, 0);
        CallEvent(link, In);
        return Log;
    }
};

} // namespace textkit
