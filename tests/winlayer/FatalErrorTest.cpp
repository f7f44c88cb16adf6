// The fatal-error box: its text, and a failure that escapes a real program.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "ChildProcess.h"
#include "winlayer/FatalError.h"

using testsupport::TChild;

namespace {

std::string ProbePath()
{
    return testsupport::ExeDirectory() + "fatal_probe.exe";
}

// Splits "Exception <class> in module <module> at <address>.\n<message>".
struct TParsed {
    bool Ok = false;
    std::string Class, Module, Message;
    uintptr_t Address = 0;
};

TParsed Parse(const std::string &text)
{
    static const std::regex pattern("Exception (\\S+) in module (\\S+) at ((0x)?[0-9A-Fa-f]+)\\.\n([\\s\\S]*)");
    std::smatch m;
    TParsed p;
    if (!std::regex_match(text, m, pattern))
        return p;
    p = {true, m[1], m[2], m[5], static_cast<uintptr_t>(std::stoull(m[3], nullptr, 16))};
    return p;
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(FatalError, FailureEscapingAProgramEndsItWithExitCode1AndTheBoxText)
{
    struct TCase {
        const char *Mode;
        DWORD ExitCode;
        const char *Class;
        const char *Message; // the start of the message
    };
    const TCase cases[] = {
        {"assert", 1, "EAssertionFailed", "probe: assertion in a handler"},
        {"std", 1, "runtime_error", "probe: runtime error in a handler"},
        {"access", 1, "EAccessViolation", "Access violation at address "},
    };
    char tempDir[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, tempDir);
    const std::string out = std::string(tempDir) + "tervik_fatal_probe_" +
                            std::to_string(GetCurrentProcessId()) + ".txt";
    SetEnvironmentVariableA("TERVIK_FATAL_PROBE_OUT", out.c_str());
    for (const TCase &c : cases) {
        DeleteFileA(out.c_str());
        TChild child;
        ASSERT_TRUE(child.Start(ProbePath(), c.Mode)) << ProbePath();
        EXPECT_EQ(child.WaitExitCode(60000), c.ExitCode) << "mode " << c.Mode;
        const std::string written = ReadFile(out);
        const size_t newline = written.find('\n');
        ASSERT_NE(newline, std::string::npos) << "mode " << c.Mode << ": " << written;
        EXPECT_EQ(written.substr(0, newline), winlayer::FatalErrorCaption);
        const TParsed p = Parse(written.substr(newline + 1));
        ASSERT_TRUE(p.Ok) << "mode " << c.Mode << ": " << written;
        EXPECT_EQ(p.Class, c.Class) << "mode " << c.Mode;
        EXPECT_EQ(p.Module, "fatal_probe.exe") << "mode " << c.Mode;
        EXPECT_EQ(p.Message.compare(0, std::string(c.Message).size(), c.Message), 0)
            << "mode " << c.Mode << ": " << p.Message;
        EXPECT_NE(p.Address, 0u) << "mode " << c.Mode;
    }
    SetEnvironmentVariableA("TERVIK_FATAL_PROBE_OUT", nullptr);
    DeleteFileA(out.c_str());
}

TEST(FatalError, RealBoxIsTaskModalAndClosingItEndsTheProgramWithExitCode1)
{
    SetEnvironmentVariableA("TERVIK_FATAL_PROBE_OUT", nullptr);
    TChild child;
    ASSERT_TRUE(child.Start(ProbePath(), "assert"));
    HWND box = testsupport::WaitForWindowOf(
        child,
        [](HWND w) { return testsupport::ClassOf(w) == "#32770" && IsWindowVisible(w); }, 60000);
    ASSERT_NE(box, nullptr) << "the error box did not appear";

    EXPECT_EQ(testsupport::TextOf(box), winlayer::FatalErrorCaption);
    std::string boxText;
    for (HWND item : testsupport::ChildWindowsOf(box))
        if (testsupport::ClassOf(item) == "Static" && !testsupport::TextOf(item).empty())
            boxText = testsupport::TextOf(item);
    const TParsed p = Parse(boxText);
    ASSERT_TRUE(p.Ok) << "box text: " << boxText;
    EXPECT_EQ(p.Class, "EAssertionFailed");
    EXPECT_EQ(p.Message, "probe: assertion in a handler");
    for (HWND window : testsupport::TopLevelWindowsOf(child.Id(), false)) {
        if (testsupport::ClassOf(window).rfind("obj_", 0) == 0) {
            EXPECT_FALSE(IsWindowEnabled(window)) << testsupport::ClassOf(window) << " is disabled while the box is up";
        }
    }
    EXPECT_TRUE(child.StillRunningAfter(200)) << "the box waits for the user";

    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(child.WaitExitCode(60000), 1u);
}
