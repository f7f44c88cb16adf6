#include <gtest/gtest.h>

#include "TextTestKit.h"
#include "elements/text/TQorIf_else.h"

using namespace textkit;

namespace {

enum : uint8_t { Eq = 0, Lt = 1, Gt = 2, Le = 3, Ge = 4, Ne = 5 };

struct CompareBench : Bench {
    TQorIf_else *If = Make<TQorIf_else>();
    CompareBench(uint8_t Type)
    {
        If->Type = Type;
        ProbeFor(If->onTrue, "onTrue");
        ProbeFor(If->onFalse, "onFalse");
    }
    std::string Run(TData In)
    {
        Log.clear();
        Fire(If, &TQorIf_else::doCompare, In);
        return Log.size() == 1 ? Log[0] : "events: " + std::to_string(Log.size());
    }
};

TData Arr()
{
    TData d;
    d.dtArray(nullptr);
    return d;
}

struct Case {
    uint8_t Type;
    TData A, B;
    bool Expected;
};

// Operands come from wired inputs, so even a null operand is given as it is.
void CheckWired(const std::vector<Case> &Cases)
{
    Running on;
    for (const Case &c : Cases) {
        CompareBench bench(c.Type);
        bench.SourceFor(bench.If->Op1, c.A);
        bench.SourceFor(bench.If->Op2, c.B);
        std::string expected = std::string(c.Expected ? "onTrue" : "onFalse") + " str in";
        EXPECT_EQ(bench.Run(StrData("in")), expected)
            << "Type " << int(c.Type) << ", a = " << Describe(c.A) << ", b = " << Describe(c.B);
    }
}

} // namespace

TEST(TQorIf_else, StringOrderFoldsOnlyAsciiLettersWhileEqualityIsExact)
{
    CheckWired({
        {Lt, StrData("abc"), StrData("ABD"), true},
        {Eq, StrData("abc"), StrData("ABC"), false},
        {Eq, StrData("abc"), StrData("abc"), true},
        {Ne, StrData("abc"), StrData("ABC"), true},
        {Le, StrData("abc"), StrData("ABC"), true},
        {Ge, StrData("abc"), StrData("ABC"), true},
        {Lt, StrData("ab"), StrData("abc"), true},
        {Gt, StrData("abc"), StrData("ab"), true},
        {Lt, StrData(""), StrData("a"), true},
        {Le, StrData("z"), StrData("Z"), true},
        // '[' lies between the upper and the lower letters: folding decides.
        {Lt, StrData("a"), StrData("["), true},
        // Cyrillic letters of code page 1251 are not folded: "а" is 0xE0, "А" 0xC0.
        {Le, StrData("а"), StrData("А"), false},
        {Lt, StrData("А"), StrData("а"), true},
        {Ge, StrData("я"), StrData("Я"), true},
        // Bytes compare unsigned: 0xE0 is above every ASCII character.
        {Gt, StrData("а"), StrData("z"), true},
        // The level thresholds of the parsed Kp character.
        {Le, StrData("-"), IntData(3), true},
        {Le, StrData(" "), IntData(3), true},
        {Le, StrData("3"), IntData(3), true},
        {Le, StrData("4"), IntData(3), false},
        {Lt, StrData("4"), IntData(5), true},
        {Le, StrData("A"), IntData(3), false},
        {Lt, StrData("A"), IntData(5), false},
        {Lt, StrData("a"), IntData(5), false},
        {Ge, StrData("9"), IntData(0), true},
        {Ge, StrData("-"), IntData(0), false},
        {Ge, StrData(" "), IntData(0), false},
        {Ge, StrData("12"), StrData("12"), true},
        {Eq, StrData(" "), StrData(" "), true},
        // A null second operand is the empty string.
        {Eq, StrData(""), TData(), true},
        {Eq, StrData("a"), TData(), false},
        {Gt, StrData("a"), TData(), true},
    });
}

TEST(TQorIf_else, NumbersCompareWithTheSecondOperandConverted)
{
    CheckWired({
        {Eq, IntData(3), StrData("3x"), true},
        {Eq, IntData(3), StrData("x3"), false},
        {Eq, IntData(0), StrData("x3"), true},
        {Lt, IntData(3), IntData(5), true},
        {Ge, IntData(5), StrData("5"), true},
        {Gt, IntData(3), RealData(2.6), false},
        {Gt, IntData(3), RealData(2.4), true},
        {Eq, IntData(2), RealData(2.5), true},
        {Ne, IntData(-1), IntData(-1), false},
        {Lt, IntData(-1), IntData(0), true},
        {Ge, IntData(12), IntData(12), true},
        {Ge, IntData(11), IntData(12), false},
        {Eq, IntData(0), TData(), true},
        {Lt, RealData(2.5), IntData(3), true},
        {Eq, RealData(2.5), StrData("2.5"), true},
        {Gt, RealData(2.5), StrData("2,5"), false},
        {Le, RealData(-0.5), TData(), true},
    });
}

