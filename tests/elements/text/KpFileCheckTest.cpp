// Whether some bytes can be DGD.txt: every real layout passes, what a failed or
// wrong download leaves does not.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "elements/text/KpFileCheck.h"

namespace {

std::string Sample()
{
    std::ifstream in(TERVIK_SAMPLE_DGD, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

std::string CrLf(const std::string &Text)
{
    std::string out;
    for (char c : Text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

} // namespace

TEST(KpFileCheck, TakesEveryRealLayoutAndTurnsDownWhatCannotBeDgdTxt)
{
    const std::string sample = Sample();
    ASSERT_TRUE(sample.size() > 1000 && sample.size() < KpFileLimit) << "the sample is there";
    const std::string header = sample.substr(0, sample.find("\n2026") + 1);
    const std::string decimal = header + "2026 12 06    12  2.00  0.67  1.33  2.00  1.67  1.00  0.33  0.67"
                                         "     9  1.67  2.00  2.33  3.00  2.67  1.33  1.00 -1.00\n";
    const struct {
        const char *Name;
        std::string Bytes;
        bool Good;
    } rows[] = {
        {"the sample", sample, true},
        {"the sample with CR LF", CrLf(sample), true},
        {"the decimal layout", decimal, true},
        {"a row after blanks", header + "  2026 12 06  1 2\n", true},
        {"at the size bound", sample + std::string(KpFileLimit - sample.size(), ' '), true},
        {"past the size bound", sample + std::string(KpFileLimit + 1 - sample.size(), ' '), false},
        {"empty", "", false},
        {"a NUL byte", sample.substr(0, 100) + std::string(1, '\0') + sample.substr(100), false},
        {"an HTML page", "<!DOCTYPE html>\n<html><body>2026 12 06 maintenance</body></html>\n", false},
        {"the header alone", header, false},
        {"a month 13", header + "2026 13 06     6  1 2 2 2\n", false},
    };
    for (const auto &row : rows)
        EXPECT_EQ(LooksLikeKpFile(row.Bytes), row.Good) << row.Name;
}
