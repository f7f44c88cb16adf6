#pragma once
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The WinINet entry points the FTP and web readers call. They default to the
// real functions; a test may swap one to see what was asked or to make a call
// fail in a way no real server can (the internet handle itself refused).
struct TWinInetApi {
    HINTERNET(WINAPI *InternetOpenA)(LPCSTR Agent, DWORD AccessType, LPCSTR Proxy, LPCSTR ProxyBypass,
                                     DWORD Flags);
    BOOL(WINAPI *InternetSetOptionA)(HINTERNET Handle, DWORD Option, LPVOID Buffer, DWORD Length);
    HINTERNET(WINAPI *InternetConnectA)(HINTERNET Root, LPCSTR Host, INTERNET_PORT Port, LPCSTR UserName,
                                        LPCSTR Password, DWORD Service, DWORD Flags, DWORD_PTR Context);
    BOOL(WINAPI *FtpSetCurrentDirectoryA)(HINTERNET Connection, LPCSTR Directory);
    BOOL(WINAPI *FtpCommandA)(HINTERNET Connection, BOOL ExpectResponse, DWORD Flags, LPCSTR Command,
                              DWORD_PTR Context, HINTERNET *File);
    BOOL(WINAPI *InternetGetLastResponseInfoA)(LPDWORD Error, LPSTR Buffer, LPDWORD Length);
    HINTERNET(WINAPI *FtpOpenFileA)(HINTERNET Connection, LPCSTR FileName, DWORD Access, DWORD Flags,
                                    DWORD_PTR Context);
    BOOL(WINAPI *InternetReadFile)(HINTERNET File, LPVOID Buffer, DWORD ToRead, LPDWORD Read);
    BOOL(WINAPI *InternetCloseHandle)(HINTERNET Handle);
    HINTERNET(WINAPI *InternetOpenUrlA)(HINTERNET Root, LPCSTR Url, LPCSTR Headers, DWORD HeadersLength,
                                        DWORD Flags, DWORD_PTR Context);
    BOOL(WINAPI *HttpQueryInfoA)(HINTERNET Request, DWORD InfoLevel, LPVOID Buffer, LPDWORD BufferLength,
                                 LPDWORD Index);
};

extern TWinInetApi WinInet;
const TWinInetApi &RealWinInet();

// ---- Bounded calls ------------------------------------------------------------------
// Every WinINet call that can wait on the network runs on a worker thread, and
// the window thread waits for it while it keeps handling its windows' messages
// (winlayer::WaitPumping), so the window repaints and answers the tray during a
// download. Wine's WinINet ignores its timeout options in several waits (the TCP
// connect, the passive data connection, reads on it), so a worker may stay
// blocked long after nobody waits for it: at most MaxWorkers workers exist at
// once, and once they all hang, a download step fails at once.

constexpr long MaxWorkers = 4;

// How a bounded call ended.
enum class TCallEnd {
    Done,     // it returned in time
    Late,     // the time was up first; it goes on alone
    Closing,  // the program began to end while it ran; it goes on alone (until the process ends)
    NoWorker, // it never ran: MaxWorkers workers are busy, or the program is ending
};

// Runs Call on a worker and waits at most Ms milliseconds for it. When it is not
// Done, Gone (if given) is set for Call to stop at its next chance, and Late runs
// on the worker as soon as Call returns, to let go of whatever Call made.
TCallEnd RunBounded(uint32_t Ms, std::function<void()> Call, std::function<void()> Late,
                    std::atomic<bool> *Gone = nullptr);

// The workers that exist now, waited for or left alone.
long LiveWorkers();

// Milliseconds left of a route's deadline: Deadline ms after Start (a
// GetTickCount value); 0 once it has passed.
uint32_t TimeLeft(uint32_t Start, uint32_t Deadline);

// Bounds the waits of the connections made from Root that WinINet does bound,
// so that a worker left alone ends as soon as it can.
void SetInternetTimeouts(HINTERNET Root, uint32_t Ms);

// ---- The transfer -------------------------------------------------------------------

// What one transfer received, filled on the worker.
struct TReceived {
    std::string Bytes;
    std::vector<uint32_t> Chunks; // the count of every successful read, the final 0 included
    bool Complete = false;        // the reads went on to the end of the data
    bool TooLong = false;         // it passed DgdFileMaxBytes, and receiving stopped there
};

// Reads File to its end into Into, a chunk at a time, stopping early once Gone
// is set, a read fails or the bytes pass DgdFileMaxBytes.
void ReceiveAll(const TWinInetApi &Api, HINTERNET File, TReceived &Into, const std::atomic<bool> &Gone);

// Puts Bytes in place of the file Path, so that Path holds either the old
// content or all of Bytes, also after a power cut: written to "<Path>.part",
// flushed to the disk, then moved over Path with write-through. False, with no
// .part left, when any step failed.
bool ReplaceFile(const std::string &Path, const std::string &Bytes);
