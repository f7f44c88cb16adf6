// What the sub-scheme tests of tests/app cannot show: an icon in a data value
// on a 64-bit build, and dispatch switched off around the program's run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RuntimeTestKit.h"

using namespace testkit;

TEST(TData, AnIconIsKeptWholeAndIsNoOtherKind)
{
    int dummy = 0;
    TData icon;
    icon.dtIcon(reinterpret_cast<winlayer::TWinIcon *>(&dummy));
    EXPECT_EQ(AsIcon(icon), reinterpret_cast<winlayer::TWinIcon *>(&dummy)) << "kept whole on 64-bit builds";
    EXPECT_EQ(AsStream(icon), nullptr);
    EXPECT_EQ(ToInteger(icon), 0);
    EXPECT_EQ(ToString(icon), "");
}

TEST(ReadOperations, BeforeStartHooksEventsAreDroppedAndWiredReadsAnswerNull)
{
    Source src;
    src.Answer = IntData(3);
    TPointLink wired;
    LinkData(wired, &src, &Source::Value, 0);
    TData in = IntData(7);
    EXPECT_EQ(ReadInteger(in, wired, 9), 0) << "the default counts only for unwired inputs";
    EXPECT_EQ(src.Reads, 0);

    Sink sink;
    TPointLink event;
    LinkEvent(event, &sink, &Sink::doTake, 3);
    CallEventInt(event, 1);
    StartHooks();
    CallEventInt(event, 2);
    StopHooks();
    CallEventInt(event, 3);
    EXPECT_EQ(sink.Values(), std::vector<std::string>{"int 2"}) << "only while the hooks run";
}
