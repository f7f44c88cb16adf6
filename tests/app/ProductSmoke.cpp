// product_smoke <program.exe> <sample DGD.txt> <value>
// Runs a build of the product (the 32-bit tervik.exe, built with its servers on
// loopback) as a user meets it: the tray tooltip comes to "Kp:<value>" with the
// served forecast's storm line under it, a click on the icon shows the window
// with that value and the update time,
// closing the window ends the program with exit code 0 and takes the icon out
// of the tray, and the DGD.txt beside the program is the served file byte for
// byte. Prints what it saw; exit 0 when all of it held.
//
// The tray is Wine's own (explorer's standalone tray): each icon is a tool of
// explorer's tooltip, read here across the process boundary.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ChildProcess.h"

using testsupport::ClassOf;
using testsupport::TextOf;

namespace {

const DWORD Patience = 60000;

// The texts of the tray's tooltip tools: one per icon in the tray.
std::vector<std::string> TrayTips()
{
    std::vector<std::string> tips;
    HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
    if (!tray)
        tray = FindWindowA("Shell_TrayWnd", nullptr);
    DWORD explorer = 0;
    GetWindowThreadProcessId(tray, &explorer);
    HWND tooltip = nullptr;
    for (HWND window : testsupport::TopLevelWindowsOf(explorer, false))
        if (ClassOf(window) == TOOLTIPS_CLASSA)
            tooltip = window;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, explorer);
    if (!tooltip || !process)
        return tips;
    const SIZE_T textAt = 1024, textSize = 1024;
    char *remote = static_cast<char *>(VirtualAllocEx(process, nullptr, textAt + textSize, MEM_COMMIT, PAGE_READWRITE));
    const int count = static_cast<int>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; remote && i < count; ++i) {
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.lpszText = remote + textAt;
        char text[textSize] = {};
        WriteProcessMemory(process, remote, &tool, sizeof tool, nullptr);
        WriteProcessMemory(process, remote + textAt, text, sizeof text, nullptr);
        if (SendMessageA(tooltip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(remote)) &&
            ReadProcessMemory(process, remote + textAt, text, sizeof text - 1, nullptr))
            tips.emplace_back(text);
    }
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return tips;
}

template <typename Condition> bool Within(DWORD ms, Condition condition)
{
    for (DWORD waited = 0; !condition(); waited += 100, Sleep(100))
        if (waited >= ms)
            return false;
    return true;
}

std::string FileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string("(missing)");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: product_smoke <program.exe> <sample DGD.txt> <value>\n");
        return 2;
    }
    const std::string program = argv[1], sample = argv[2], tip = std::string("Kp:") + argv[3];
    int failures = 0;
    auto check = [&](bool ok, const std::string &what) {
        std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
        failures += ok ? 0 : 1;
    };

    testsupport::TChild child;
    if (!child.Start(program, "")) {
        std::printf("FAIL could not start %s\n", program.c_str());
        return 1;
    }
    HWND form = nullptr;
    check(Within(Patience, [&] { return (form = FindWindowA("obj_Form", "Tervik v4")) != nullptr; }),
          "the program made its form");
    std::vector<std::string> tips;
    // The served forecast, issued now, has 5.33 tomorrow: a storm line under the value.
    const std::string storm = tip + "\nПрогноз: буря Kp 5 ";
    const bool shown = Within(Patience, [&] {
        tips = TrayTips();
        return tips.size() == 1 && tips[0].compare(0, storm.size(), storm) == 0;
    });
    check(shown, "one tray icon, tooltip \"" + (tips.empty() ? std::string("(none)") : tips.front()) + "\"");

    PostMessageA(form, WM_USER + 1, 1, WM_LBUTTONUP); // the icon's click, as the tray sends it
    check(Within(5000, [&] { return IsWindowVisible(form) != FALSE; }), "a click on the icon shows the window");
    bool value = false, updated = false;
    for (HWND label : testsupport::ChildWindowsOf(form)) {
        value |= TextOf(label) == argv[3];
        updated |= TextOf(label).rfind("Данные обновлены: ", 0) == 0;
    }
    check(value, std::string("the window shows the value ") + argv[3]);
    check(updated, "the window shows the update time");

    PostMessageA(form, WM_CLOSE, 0, 0);
    const DWORD code = child.WaitExitCode(10000);
    check(code == 0, "closing the window ends the program, exit code " + std::to_string(code));
    check(Within(5000, [] { return TrayTips().empty(); }), "the icon left the tray");

    const std::string local = program.substr(0, program.find_last_of("\\/") + 1) + "DGD.txt";
    check(FileBytes(local) == FileBytes(sample), "DGD.txt beside the program is the served file byte for byte");
    return failures ? 1 : 0;
}
