// What the end-to-end tests may change in the program they run, each only when
// its variable is set:
//
//   TERVIK_E2E_FTP_HOST, TERVIK_E2E_FTP_PORT   the FTP server (a test server on loopback)
//   TERVIK_E2E_FTP_USER                        the login name (picks a scripted server's misbehaviour)
//   TERVIK_E2E_FORECAST_URL                    the 3-day forecast's address (a test server on loopback)
//   TERVIK_E2E_CHECK_MS, TERVIK_E2E_RETRY_MS   the schedule's 20-minute and 1-minute timers
//   TERVIK_E2E_DEADLINE_MS                     the deadline of one download by one route
//   TERVIK_E2E_CLOCK                           a fixed local clock, "YYYY-MM-DD HH:MM"
//   TERVIK_E2E_TRAY_LOG                        a file that gets one line per Shell_NotifyIconA call:
//                                              ADD|MODIFY|DELETE, TAB, icon resource name, TAB, tooltip
//                                              (a line break in it as \n), and for a balloon TAB, its text
//   TERVIK_E2E_TRAY_FAILS                      the first N adds fail, as from a shell not ready yet
//                                              (logged as ADD-FAILED); the tray retries every 100 ms
//   TERVIK_E2E_REPORT                          a file that the registered message "Tervik e2e report",
//                                              sent to the form, fills with the process's private
//                                              bytes, working set, the window layer's GDI objects,
//                                              the download workers alive, the process's threads
//                                              and the internet handles opened so far (one per route
//                                              of a download cycle)
#include "E2eHooks.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/TMainScheme.h"
#include "app/TRefreshSchedule.h"
#include "elements/io/TQorTimer.h"
#include "elements/io/TQorWebFile.h"
#include "elements/io/TQorWinFTP.h"
#include "elements/io/WinInetApi.h"
#include "elements/text/TimeServices.h"
#include "elements/win/TQorMainForm.h"
#include "elements/win/TQorTrayIcon.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorMultiElementEx.h"
#include "winlayer/DateTime.h"
#include "winlayer/GdiCount.h"

