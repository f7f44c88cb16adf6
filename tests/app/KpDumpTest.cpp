// The built kpdump on files written here: its one line of JSON and its exit code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "DgdText.h"

#ifdef _WIN32
#include <windows.h>
#define popen _popen
#define pclose _pclose
#else
#include <sys/wait.h>
#endif

using namespace dgd;

namespace {

std::string KpDumpPath()
{
#ifdef _WIN32
    char path[MAX_PATH + 1] = {};
    std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH)), relative = TERVIK_KPDUMP_FROM_TEST_DIR;
    std::replace(relative.begin(), relative.end(), '/', '\\');
    return self.substr(0, self.find_last_of("\\/") + 1) + relative;
#else
    return TERVIK_KPDUMP;
#endif
}

// kpdump's output and exit code when run with Arguments.
std::pair<std::string, int> RunKpDump(const std::string &Arguments)
{
    std::string command = "\"" + KpDumpPath() + "\" " + Arguments;
#ifdef _WIN32
    command = "\"" + command + " 2>NUL\""; // cmd /c takes the outer quotes off
#else
    command += " 2>/dev/null";
#endif
    std::string out;
    FILE *pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int status = pipe ? pclose(pipe) : -1;
#ifdef _WIN32
    return {out, status};
#else
    return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
#endif
}

} // namespace

using KpDump = Pipeline;

TEST_F(KpDump, PrintsWhatTheSubSchemesProducedAsOneJsonLine)
{
    struct Case {
        const char *What;
        std::string Bytes;
        std::string Json;
        std::string Hour = "";
    } cases[] = {
        // At a day's start only the first value is known; its blank is the 16th
        // character from the right.
        {"the first interval of a day, red", Lf(File({"12345670", "7-------"})),
         "{\"value\": \"7\", \"level\": 3, \"icon\": \"ICON1\", \"tooltip\": \"Kp:7\", "
         "\"graph\": [1, 2, 3, 4, 5, 6, 7, 0, 7], \"recent\": \"707654321\", \"bars\": "
         "[[0, 0, 7], [0, 0, 0], [0, 0, 0], [0, 0, 0], [0, 0, 0], [0, 0, 0], [0, 0, 0]]}\n", "--hour 2 "},
        {"letters and a byte above ASCII", Lf(Join(File({"1A\"\\b111"}), {"2026 12 06  \xC0"})),
         "{\"value\": \"\\u00C0\", \"level\": 3, \"icon\": \"ICON1\", \"tooltip\": \"Kp:\\u00C0\", "
         "\"graph\": [1, 0, 0, 0, 1, 1, 1, 2, 0, 2, 6, 1, 2, 0, 6, 0], \"recent\": \"\\u00C060216202111b\\\\A1\"}\n"},
        {"a quote as the value", Lf(Join(File({"11111111"}), {"2026 12 06  \""})),
         "{\"value\": \"\\\"\", \"level\": 1, \"icon\": \"ICON3\", \"tooltip\": \"Kp:\\\"\", "
         "\"graph\": [1, 1, 1, 1, 1, 1, 1, 1, 2, 0, 2, 6, 1, 2, 0, 6], \"recent\": \"6021620211111111\"}\n"},
        {"the bars of hour 23, green yellow red at each position", Lf(File({"12345670", "233-----"})),
         "{\"value\": \"3\", \"level\": 1, \"icon\": \"ICON3\", \"tooltip\": \"Kp:3\", "
         "\"graph\": [1, 2, 3, 4, 5, 6, 7, 0, 2, 3, 3], \"recent\": \"33207654321\", \"bars\": "
         "[[0, 4, 0], [0, 0, 5], [0, 0, 6], [0, 0, 7], [0, 0, 0], [2, 0, 0], [3, 0, 0], [3, 0, 0]]}\n", "--hour 23 "},
        {"no value: the day feed never runs", "no_blank\nin_any_line\n",
         "{\"value\": null, \"level\": null, \"graph\": [], \"recent\": \"\", \"bars\": []}\n", "--hour 14 "},
        // At hour 5 the day has had two intervals: 2, then 1.
        {"the provider's decimal values rounded to digits",
         Lf(Join(Header(), {"2026 09 21     5   2.33  4.67  1.00  0.67  8.67  9.00  1.33  0.33",
                            "2026 09 22     7   2.00  0.67 -1.00 -1.00 -1.00 -1.00 -1.00 -1.00"})),
         "{\"value\": \"1\", \"level\": 1, \"icon\": \"ICON3\", \"tooltip\": \"Kp:1\", "
         "\"graph\": [2, 5, 1, 1, 9, 9, 1, 0, 2, 1], \"recent\": \"1201991152\", "
         "\"bars\": [[2, 0, 0], [1, 0, 0], [0, 0, 0], [0, 0, 0], [0, 0, 0], [0, 0, 0], [0, 0, 0]]}\n", "--hour 5 "},
    };
    for (const Case &c : cases) {
        const std::string path = Folder.Path("DGD.txt");
        testfiles::WriteBytes(path, c.Bytes);
        const auto [out, code] = RunKpDump(c.Hour + "\"" + path + "\"");
        EXPECT_EQ(code, 0) << c.What;
        EXPECT_EQ(out, c.Json) << c.What;
    }
}
