// Element calls per second through the dispatcher: a hub fanning out, a chain
// of forwarding elements, and data reads across a container's edge. Items are
// element calls (every method or data output that runs counts as one).
#include <benchmark/benchmark.h>

#include <vector>

#include "runtime/TClassMultiBase.h"
#include "runtime/TQorChanelToIndex.h"
#include "runtime/TQorDoData.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorMultiElementEx.h"

namespace {

struct Running {
    Running() { StartHooks(); }
    ~Running() { StopHooks(); }
};

void HubToMemories(benchmark::State &state)
{
    Running on;
    const int outputs = static_cast<int>(state.range(0));
    TQorHub hub;
    hub.SetOutCount(static_cast<uint8_t>(outputs));
    std::vector<TQorMemory> memories(static_cast<size_t>(outputs));
    for (int i = 0; i < outputs; ++i)
        LinkEvent(hub.onEvent[static_cast<size_t>(i)], &memories[static_cast<size_t>(i)], &TQorMemory::doValue, 0);
    TPointLink in;
    LinkEvent(in, &hub, &TQorHub::doEvent, 0);
    int32_t n = 0;
    for (auto _ : state) {
        TData d;
        d.dtInteger(++n);
        CallEvent(in, d);
        benchmark::DoNotOptimize(d);
    }
    benchmark::DoNotOptimize(memories.back().FValue.IntValue);
    state.SetItemsProcessed(state.iterations() * (1 + outputs));
}
BENCHMARK(HubToMemories)->Arg(2)->Arg(5);

// Ten forwarding elements, as a scheme's chains mix them: pass a value, keep
// it, turn it into a channel number, and so on.
void ForwardingChain(benchmark::State &state)
{
    Running on;
    TQorDoData passes[4];
    TQorMemory stores[3];
    TQorChanelToIndex channels[3];
    for (int i = 0; i < 4; ++i)
        passes[i].FData.dtInteger(i);
    LinkEvent(passes[0].onEventData, &stores[0], &TQorMemory::doValue, 0);
    LinkEvent(stores[0].onData, &channels[0], &TQorChanelToIndex::doWork, 1);
    LinkEvent(channels[0].onIndex, &passes[1], &TQorDoData::doData, 0);
    LinkEvent(passes[1].onEventData, &stores[1], &TQorMemory::doValue, 0);
    LinkEvent(stores[1].onData, &channels[1], &TQorChanelToIndex::doWork, 2);
    LinkEvent(channels[1].onIndex, &passes[2], &TQorDoData::doData, 0);
    LinkEvent(passes[2].onEventData, &stores[2], &TQorMemory::doValue, 0);
    LinkEvent(stores[2].onData, &channels[2], &TQorChanelToIndex::doWork, 3);
    LinkEvent(channels[2].onIndex, &passes[3], &TQorDoData::doData, 0);
    TPointLink in;
    LinkEvent(in, &passes[0], &TQorDoData::doData, 0);
    for (auto _ : state) {
        TData d;
        CallEvent(in, d);
        benchmark::DoNotOptimize(d);
    }
    state.SetItemsProcessed(state.iterations() * 10);
}
BENCHMARK(ForwardingChain);

// A sub-scheme holding one memory: Var[0] answers it, and an inner DoData
// reads the outer Data[0] through the edge.
class BenchSub : public TClassMultiBase {
public:
    TQorMemory *Kept;
    TQorDoData *Fetch;
    BenchSub(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme)
        : TClassMultiBase(Container, Parent, MainScheme)
    {
        MakeEdge(Container, 1, 1);

        Kept = Make<TQorMemory>();
        Kept->SetDefault(IntData(42));

        Fetch = Make<TQorDoData>();

        LinkEvent(Edge->onEvent[0], Fetch, &TQorDoData::doData, 0);

        LinkData(Edge->Data[0], Kept, &TQorMemory::Value, 0);
        LinkData(Fetch->Data, Edge, &TQorEditMultiEx::Var, 0);
    }
};

// Outer reader -> container Var -> inner memory: three calls per read.
void ReadIntoContainer(benchmark::State &state)
{
    Running on;
    TQorMultiElementEx container(nullptr);
    container.SetEventCount(0);
    container.SetDataCount(1);
    container.SetInstanceFactory(NewInstance<BenchSub>);
    TQorMemory reader;
    LinkData(reader.Data, &container, &TQorMultiElementEx::Var, 0);
    for (auto _ : state) {
        TData d;
        reader.doValue(d, 0);
        benchmark::DoNotOptimize(reader.FValue.IntValue);
    }
    state.SetItemsProcessed(state.iterations() * 3);
}
BENCHMARK(ReadIntoContainer);

// Outer doWork -> inner DoData -> edge Var -> outer memory: four calls per event.
void ReadOutOfContainer(benchmark::State &state)
{
    Running on;
    TQorMemory outer;
    outer.SetDefault(IntData(7));
    TQorMultiElementEx container(nullptr);
    container.SetEventCount(0);
    container.SetDataCount(1);
    LinkData(container.Data[0], &outer, &TQorMemory::Value, 0);
    container.SetInstanceFactory(NewInstance<BenchSub>);
    TPointLink in;
    LinkEvent(in, &container, &TQorMultiElementEx::doWork, 0);
    for (auto _ : state) {
        TData d;
        CallEvent(in, d);
        benchmark::DoNotOptimize(d);
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(ReadOutOfContainer);

} // namespace

BENCHMARK_MAIN();
