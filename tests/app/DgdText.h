#pragma once
// DGD.txt as the data provider writes it, made to measure for the tests, and a
// fixture that runs the sub-schemes on it through the program's wiring.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/KpPipeline.h"
#include "winlayer/TestFiles.h"

namespace dgd {

using Texts = std::vector<std::string>;

// The twelve header lines.
inline Texts Header()
{
    return {
        ":Product: Daily Geomagnetic Data          DGD.txt",
        ":Issued: 1435 UT 06 Dec 2026",
        "#",
        "#  Prepared by the U.S. Dept. of Commerce, NOAA, Space Weather Prediction Center",
        "#  Please send comment and suggestions to SWPC.Webmaster@noaa.gov ",
        "#",
        "#                Last 30 Days Daily Geomagnetic Data",
        "#",
        "#",
        "#                Middle Latitude        High Latitude            Estimated",
        "#              - Fredericksburg -     ---- College ----      --- Planetary ---",
        "#  Date        A     K-indices        A     K-indices        A     K-indices",
    };
}

// One data line of day Day; its last 16 characters are the planetary values Kp
// as the file writes them: a blank and the digit for a known value, "-1" for one
// not yet known (in Kp the eight characters, '-' for an unknown one).
inline std::string Row(int Day, const std::string &Kp)
{
    std::string row = "2026 11 " + std::string(Day < 10 ? "0" : "") + std::to_string(Day) +
                      "    11  2 2 3 3 2 2 1 1    27  2 4 4 5 3 3 2 2    16 ";
    for (char c : Kp)
        row += c == '-' ? std::string("-1") : std::string(" ") + c;
    return row;
}

// The lines joined with LF, each one ended.
inline std::string Lf(const Texts &Lines)
{
    std::string out;
    for (const std::string &line : Lines)
        out += line + "\n";
    return out;
}

inline Texts Join(Texts A, const Texts &B)
{
    A.insert(A.end(), B.begin(), B.end());
    return A;
}

// A whole file: the header and one row per entry of Days (day 1 first).
inline Texts File(const Texts &Days)
{
    Texts lines = Header();
    for (size_t i = 0; i < Days.size(); ++i)
        lines.push_back(Row(static_cast<int>(i % 30) + 1, Days[i]));
    return lines;
}

// Thirty days of made-up values, all known.
inline Texts ThirtyDays()
{
    Texts days(30);
    for (size_t d = 0; d < 30; ++d)
        for (size_t i = 0; i < 8; ++i)
            days[d] += static_cast<char>('0' + (d * 3 + i * 5) % 7);
    return days;
}

// The sub-schemes behind the program's wiring, with dispatch running for the
// test and a temp folder for the files it writes.
class Pipeline : public testing::Test {
protected:
    bool WasStarted = Started;
    TKpPipeline P; // built while dispatch is idle, as the program builds its scheme
    testfiles::TempFolder Folder;

    void SetUp() override
    {
        StartHooks();
        RunStartList();
    }
    void TearDown() override
    {
        StopHooks();
        Started = WasStarted;
    }

    // Writes Bytes as DGD.txt and parses it from there, as after a download.
    void ParseFile(const std::string &Bytes)
    {
        const std::string path = Folder.Path("DGD.txt");
        testfiles::WriteBytes(path, Bytes);
        P.Parse(path);
    }
    const TKpPipeline::TOutcome &Got() { return P.Outcome(); }
    // Forgets what was recorded, the graph's content included.
    void Forget() { P.Outcome() = TKpPipeline::TOutcome(); }
};

} // namespace dgd
