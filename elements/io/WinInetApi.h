#pragma once
#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <functional>
#include <string>

#include "winlayer/WinFileStream.h"

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

    // How long a connection, a reply or a chunk of data may keep us waiting.
    DWORD TimeoutMs;
};

extern TWinInetApi WinInet;
const TWinInetApi &RealWinInet();

// Runs Call on a helper thread and waits at most Ms milliseconds for it; true
// when it returned in time. Some waits of Wine's WinINet ignore the timeout
// options (the TCP connect, the data connection), so the caller bounds them
// here. A call that is late goes on alone; Late then runs on the helper thread
// as soon as Call returns, to release whatever Call produced.
bool RunWithin(uint32_t Ms, std::function<void()> Call, std::function<void()> Late);

// Bounds every wait of the connections made from Root by TimeoutMs; the handles
// made from it inherit the options.
void SetInternetTimeouts(HINTERNET Root);

// Copies the body of File into Stream a chunk at a time, each wait bounded by
// TimeoutMs: Wine's FTP data connection ignores the receive timeout and would
// wait for a silent server for ever. Progress runs after every chunk. Received
// counts the bytes stored. False when a read failed or did not return in time
// (Late tells which; a late read goes on alone into a buffer of its own), or
// when Stream refused bytes.
bool ReceiveInto(HINTERNET File, winlayer::TWinStream &Stream, const std::function<void()> &Progress,
                 int64_t &Received, bool &Late);

// A download goes to "<Path>.part" first and replaces Path only once it is
// complete, so that a failure of any kind leaves the last good file as it was.
// OpenPartFile gives that temporary file, empty, or nullptr when it cannot be
// made; FinishPartFile frees it and moves it over Path when Complete, deletes it
// otherwise, and says whether Path now holds the download.
winlayer::TWinFileStream *OpenPartFile(const std::string &Path);
bool FinishPartFile(winlayer::TWinFileStream *Part, const std::string &Path, bool Complete);
