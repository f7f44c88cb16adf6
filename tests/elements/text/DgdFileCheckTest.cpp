// The check a download must pass before it takes the place of DGD.txt. (The
// provider's own file, the bundled sample, passes it in the FTP and web reader
// tests, which download it.)
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "elements/text/DgdFileCheck.h"

namespace {

const std::string Header = ":Product: Daily Geomagnetic Data          DGD.txt\n#  Date        A     K-indices\n";
const std::string OneDigit = "2026 11 07     6  1 2 2 2 2 2 2 1    13  1 3 4 4 3 2 2 1     7  1 2 2 3 2 2 2 1\n";
const std::string Decimal = "2026 09 22    -1  1 0-1-1-1-1-1-1    -1  1 0-1-1-1-1-1-1     7   2.00  0.67 -1.00 "
                            "-1.00 -1.00 -1.00 -1.00 -1.00\n";

} // namespace

TEST(DgdFileCheck, EveryRealLayoutPassesAndWhatIsNotTheFileFails)
{
    // Rows of 80 bytes up to the bound exactly, and one byte past it.
    std::string full;
    while (full.size() + OneDigit.size() <= DgdFileMaxBytes)
        full += OneDigit;
    full += std::string(DgdFileMaxBytes - full.size(), ' ');
    struct Case {
        const char *What;
        std::string Bytes;
        bool Passes;
    } cases[] = {
        {"the one-digit layout", Header + OneDigit, true},
        {"the decimal layout with CR LF", std::regex_replace(Header + Decimal, std::regex("\n"), "\r\n"), true},
        {"a row indented, no line end", "  " + OneDigit.substr(0, 40), true},
        {"at the bound", full, true},
        {"past the bound", full + "\n", false},
        {"empty", "", false},
        {"a NUL in a good file", Header + OneDigit + std::string(1, '\0'), false},
        {"the header alone", Header, false},
        {"a captive portal's page", "<html><body>Please log in</body></html>\n", false},
        {"a date inside a line", "Issued: 2026 12 06 14:35\n", false},
        {"a date with a letter", "2026 1l 07  1 2 3\n", false},
        {"a date run on", "2026 11 071 2 3\n", false},
        {"binary junk", std::string("\x89PNG\r\n\x1a\n\x01\x02", 10), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsDgdFile(c.Bytes), c.Passes) << c.What;
}
