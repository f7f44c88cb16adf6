#pragma once
#include <cstdint>
#include <string>

#include "TData.h"

// Everything a link can point at: elements, containers and edges. It has no
// behaviour of its own; it only gives point routines a common owner type.
class TElement {};

// A point routine: a method (an event calls it with the event's record) or a
// data output (a read calls it with a record to fill). The index tells an
// indexed routine which of its points was meant.
using TPointProc = void (TElement::*)(TData &Data, uint16_t Index);

struct TPointLink {
    TPointProc Code = nullptr;
    TElement *Target = nullptr;
    uint16_t Index = 0;

    bool Wired() const { return Code != nullptr; }
};

void MakeLink(uint16_t Index, TPointLink &Link, TPointProc Code, TElement *Target);

// MakeLink for an event field and for a data input (what LinkEvent and LinkData
// of a scheme call), each telling LinkWatch when it is set: the field written,
// and whether it is an event (true) or a data input. Only the wiring drawer
// (tools/schemegraph) sets it; the program leaves it empty.
using TLinkWatch = void (*)(const TPointLink &Field, bool Event);
extern TLinkWatch LinkWatch;
void MakeEventLink(uint16_t Index, TPointLink &Link, TPointProc Code, TElement *Target);
void MakeDataLink(uint16_t Index, TPointLink &Link, TPointProc Code, TElement *Target);

// Turns a point routine of any element class into the link's routine type.
template <class C> TPointProc PointOf(void (C::*Point)(TData &, uint16_t))
{
    return static_cast<TPointProc>(Point);
}

// ---- Dispatch ---------------------------------------------------------------

// All event deliveries and data reads pass through these two hooks. Idle, they
// drop events and leave read records as they are; running, they dispatch.
using THookProc = void (*)(const TPointLink &Link, TData &Data);
extern THookProc EventHook;
extern THookProc DataHook;

void StartHooks();
void StopHooks();
bool HooksRunning();

// Raising an event.
void CallEvent(const TPointLink &Link, TData &Data);
void CallEventCopy(const TPointLink &Link, const TData &Data);
void CallEventInt(const TPointLink &Link, int32_t Value);
void CallEventReal(const TPointLink &Link, double Value);
void CallEventStr(const TPointLink &Link, const std::string &Value);
void CallEventNull(const TPointLink &Link);

// Forwarding: the last act of a method that hands its own record on; the
// dispatcher that delivered the call continues to Link in a loop.
void ForwardNull(TData &Data, const TPointLink &Link);
void ForwardInt(TData &Data, const TPointLink &Link, int32_t Value);
void ForwardStr(TData &Data, const TPointLink &Link, const std::string &Value);
// The same for a string the caller no longer needs: it is moved, not copied.
void ForwardStr(TData &Data, const TPointLink &Link, std::string &&Value);
void ForwardValue(TData &Data, const TPointLink &Link, const TData &Stored);
// The same for a value the caller no longer needs: it is moved, not copied.
void ForwardValue(TData &Data, const TPointLink &Link, TData &&Stored);
void ForwardSame(TData &Data, const TPointLink &Link);

// ---- Reading data inputs ----------------------------------------------------
// A wired input beats the default; a set default beats the incoming value;
// otherwise the incoming value is taken and consumed.

int32_t ReadInteger(TData &Data, const TPointLink &Link, int32_t Default);
double ReadReal(TData &Data, const TPointLink &Link, double Default);
std::string ReadString(TData &Data, const TPointLink &Link, const std::string &Default);
// ReadString into a string the caller keeps, so that its room is used again.
void ReadStringTo(TData &Data, const TPointLink &Link, const std::string &Default, std::string &Result);
void ReadData(TData &Data, const TPointLink &Link, const TData *Default, TData &Result);
void ReadDataFirst(TData &Data, const TPointLink &Link, const TData *Default, TData &Result);
winlayer::TWinStream *ReadStream(TData &Data, const TPointLink &Link, winlayer::TWinStream *Default);
TArrayRec *ReadArray(const TPointLink &Link);
int32_t ReadIntegerLink(const TPointLink &Link);
void ReadRaw(TData &Data, const TPointLink &Link);

// Takes the first value off Data: the next chain node moves up, or Data
// becomes null.
void ConsumeData(TData &Data);

// ---- Start-up list ----------------------------------------------------------

using TStartProc = void (*)(void *Object);
void RegisterStart(TStartProc Routine, void *Object);
void RunStartList();
extern bool Started;

// ---- Complaints and resources -------------------------------------------------

// The link runtime's complaint box ("String-Debug"). Tests and the native build
// may route the text elsewhere.
using TDebugSink = void (*)(const std::string &Text);
void DebugMessage(const std::string &Text);
TDebugSink SetDebugMessageSink(TDebugSink Sink);

// The bytes of a resource of numeric type 100, zero-terminated, valid for the
// life of the program; nullptr when there is none.
const char *LoadTextResource(const char *Name);

// Supplies the owner window of the complaint box (the application's main
// window when one exists); set by the window layer.
extern void *(*DebugMessageOwner)();