namespace {

std::string Env(const char *Name)
{
    const char *value = std::getenv(Name);
    return value ? value : "";
}

// Applies the variable's value when it is set.
template <typename TApply> void IfSet(const char *Name, TApply Apply)
{
    if (!Env(Name).empty())
        Apply(Env(Name));
}

// ---- The tray log ---------------------------------------------------------------

std::string TrayLogPath;
int TrayFails = 0; // adds still to fail

std::string IconName(HICON Icon)
{
    static const char *const Names[] = {"ICON0", "ICON1", "ICON2", "ICON3", "ICON4", "MAINICON"};
    for (const char *name : Names)
        if (Icon == LoadIconA(GetModuleHandleA(nullptr), name))
            return name;
    return Icon ? "other" : "none";
}

BOOL LoggedNotifyIcon(DWORD Message, NOTIFYICONDATAA *Record)
{
    const bool fail = Message == NIM_ADD && TrayFails > 0;
    TrayFails -= fail ? 1 : 0;
    static const char *const Names[] = {"ADD", "MODIFY", "DELETE"}; // NIM_ADD, NIM_MODIFY, NIM_DELETE
    const char *what = fail ? "ADD-FAILED" : Message <= NIM_DELETE ? Names[Message] : "OTHER";
    // A tooltip's line break is written as the two characters \n, so that one
    // call stays one line; a balloon's text follows its tooltip.
    std::string tip(Record->szTip, strnlen(Record->szTip, sizeof Record->szTip));
    for (size_t at = tip.find('\n'); at != std::string::npos; at = tip.find('\n', at + 2))
        tip.replace(at, 1, "\\n");
    std::string line = std::string(what) + "\t" + IconName(Record->hIcon) + "\t" + tip;
    if (Record->uFlags & NIF_INFO)
        line += "\t" + std::string(Record->szInfo, strnlen(Record->szInfo, sizeof Record->szInfo));
    line += "\n";
    if (FILE *log = std::fopen(TrayLogPath.c_str(), "ab")) {
        std::fwrite(line.data(), 1, line.size(), log);
        std::fclose(log);
    }
    return fail ? FALSE : Shell_NotifyIconA(Message, Record);
}

// ---- The fixed clock ------------------------------------------------------------

winlayer::TSystemTime FixedTime{};

bool ParseClock(const std::string &Text, winlayer::TSystemTime &Time)
{
    // Through the date-time value and back, for the day of the week.
    return std::sscanf(Text.c_str(), "%hu-%hu-%hu %hu:%hu", &Time.Year, &Time.Month, &Time.Day, &Time.Hour,
                       &Time.Minute) == 5 &&
           winlayer::DateTimeToSystemTime(winlayer::SystemTimeToDateTime(Time), Time);
}

// ---- The report -------------------------------------------------------------------

std::string ReportPath;

// Committed memory of the process's own (not mapped from files): what Windows
// calls private bytes, added up region by region, which Wine answers as well.
unsigned long long PrivateBytes()
{
    unsigned long long total = 0;
    MEMORY_BASIC_INFORMATION region{};
    const char *at = nullptr;
    while (VirtualQuery(at, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const char *next = static_cast<const char *>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
}

// The threads of this process, the window thread and Wine's own among them.
long Threads()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    long count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    CloseHandle(snapshot);
    return count;
}

// Internet handles opened: the readers open one on the window thread at the
// start of every route.
long Opens = 0;

HINTERNET WINAPI CountedInternetOpen(LPCSTR Agent, DWORD AccessType, LPCSTR Proxy, LPCSTR ProxyBypass, DWORD Flags)
{
    ++Opens;
    return RealWinInet().InternetOpenA(Agent, AccessType, Proxy, ProxyBypass, Flags);
}

void WriteReport()
{
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    char text[256];
    std::snprintf(text, sizeof text, "private %llu\nworkingset %llu\nlayergdi %ld\nworkers %ld\nthreads %ld\nopens %ld\n",
                  PrivateBytes(), static_cast<unsigned long long>(memory.WorkingSetSize),
                  static_cast<long>(winlayer::LayerGdiCount().Live()), LiveWorkers(), Threads(), Opens);
    // Written beside and then moved in, so that a reader never sees half of it.
    const std::string part = ReportPath + ".part";
    if (FILE *file = std::fopen(part.c_str(), "wb")) {
        std::fputs(text, file);
        std::fclose(file);
        MoveFileExA(part.c_str(), ReportPath.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

bool ReportHandler(void *, winlayer::TWinControl *, MSG &Msg, LRESULT &Result)
{
    static const UINT message = RegisterWindowMessageA("Tervik e2e report");
    if (Msg.message != message)
        return false;
    WriteReport();
    Result = 1;
    return true;
}

} // namespace

void E2eAttach(TMainScheme &Scheme)
{
    IfSet("TERVIK_E2E_FTP_HOST", [&](const std::string &v) { Scheme.FtpReader->FHost = v; });
    IfSet("TERVIK_E2E_FTP_PORT", [&](const std::string &v) { Scheme.FtpReader->Port = std::atoi(v.c_str()); });
    IfSet("TERVIK_E2E_FTP_USER", [&](const std::string &v) { Scheme.FtpReader->FUserName = v; });
    IfSet("TERVIK_E2E_WEB_URL", [&](const std::string &v) { Scheme.WebReader->URL = v; });
    IfSet("TERVIK_E2E_FORECAST_URL", [&](const std::string &v) { Scheme.ForecastReader->URL = v; });
    IfSet("TERVIK_E2E_DEADLINE_MS", [&](const std::string &v) {
        Scheme.FtpReader->Deadline = Scheme.WebReader->Deadline = Scheme.ForecastReader->Deadline =
            static_cast<uint32_t>(std::atoi(v.c_str()));
    });
    WinInet.InternetOpenA = &CountedInternetOpen;

    auto *schedule = static_cast<TRefreshSchedule *>(Scheme.Schedule->Current->Scheme);
    IfSet("TERVIK_E2E_CHECK_MS", [&](const std::string &v) { schedule->CheckTimer->SetInterval(std::stoi(v)); });
    IfSet("TERVIK_E2E_RETRY_MS", [&](const std::string &v) { schedule->RetryTimer->SetInterval(std::stoi(v)); });

    if (ParseClock(Env("TERVIK_E2E_CLOCK"), FixedTime))
        SetClock([] { return FixedTime; });

    TrayLogPath = Env("TERVIK_E2E_TRAY_LOG");
    TrayFails = std::atoi(Env("TERVIK_E2E_TRAY_FAILS").c_str());
    if (!TrayLogPath.empty() || TrayFails > 0)
        TQorTrayIcon::NotifyIcon = &LoggedNotifyIcon;
    if (TrayFails > 0)
        Scheme.TrayIcon->RetryPeriod = 100;

    ReportPath = Env("TERVIK_E2E_REPORT");
    if (!ReportPath.empty())
        winlayer::AddHandler(Scheme.MainForm->Control, winlayer::TMessageHandler{&ReportHandler, nullptr}, true);
}
