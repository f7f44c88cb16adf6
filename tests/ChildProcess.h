#pragma once
// Starting a program of ours from a test and watching its windows and its end.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// The directory of the running test program, with a trailing backslash.
inline std::string ExeDirectory()
{
    char path[MAX_PATH + 1] = {};
    std::string s(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return s.substr(0, s.find_last_of("\\/") + 1);
}

// A child process; killed by the destructor if it is still running (a failed test
// must not leave it behind).
class TChild {
public:
    TChild() = default;
    TChild(const TChild &) = delete;
    TChild &operator=(const TChild &) = delete;
    ~TChild()
    {
        if (Info.hProcess) {
            if (WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(Info.hProcess, 99);
            CloseHandle(Info.hProcess);
            CloseHandle(Info.hThread);
        }
    }

    // Starts exe with the text after the program name as its arguments.
    bool Start(const std::string &exe, const std::string &arguments)
    {
        std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &Info) != 0;
    }

    DWORD Id() const { return Info.dwProcessId; }
    bool Running() const { return WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT; }
    // Waits up to timeoutMs for the end; STILL_ACTIVE when it did not come.
    DWORD WaitExitCode(DWORD timeoutMs) const
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(Info.hProcess, timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(Info.hProcess, &code);
        return code;
    }
    // Waits up to ms and tells whether the process is still there afterwards.
    bool StillRunningAfter(DWORD ms) const { return WaitForSingleObject(Info.hProcess, ms) == WAIT_TIMEOUT; }

private:
    PROCESS_INFORMATION Info{};
};

inline std::string ClassOf(HWND window)
{
    char name[256] = {};
    return std::string(name, GetClassNameA(window, name, sizeof name));
}

inline std::string TextOf(HWND window)
{
    char text[1024] = {};
    return std::string(text, GetWindowTextA(window, text, sizeof text));
}

// Adds each window enumerated to the vector the parameter points to.
inline BOOL CALLBACK CollectWindow(HWND window, LPARAM found)
{
    reinterpret_cast<std::vector<HWND> *>(found)->push_back(window);
    return TRUE;
}

// Top-level windows of the process, hidden ones included unless visibleOnly.
inline std::vector<HWND> TopLevelWindowsOf(DWORD processId, bool visibleOnly)
{
    std::vector<HWND> all, found;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == processId && (!visibleOnly || IsWindowVisible(window)))
            found.push_back(window);
    }
    return found;
}

inline std::vector<HWND> ChildWindowsOf(HWND parent)
{
    std::vector<HWND> found;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Polls the top-level windows of the child until one matches; nullptr when none
// did within timeoutMs or the child ended first.
inline HWND WaitForWindowOf(const TChild &child, const std::function<bool(HWND)> &match,
                            DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        for (HWND window : TopLevelWindowsOf(child.Id(), false))
            if (match(window))
                return window;
        if (!child.Running() || GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(50);
    }
}

} // namespace testsupport
