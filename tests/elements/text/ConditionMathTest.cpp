// TQorIf_else and TQorMath.
#include <gtest/gtest.h>

#include "TextTestKit.h"
#include "elements/text/TQorIf_else.h"
#include "elements/text/TQorMath.h"

using namespace textkit;

namespace {

enum : uint8_t { Eq = 0, Lt = 1, Gt = 2, Le = 3, Ge = 4, Ne = 5 };

// One comparison: the operands from the properties (null: from the incoming value).
Journal Compare(uint8_t Type, const TData &Op1, const TData &Op2, const TData &In)
{
    Bench bench;
    TQorIf_else *compare = bench.Make<TQorIf_else>();
    compare->Type = Type;
    compare->FOp1 = Op1;
    compare->FOp2 = Op2;
    bench.ProbeFor(compare->onTrue, "onTrue");
    bench.ProbeFor(compare->onFalse, "onFalse");
    return bench.Run(compare, &TQorIf_else::doCompare, In);
}

// A calculator of integer results with the given operand properties.
struct MathBench : Bench {
    TQorMath *Math = Make<TQorMath>();
    MathBench(double Op1, double Op2)
    {
        Math->FOp1 = Op1;
        Math->FOp2 = Op2;
        ProbeFor(Math->onResult, "onResult");
        ProbeFor(Math->onError, "onError");
    }
    // The events of one call, then what the data output answers.
    Journal Call(void (TQorMath::*Method)(TData &, uint16_t), TData In = TData())
    {
        Journal log = Run(Math, Method, In);
        log.push_back("Result " + Show(Read(Math, &TQorMath::Result)));
        return log;
    }
};

} // namespace

TEST(TQorIf_else, TheFirstOperandsKindDecidesHowTheSecondIsCompared)
{
    Running on;
    auto check = [](uint8_t Type, const TData &A, const TData &B, bool Expected) {
        EXPECT_EQ(Compare(Type, A, B, StrData("in")), Journal{Expected ? "onTrue str in" : "onFalse str in"})
            << "Type " << int(Type) << ", a = " << Show(A) << ", b = " << Show(B);
    };
    // Strings: order folds only the ASCII letters, equality is exact, bytes are unsigned.
    check(Lt, StrData("abc"), StrData("ABD"), true);
    check(Eq, StrData("abc"), StrData("ABC"), false);
    check(Le, StrData("abc"), StrData("ABC"), true);
    check(Lt, StrData("a"), StrData("["), true);
    check(Le, StrData("а"), StrData("А"), false);
    check(Gt, StrData("а"), StrData("z"), true);
    check(Le, StrData("4"), IntData(3), false);
    // Numbers: the second operand converted.
    check(Eq, IntData(3), StrData("3x"), true);
    check(Lt, RealData(2.5), IntData(3), true);
}

TEST(TQorIf_else, UnsetOperandsComeFromTheIncomingValueWhichGoesOnWhole)
{
    Running on;
    TData second = StrData("ABD");
    TData chain = StrData("abc");
    chain.NextData = &second;
    EXPECT_EQ(Compare(Lt, TData(), TData(), chain), Journal{"onTrue str abc"}) << "abc < ABD, abc goes on";
    // A single incoming value is used up by the first operand: the second is null.
    EXPECT_EQ(Compare(Eq, TData(), TData(), StrData("")), Journal{"onTrue str "}) << "\"\" = null as text";
    EXPECT_EQ(Compare(Ge, TData(), TData(), IntData(-3)), Journal{"onFalse int -3"}) << "-3 >= null as 0";
    EXPECT_EQ(Compare(Ne, TData(), TData(), TData()), Journal{"onTrue null"}) << "null and null: true";
}

TEST(TQorMath, IntegerResultsRoundHalvesToTheEvenNeighbour)
{
    Running on;
    EXPECT_EQ(MathBench(2.5, 0).Call(&TQorMath::doAdd), (Journal{"onResult int 2", "Result int 2"}));
    EXPECT_EQ(MathBench(3.5, 0).Call(&TQorMath::doAdd), (Journal{"onResult int 4", "Result int 4"}));
    EXPECT_EQ(MathBench(570, 60).Call(&TQorMath::doDiv), (Journal{"onResult int 10", "Result int 10"}));
}

TEST(TQorMath, DivisionByZeroRaisesErrorAndLeavesTheOutputNullUntilTheNextSuccess)
{
    Running on;
    MathBench bench(7, 0);
    bench.Math->SetDefault(1.5);
    bench.Math->ResultType = 1;
    EXPECT_EQ(Show(Read(bench.Math, &TQorMath::Result)), "real 1.500000") << "before any operation: Default";
    EXPECT_EQ(bench.Call(&TQorMath::doDiv), (Journal{"onError null", "Result null"}));
    EXPECT_EQ(bench.Math->FResult, 1.5) << "the result falls back to Default";
    bench.Math->FOp2 = 2;
    EXPECT_EQ(bench.Call(&TQorMath::doDiv), (Journal{"onResult real 3.500000", "Result real 3.500000"}));
}

TEST(TQorMath, AnOperandPropertyOfZeroLetsTheIncomingValueIn)
{
    Running on;
    EXPECT_EQ(MathBench(5, 0).Call(&TQorMath::doAdd, IntData(9)), (Journal{"onResult int 14", "Result int 14"}));
    EXPECT_EQ(MathBench(0, 0).Call(&TQorMath::doAdd, IntData(9)), (Journal{"onResult int 9", "Result int 9"}));
}