TEST(TQorIf_else, ANullFirstOperandIsTrueExactlyWhenTheSecondIsNullWhateverTheType)
{
    CheckWired({
        {Ne, TData(), TData(), true},
        {Lt, TData(), TData(), true},
        {Eq, TData(), TData(), true},
        {Eq, TData(), IntData(0), false},
        {Ne, TData(), IntData(0), false},
        {Eq, TData(), StrData(""), false},
    });
}

TEST(TQorIf_else, OtherKindsAndUnknownTypesAreFalse)
{
    CheckWired({
        {Eq, Arr(), Arr(), false},
        {Ne, Arr(), IntData(1), false},
        {6, IntData(1), IntData(1), false},
        {255, StrData("a"), StrData("b"), false},
    });
}

TEST(TQorIf_else, UnwiredOperandsFallBackToThePropertyThenToTheIncomingValueAndItsChain)
{
    Running on;
    {
        // The empty-line test of the parse: Op2 property "", Op1 from the event.
        CompareBench bench(Eq);
        bench.If->FOp2 = StrData("");
        EXPECT_EQ(bench.Run(StrData("")), "onTrue str ");
        EXPECT_EQ(bench.Run(StrData("x")), "onFalse str x");
    }
    {
        // A null Op2 property does not count: b is the chain's next value.
        CompareBench bench(Lt);
        TData second = StrData("ABD");
        TData in = StrData("abc");
        in.NextData = &second;
        EXPECT_EQ(bench.Run(in), "onTrue str abc") << "the output carries the whole incoming value";
    }
    {
        // Op1 property beats the incoming value, which then becomes b.
        CompareBench bench(Eq);
        bench.If->FOp1 = StrData(" ");
        EXPECT_EQ(bench.Run(StrData(" ")), "onTrue str  ");
        EXPECT_EQ(bench.Run(StrData("1")), "onFalse str 1");
    }
    {
        // Both properties null and a single incoming value: a takes it and b
        // finds nothing left, so b is null (the empty string for "=").
        CompareBench bench(Eq);
        EXPECT_EQ(bench.Run(StrData("x")), "onFalse str x");
        EXPECT_EQ(bench.Run(StrData("")), "onTrue str ");
        CompareBench nulls(Eq);
        EXPECT_EQ(nulls.Run(TData()), "onTrue null") << "a null a is true exactly when b is null";
        CompareBench numbers(Ge);
        EXPECT_EQ(numbers.Run(IntData(-3)), "onFalse int -3") << "-3 >= 0";
        EXPECT_EQ(numbers.Run(IntData(3)), "onTrue int 3");
    }
    {
        // A wired input that ends at an unwired outer point counts as unwired.
        CompareBench bench(Eq);
        bench.If->FOp2 = StrData("-");
        TData noLink;
        noLink.DataType = dtNoLink;
        bench.SourceFor(bench.If->Op2, noLink);
        EXPECT_EQ(bench.Run(StrData("-")), "onTrue str -");
        bench.If->FOp2 = TData();
        EXPECT_EQ(bench.Run(StrData("-")), "onFalse str -") << "and without a property b finds nothing left";
    }
    {
        // A wired Op1 beats its property.
        CompareBench bench(Ge);
        bench.If->FOp1 = StrData(" ");
        bench.If->FOp2 = IntData(12);
        bench.SourceFor(bench.If->Op1, IntData(12));
        EXPECT_EQ(bench.Run(StrData("line")), "onTrue str line");
    }
}

TEST(TQorIf_else, TheIncomingValueIsForwardedWithItsChain)
{
    Running on;
    CompareBench bench(Eq);
    bench.If->FOp1 = IntData(1);
    bench.If->FOp2 = IntData(1);
    TData second = IntData(2);
    TData record = StrData("in");
    record.NextData = &second;
    TPointLink call;
    LinkEvent(call, bench.If, &TQorIf_else::doCompare, 0);
    CallEvent(call, record);
    EXPECT_EQ(bench.Log, Journal{"onTrue str in"});
    EXPECT_EQ(Describe(record), "str in");
    EXPECT_EQ(record.NextData, &second);
}

TEST(CompareFolded, OrdersByFoldedBytesAndPrefixes)
{
    struct Case {
        const char *A, *B;
        int Sign;
    } cases[] = {
        {"abc", "ABC", 0}, {"abc", "ABD", -1}, {"b", "A", 1}, {"ab", "abc", -1}, {"abc", "ab", 1},
        {"", "", 0},       {"", "a", -1},      {"-", "3", -1}, {" ", "3", -1}, {"A", "5", 1},
        {"\xE0", "\xC0", 1}, {"\xFF", "a", 1},
    };
    for (const Case &c : cases) {
        int r = CompareFolded(c.A, c.B);
        int sign = (r > 0) - (r < 0);
        EXPECT_EQ(sign, c.Sign) << "\"" << c.A << "\" against \"" << c.B << "\" gave " << r;
    }
}
