// The program entry: "/ih" shows only the information box (on the real
// tervik.exe); anything else starts the program hidden until its form is closed
// (on the test build of the same entry, its servers set to a closed port on
// loopback, so that no test reaches the data provider). And the manifest the
// built file carries for Windows.
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

std::string FromTestDir(std::string Relative)
{
    std::replace(Relative.begin(), Relative.end(), '/', '\\');
    return testsupport::ExeDirectory() + Relative;
}

const std::string TervikPath = FromTestDir(TERVIK_EXE_FROM_TEST_DIR);

} // namespace

TEST(Entry, InfoSwitchShowsOnlyTheInfoBoxAndEndsWithExitCode0WhenItIsClosed)
{
    TChild child;
    ASSERT_TRUE(child.Start(TervikPath, "/ih")) << TervikPath;
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
    // The test build, every download of it refused at once on loopback.
    for (const char *name : {"TERVIK_E2E_WEB_URL", "TERVIK_E2E_FORECAST_URL"})
        SetEnvironmentVariableA(name, "http://127.0.0.1:1/");
    SetEnvironmentVariableA("TERVIK_E2E_FTP_HOST", "127.0.0.1");
    SetEnvironmentVariableA("TERVIK_E2E_FTP_PORT", "1");
    const std::string offline = FromTestDir(TERVIK_E2E_EXE_FROM_TEST_DIR);
    for (const char *args : {"/IH", "/i", "/ihx", "", "x /ih"}) {
        SCOPED_TRACE(std::string("arguments: '") + args + "'");
        TChild child;
        ASSERT_TRUE(child.Start(offline, args)) << offline;
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

// Read back from the built file as Windows reads it when it starts the program:
// resource 1 of type RT_MANIFEST, parsed into an activation context.
TEST(Entry, TheProgramCarriesAManifestThatRunsAsInvokerOnWindows7To11AndChangesNothingElse)
{
    HMODULE file = LoadLibraryExA(TervikPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr) << TervikPath;
    HRSRC found = FindResourceA(file, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr) << "no manifest";
    const char *bytes = static_cast<const char *>(LockResource(LoadResource(file, found)));
    const std::string manifest(bytes, SizeofResource(file, found));
    FreeLibrary(file);

    for (const char *wanted : {"level=\"asInvoker\"", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                               "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted << " missing in\n" << manifest;
    // The layout is drawn for 96 dpi and the classic controls.
    for (const char *unwanted : {"dpiAware", "dpiAwareness", "Common-Controls", "requireAdministrator"})
        EXPECT_EQ(manifest.find(unwanted), std::string::npos) << unwanted << " in\n" << manifest;

    ACTCTXA context{sizeof(ACTCTXA), ACTCTX_FLAG_RESOURCE_NAME_VALID, TervikPath.c_str(), 0, 0, nullptr,
                    MAKEINTRESOURCEA(1), nullptr, nullptr};
    HANDLE parsed = CreateActCtxA(&context);
    EXPECT_NE(parsed, INVALID_HANDLE_VALUE) << "the manifest does not parse: error " << GetLastError();
    if (parsed != INVALID_HANDLE_VALUE)
        ReleaseActCtx(parsed);
}
