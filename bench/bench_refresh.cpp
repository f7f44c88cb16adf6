// One full refresh on a 30-day DGD.txt: the Kp extraction and the 30-day refill
// through the real sub-schemes, beside a straight hand-written loop that gets
// the same value and graph values from the same bytes. The setup checks that
// both agree before anything is timed.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "app/KpPipeline.h"
#include "winlayer/NumText.h"

namespace {

std::string SampleBytes()
{
    std::ifstream file(TERVIK_SAMPLE_DGD, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct Refresh {
    std::string Value; // empty: none found
    std::vector<double> Graph;
};

std::string_view Trimmed(std::string_view Line)
{
    while (!Line.empty() && Line.back() == ' ')
        Line.remove_suffix(1);
    while (!Line.empty() && Line.front() == ' ')
        Line.remove_prefix(1);
    return Line;
}

std::string_view Tail(std::string_view Line)
{
    return Line.size() > 16 ? Line.substr(Line.size() - 16) : Line;
}

// The same reading of the file, written by hand: lines end at LF, CR LF or CR.
Refresh HandWritten(const std::string &Bytes)
{
    std::vector<std::string_view> lines;
    const std::string_view text(Bytes);
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));

    Refresh out;
    for (size_t i = lines.size(); i-- > 0 && out.Value.empty();) {
        const std::string_view tail = Tail(Trimmed(lines[i]));
        const size_t space = tail.rfind(' ');
        if (!tail.empty() && space != std::string_view::npos && space + 1 < tail.size())
            out.Value.assign(1, tail[space + 1]);
    }
    if (out.Value.empty())
        return out;

    for (size_t i = 12; i < lines.size(); ++i) {
        for (char c : Tail(Trimmed(lines[i]))) {
            if (c == '-')
                break;
            if (static_cast<unsigned char>(c) >= '0')
                out.Graph.push_back(c >= '0' && c <= '9' ? c - '0' : 0.0);
        }
    }
    return out;
}

Refresh ThroughTheScheme(TKpPipeline &Pipeline, const std::string &Bytes)
{
    Pipeline.Recorder->Forget();
    Pipeline.ParseText(Bytes);
    Refresh out;
    const TKpPipeline::TOutcome &got = Pipeline.Outcome();
    if (!got.Values.empty())
        out.Value = got.Values.back();
    for (const std::string &v : got.Graph)
        out.Graph.push_back(winlayer::TextToReal(v));
    return out;
}

bool Same(const Refresh &A, const Refresh &B)
{
    return A.Value == B.Value && A.Graph == B.Graph;
}

void SchemeRefresh(benchmark::State &state)
{
    const std::string bytes = SampleBytes();
    TKpPipeline pipeline;
    StartHooks();
    RunStartList();
    const Refresh expected = HandWritten(bytes);
    if (expected.Value.empty() || expected.Graph.size() < 200 || !Same(ThroughTheScheme(pipeline, bytes), expected)) {
        state.SkipWithError("the scheme and the hand-written loop disagree on the sample file");
        StopHooks();
        return;
    }
    pipeline.Recorder->KeepJournal = false; // the graph's values are kept, as the grapher keeps them
    for (auto _ : state) {
        pipeline.Recorder->Forget();
        pipeline.ParseText(bytes);
        benchmark::DoNotOptimize(pipeline.Outcome().Graph.data());
    }
    StopHooks();
    state.SetLabel(std::to_string(expected.Graph.size()) + " graph values");
}
BENCHMARK(SchemeRefresh)->Unit(benchmark::kMicrosecond);

// The same refresh with the load from the file on disk, as after a download.
void SchemeRefreshFromFile(benchmark::State &state)
{
    TKpPipeline pipeline;
    pipeline.Recorder->KeepJournal = false;
    StartHooks();
    RunStartList();
    for (auto _ : state) {
        pipeline.Recorder->Forget();
        pipeline.Parse(TERVIK_SAMPLE_DGD);
        benchmark::DoNotOptimize(pipeline.Outcome().Graph.data());
    }
    StopHooks();
    if (pipeline.Outcome().Graph.size() < 200)
        state.SkipWithError("the sample file gave no graph");
}
BENCHMARK(SchemeRefreshFromFile)->Unit(benchmark::kMicrosecond);

void HandWrittenRefresh(benchmark::State &state)
{
    const std::string bytes = SampleBytes();
    for (auto _ : state) {
        Refresh r = HandWritten(bytes);
        benchmark::DoNotOptimize(r.Graph.data());
    }
}
BENCHMARK(HandWrittenRefresh)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
