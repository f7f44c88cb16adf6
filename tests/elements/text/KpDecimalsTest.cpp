// Decimal planetary values rewritten to the one-digit layout of DGD.txt.
#include <gtest/gtest.h>

#include "elements/text/TQorKpDecimals.h"
#include "runtime/RuntimeTestKit.h"
#include "runtime/TQorMemory.h"

namespace {

const std::string Row = "2026 09 22    -1  1 0-1-1-1-1-1-1    -1  1 0-1-1-1-1-1-1     7";

struct Rewritten {
    std::string Text;
    int32_t Rows, Clamped;
};

// Result of a KpDecimals that reads In through its wired Text input.
Rewritten Rewrite(const std::string &In)
{
    testkit::Running on;
    TQorKpDecimals kp;
    TQorMemory text;
    text.SetDefault(StrData(In));
    LinkData(kp.Text, &text, &TQorMemory::Value, 0);
    TPointLink result;
    LinkData(result, &kp, &TQorKpDecimals::Result, 0);
    TData answer;
    ReadRaw(answer, result);
    return {answer.StrValue, kp.Rows, kp.Clamped};
}

} // namespace

TEST(TQorKpDecimals, RewritesTheLastEightDecimalsRoundedTwoCharactersWideKeepingTheRowsBeginning)
{
    struct Case {
        std::string In, Out;
        int32_t Clamped;
    } cases[] = {
        {Row + "   2.00  0.67 -1.00 -1.00 -1.00 -1.00 -1.00 -1.00", Row + "    2 1-1-1-1-1-1-1", 0},
        {"x 0.67 4.67 2.33 8.67 9.00 0.50 0.49 3.33", "x  1 5 2 9 9 1 0 3", 0},
        // Negative means not yet known, whatever the digits.
        {"-0.33 -0.00 -9.99 -12345.67 0.00 00.00 -1.00 1.00", "-1-1-1-1 0 0-1 1", 0},
        // Above 9 (the K index ends there) is capped, however many digits.
        {"9.49 9.50 10.00 0009.00 " + std::string(400, '7') + ".00 1.00 1.00 1.00", " 9 9 9 9 9 1 1 1", 3},
        // More than eight decimals: the first ones belong to the beginning.
        {"\t1.00\t2.00 3.00 4.00 5.00 6.00 7.00 8.00 9.00  \t ", "\t1.00\t 2 3 4 5 6 7 8 9", 0},
    };
    for (const Case &c : cases) {
        const Rewritten got = Rewrite(c.In);
        EXPECT_EQ(got.Text, c.Out) << c.In;
        EXPECT_EQ(got.Rows, 1) << c.In;
        EXPECT_EQ(got.Clamped, c.Clamped) << c.In;
    }
}

TEST(TQorKpDecimals, PassesEveryOtherLineAndEveryLineEndThroughByteForByte)
{
    const std::string d7 = " 1.00 1.00 1.00 1.00 1.00 1.00 1.00";
    const std::string others[] = {
        "2026 11 16    11  2 2 3 3 2 2 1 1    27  2 4 4 5 3 3 2 2    16  1 2 3 4 5 6 7 8",
        "x" + d7, "1.000" + d7, "1.0" + d7, ".50" + d7, "1." + d7, "+1.00" + d7, "1,00" + d7, "--1.00" + d7,
        "1.0a" + d7, std::string("1.0\0", 4) + d7, d7.substr(1) + "x", "1.00\x0B" + d7, "",
    };
    for (const std::string &line : others) {
        for (const std::string &bytes : {line, line + "\r\n", line + "\n\n", "\r" + line + "\r\r\n"}) {
            const Rewritten got = Rewrite(bytes);
            EXPECT_EQ(got.Text, bytes) << bytes;
            EXPECT_EQ(got.Rows, 0) << bytes;
        }
    }
    // In a file, only the decimal rows change; their line ends stay.
    const std::string d8 = "0.67" + d7;
    EXPECT_EQ(Rewrite("head\r\n" + d8 + "\r\n\r\n" + d8 + "\n" + d8 + "  \rtail").Text,
              "head\r\n 1 1 1 1 1 1 1 1\r\n\r\n 1 1 1 1 1 1 1 1\n 1 1 1 1 1 1 1 1\rtail");
}
