// The fatal-error box of a real program that lets a failure escape.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <string>
#include <tuple>

#include "ChildProcess.h"
#include "winlayer/FatalError.h"

using testsupport::TChild;

TEST(FatalError, AFailureEscapingAProgramShowsTheTaskModalBoxAndClosingItEndsTheProgramWithExitCode1)
{
    // The probe's mode, the class named and the start of the message.
    const std::tuple<const char *, const char *, const char *> cases[] = {
        {"assert", "EAssertionFailed", "probe: assertion in a handler"},
        {"std", "runtime_error", "probe: runtime error in a handler"},
        {"access", "EAccessViolation", "Access violation at address "},
    };
    const std::string probe = testsupport::ExeDirectory() + "fatal_probe.exe";
    // "Exception <class> in module <module> at <address>.\n<message>"
    const std::regex pattern("Exception (\\S+) in module (\\S+) at ((0x)?[0-9A-Fa-f]+)\\.\n([\\s\\S]*)");
    for (const auto &[mode, name, message] : cases) {
        SCOPED_TRACE(mode);
        TChild child;
        ASSERT_TRUE(child.Start(probe, mode)) << probe;
        HWND box = testsupport::WaitForWindowOf(
            child, [](HWND w) { return testsupport::ClassOf(w) == "#32770" && IsWindowVisible(w); }, 60000);
        ASSERT_NE(box, nullptr) << "the error box did not appear";

        EXPECT_EQ(testsupport::TextOf(box), winlayer::FatalErrorCaption);
        std::string boxText;
        for (HWND item : testsupport::ChildWindowsOf(box))
            if (testsupport::ClassOf(item) == "Static" && !testsupport::TextOf(item).empty())
                boxText = testsupport::TextOf(item);
        std::smatch p;
        ASSERT_TRUE(std::regex_match(boxText, p, pattern)) << "box text: " << boxText;
        EXPECT_EQ(p.str(1), name);
        EXPECT_EQ(p.str(2), "fatal_probe.exe");
        EXPECT_EQ(p.str(5).rfind(message, 0), 0u) << p.str(5);
        EXPECT_NE(std::stoull(p.str(3), nullptr, 16), 0u);
        for (HWND window : testsupport::TopLevelWindowsOf(child.Id(), false)) {
            if (testsupport::ClassOf(window).rfind("obj_", 0) == 0) {
                EXPECT_FALSE(IsWindowEnabled(window))
                    << testsupport::ClassOf(window) << " is disabled while the box is up";
            }
        }
        EXPECT_TRUE(child.StillRunningAfter(200)) << "the box waits for the user";

        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(child.WaitExitCode(60000), 1u);
    }
}
