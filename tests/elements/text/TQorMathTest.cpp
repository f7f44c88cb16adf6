#include <gtest/gtest.h>

#include "TextTestKit.h"
#include "elements/text/TQorMath.h"

using namespace textkit;

namespace {

using Op = void (TQorMath::*)(TData &, uint16_t);

struct MathBench : Bench {
    TQorMath *Math = Make<TQorMath>();
    MathBench(double Op1, double Op2, uint8_t ResultType)
    {
        Math->SetDefault(0);
        Math->SetAngleMode(0);
        Math->FOp1 = Op1;
        Math->FOp2 = Op2;
        Math->ResultType = ResultType;
        ProbeFor(Math->onResult, "onResult");
        ProbeFor(Math->onError, "onError");
    }
    Journal Run(Op Method, TData In = TData())
    {
        Log.clear();
        Fire(Math, Method, In);
        return Log;
    }
    std::string Result() { return Describe(Read(Math, &TQorMath::Result)); }
};

} // namespace

TEST(TQorMath, IntegerResultsRoundHalvesToTheEvenNeighbour)
{
    Running on;
    struct Case {
        Op Method;
        double A, B;
        const char *Expected;
    } cases[] = {
        {&TQorMath::doAdd, 2.5, 0, "int 2"},
        {&TQorMath::doAdd, 3.5, 0, "int 4"},
        {&TQorMath::doAdd, -2.5, 0, "int -2"},
        {&TQorMath::doAdd, 0.5, 0, "int 0"},
        {&TQorMath::doAdd, 1.5, 0, "int 2"},
        {&TQorMath::doAdd, 24, -3, "int 21"},
        {&TQorMath::doSub, 5, 1, "int 4"},
        {&TQorMath::doSub, 0, 1, "int -1"},
        // The time-zone bias in hours.
        {&TQorMath::doDiv, -330, 60, "int -6"},
        {&TQorMath::doDiv, 210, 60, "int 4"},
        {&TQorMath::doDiv, 570, 60, "int 10"},
        {&TQorMath::doDiv, -180, 60, "int -3"},
        // Three-hour slots of the day.
        {&TQorMath::doDiv, 1, 3, "int 0"},
        {&TQorMath::doDiv, 2, 3, "int 1"},
        {&TQorMath::doDiv, 14, 3, "int 5"},
        {&TQorMath::doDiv, 23, 3, "int 8"},
    };
    for (const Case &c : cases) {
        MathBench bench(c.A, c.B, 0);
        EXPECT_EQ(bench.Run(c.Method), Journal{std::string("onResult ") + c.Expected}) << c.A << " and " << c.B;
        EXPECT_EQ(bench.Result(), c.Expected) << "the data output agrees";
    }
}

TEST(TQorMath, RealResultsAreGivenUnrounded)
{
    Running on;
    MathBench bench(7, 2, 1);
    EXPECT_EQ(bench.Run(&TQorMath::doDiv), Journal{"onResult real 3.5"});
    EXPECT_EQ(bench.Result(), "real 3.5");
    EXPECT_EQ(bench.Run(&TQorMath::doSub), Journal{"onResult real 5"});
    EXPECT_EQ(bench.Run(&TQorMath::doAdd), Journal{"onResult real 9"});
}

TEST(TQorMath, DivisionByZeroRaisesErrorAndLeavesTheOutputNullUntilTheNextSuccess)
{
    Running on;
    MathBench bench(7, 0, 1);
    bench.Math->SetDefault(1.5);
    EXPECT_EQ(bench.Result(), "real 1.5") << "before any operation the output answers Default";

    EXPECT_EQ(bench.Run(&TQorMath::doDiv), Journal{"onError null"}) << "no onResult";
    EXPECT_EQ(bench.Math->Error, 1);
    EXPECT_EQ(bench.Math->FResult, 1.5) << "the result falls back to Default";
    EXPECT_EQ(bench.Result(), "null");
    EXPECT_EQ(bench.Result(), "null") << "still null on a second read";

    bench.Math->FOp2 = 2;
    EXPECT_EQ(bench.Run(&TQorMath::doDiv), Journal{"onResult real 3.5"});
    EXPECT_EQ(bench.Math->Error, 0);
    EXPECT_EQ(bench.Result(), "real 3.5");

    bench.Math->FOp2 = 0;
    bench.Run(&TQorMath::doDiv);
    EXPECT_EQ(bench.Run(&TQorMath::doAdd), Journal{"onResult real 7"}) << "any successful operation clears the error";
    EXPECT_EQ(bench.Result(), "real 7");
}

TEST(TQorMath, SetDefaultResetsResultAndError)
{
    Running on;
    MathBench bench(1, 0, 0);
    bench.Run(&TQorMath::doDiv);
    bench.Math->SetDefault(5);
    EXPECT_EQ(bench.Math->Error, 0);
    EXPECT_EQ(bench.Result(), "int 5");
    bench.Math->SetAngleMode(1);
    EXPECT_NEAR(bench.Math->AngleFactor, 0.017453292519943295, 1e-18);
    bench.Math->SetAngleMode(0);
    EXPECT_EQ(bench.Math->AngleFactor, 1.0);
}

TEST(TQorMath, OperandsFollowTheReadOrderWiredThenPropertyThenIncoming)
{
    Running on;
    struct Case {
        double Op1, Op2;
        TData In;
        const char *Expected;
    } cases[] = {
        {5, 0, IntData(9), "onResult int 14"},  // Op1 5 from its property; the unread 9 is Op2
        {0, 0, IntData(9), "onResult int 9"},   // property 0: the incoming value is taken
        {0, 1, StrData("10"), "onResult int 9"}, // as a subtraction below: 10 - 1
        {0, 0, TData(), "onResult int 0"},
    };
    for (size_t i = 0; i < 4; ++i) {
        const Case &c = cases[i];
        MathBench bench(c.Op1, c.Op2, 0);
        Op method = i == 2 ? &TQorMath::doSub : &TQorMath::doAdd;
        EXPECT_EQ(bench.Run(method, c.In), Journal{c.Expected}) << "case " << i;
    }
    {
        // Both taken from the event: the value and then its chain.
        MathBench bench(0, 0, 0);
        TData second = IntData(3);
        TData in = IntData(10);
        in.NextData = &second;
        EXPECT_EQ(bench.Run(&TQorMath::doSub, in), Journal{"onResult int 7"});
    }
    {
        // Wired inputs beat the properties.
        MathBench bench(24, 100, 0);
        bench.SourceFor(bench.Math->Op1, IntData(-2));
        bench.SourceFor(bench.Math->Op2, StrData("5"));
        EXPECT_EQ(bench.Run(&TQorMath::doAdd, IntData(1000)), Journal{"onResult int 3"});
    }
}

TEST(TQorMath, ResultsAreRaisedWithFreshRecords)
{
    Running on;
    MathBench bench(2, 3, 0);
    TPointLink call;
    LinkEvent(call, bench.Math, &TQorMath::doAdd, 0);
    TData record = StrData("in");
    CallEvent(call, record);
    EXPECT_EQ(bench.Log, Journal{"onResult int 5"});
    EXPECT_EQ(Describe(record), "str in") << "the caller's record is not reused for the result";
}
