// Whatever bytes the download leaves behind, the parse ends, in time linear in
// the file's size, and announces at most one value.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "DgdText.h"

using namespace dgd;

using HostileInput = Pipeline;

TEST_F(HostileInput, TenMegabytesOfDataLinesAreAllRead)
{
    // Long lines, as a broken server might send: each a data row behind 900
    // characters of noise.
    const std::string noise(900, 'x');
    std::string bytes = Lf(Header());
    size_t rows = 0;
    while (bytes.size() < 10u * 1024 * 1024) {
        bytes += noise + Row(static_cast<int>(rows % 30) + 1, rows % 2 ? "12345678" : "87654321") + "\n";
        ++rows;
    }
    bytes += noise + Row(1, "4444----") + "\n";
    ParseFile(bytes);
    EXPECT_EQ(Got().Values, Texts{"4"});
    EXPECT_EQ(Got().Graph.size(), rows * 8 + 4);
    const std::string dayBefore = (rows - 1) % 2 ? "87654321" : "12345678"; // newest first
    EXPECT_EQ(P.Recent().substr(0, 12), "4444" + dayBefore);
}

// A NUL is an ordinary character (it compares below "3"); long lines and
// runs of line breaks end in time.
TEST_F(HostileInput, NulBytesAreOrdinaryCharactersAndLinesOf100000CharactersEndInTime)
{
    const std::string plain(100000, '7');
    std::string spaced;
    while (spaced.size() < 100000)
        spaced += " 5";
    struct Case {
        const char *What;
        std::string Bytes;
        Texts Values;
        std::optional<size_t> GraphSize; // none: not checked
        std::vector<int> Levels;
    } cases[] = {
        {"NUL as the value", Lf(File({"22222222"})) + std::string("2026 12 06  2 \0\n", 16), {std::string(1, '\0')},
         {}, {1}},
        {"NULs before the tail", Lf(File({"22222222"})) + std::string("2026\0\0 12 06  2 3\n", 18), {"3"}, {}, {1}},
        {"a file of NULs", std::string(5000, '\0'), {}, 0, {}},
        {"one long line without blanks", plain, {}, 0, {}},
        {"a long last line without blanks", Lf(Join(File({"22222223"}), {plain})), {"3"}, 8 + 16, {1}},
        {"long data lines", Lf(Join(File({"22222223"}), {spaced, spaced, spaced})), {"5"}, 8 + 3 * 8, {3}},
        {"100000 line breaks of each kind", std::string(100000, '\n') + " 2 1\r\n" + std::string(100000, '\r'), {"1"},
         2, {1}},
    };
    for (const Case &c : cases) {
        Forget();
        ParseFile(c.Bytes);
        EXPECT_EQ(Got().Values, c.Values) << c.What;
        EXPECT_EQ(Got().Graph.size(), c.GraphSize.value_or(Got().Graph.size())) << c.What;
        EXPECT_EQ(Got().Levels, c.Levels) << c.What;
        EXPECT_EQ(Got().Hints, c.Values.empty() ? Texts{} : Texts{"Kp:" + c.Values[0]}) << c.What;
    }
}
