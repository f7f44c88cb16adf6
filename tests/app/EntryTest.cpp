// The program entry, on the real tervik.exe: "/ih" shows only the information box;
// anything else starts the program hidden until its form is closed.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "ChildProcess.h"

using testsupport::ClassOf;
using testsupport::TChild;
using testsupport::TextOf;

namespace {

const DWORD Patience = 60000; // Wine may be slow to start a program

std::string TervikPath()
{
    std::string relative = TERVIK_EXE_FROM_TEST_DIR;
    std::replace(relative.begin(), relative.end(), '/', '\\');
    return testsupport::ExeDirectory() + relative;
}

} // namespace

TEST(Entry, InfoSwitchShowsOnlyTheInfoBoxAndEndsWithExitCode0WhenItIsClosed)
{
    TChild child;
    ASSERT_TRUE(child.Start(TervikPath(), "/ih")) << TervikPath();
    HWND box = testsupport::WaitForWindowOf(
        child, [](HWND w) { return ClassOf(w) == "#32770" && IsWindowVisible(w); }, Patience);
    ASSERT_NE(box, nullptr) << "no message box appeared";

    EXPECT_EQ(testsupport::TopLevelWindowsOf(child.Id(), true), std::vector<HWND>{box})
        << "the box is the only visible window";
    EXPECT_EQ(TextOf(box), "Qor Info");
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "the box has no owner";
    std::vector<std::string> texts;
    int buttons = 0;
    for (HWND item : testsupport::ChildWindowsOf(box)) {
        if (ClassOf(item) == "Static" && !TextOf(item).empty())
            texts.push_back(TextOf(item));
        if (ClassOf(item) == "Button" && IsWindowVisible(item))
            ++buttons;
    }
    EXPECT_EQ(texts, std::vector<std::string>{"Сделано в Qor."});
    EXPECT_EQ(buttons, 1) << "only an OK button";
    for (HWND window : testsupport::TopLevelWindowsOf(child.Id(), false))
        EXPECT_NE(ClassOf(window).rfind("obj_", 0), 0u) << "the program made its window " << ClassOf(window);
    EXPECT_TRUE(child.StillRunningAfter(200)) << "the box waits for the user";

    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(child.WaitExitCode(Patience), 0u);
}

TEST(Entry, AnyOtherCommandLineStartsTheProgramHiddenUntilItsFormIsClosed)
{
    const char *const arguments[] = {"/IH", "/i", "/ihx", "", "x /ih"};
    for (const char *args : arguments) {
        SCOPED_TRACE(std::string("arguments: '") + args + "'");
        TChild child;
        ASSERT_TRUE(child.Start(TervikPath(), args)) << TervikPath();
        HWND form = testsupport::WaitForWindowOf(
            child, [](HWND w) { return ClassOf(w) == "obj_Form"; }, Patience);
        ASSERT_NE(form, nullptr) << "the program made no form";

        EXPECT_EQ(TextOf(form), "Tervik v4");
        EXPECT_FALSE(IsWindowVisible(form));
        for (HWND window : testsupport::TopLevelWindowsOf(child.Id(), false))
            EXPECT_NE(ClassOf(window), "#32770") << "no message box";
        EXPECT_TRUE(testsupport::TopLevelWindowsOf(child.Id(), true).empty())
            << "the program shows no window";
        EXPECT_TRUE(child.StillRunningAfter(500)) << "the program keeps running";

        PostMessageA(form, WM_CLOSE, 0, 0);
        EXPECT_EQ(child.WaitExitCode(Patience), 0u) << "closing the form ends the program";
    }
}
