// Arbitrary bytes as DGD.txt through the Kp extraction, the tray indication and
// the 30-day feed, wired as the program wires them. Besides what the sanitizers
// catch, a parse must announce at most one one-character value, with the
// matching icon and tooltip, and feed the graph one character at a time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/KpPipeline.h"
#include "app/TMonthFeed.h"

namespace {

void Check(bool Holds)
{
    if (!Holds)
        std::abort();
}

void CheckOneParse(const TKpPipeline::TOutcome &Got)
{
    Check(Got.Values.size() <= 1);
    Check(Got.Levels.size() == Got.Values.size());
    Check(Got.Icons.size() == Got.Values.size());
    Check(Got.Hints.size() == Got.Values.size());
    Check(Got.GraphClears == static_cast<int>(Got.Values.size()));
    if (Got.Values.empty())
        return;
    const std::string &value = Got.Values[0];
    Check(value.size() == 1);
    Check(Got.Hints[0] == "Kp:" + value);
    static const char *const Icons[] = {"ICON3", "ICON2", "ICON1"};
    Check(Got.Levels[0] >= 1 && Got.Levels[0] <= 3 && Got.Icons[0] == Icons[Got.Levels[0] - 1]);
    for (const std::string &v : Got.Graph)
        Check(v.size() == 1 && v != "-");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    StartHooks();
    RunStartList();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const std::string bytes(reinterpret_cast<const char *>(Data), Size);
    TKpPipeline pipeline;
    pipeline.ParseText(bytes);
    const TKpPipeline::TOutcome first = pipeline.Outcome();
    CheckOneParse(first);
    const std::string recent = pipeline.Recent();
    Check(recent.size() <= static_cast<size_t>(TMonthFeed::RecentMaxLength));

    // The next download fails to arrive: the same content is parsed again.
    pipeline.Outcome() = TKpPipeline::TOutcome();
    pipeline.Parse(std::string());
    CheckOneParse(pipeline.Outcome());
    Check(pipeline.Outcome().Journal == first.Journal);
    Check(pipeline.Recent().size() >= recent.size());

    pipeline.OutcomeChanged(0);
    Check(pipeline.Outcome().Icons.back() == "ICON4");
    return 0;
}
