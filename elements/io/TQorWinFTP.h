#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// Fetches one file from an FTP server through WinINet: doOpen connects (passive
// mode) and enters Directory, doRead copies a remote file into a local file or
// into a stream that comes with the call, doClose lets both handles go.
//
// Host, UserName, Password and FileName are both properties and data points;
// the points keep the names and the properties are FHost, FUserName, FPassword
// and FFileName.
//
// A download into a file goes to "<target>.part" first and replaces the target
// only once every byte has come, so a broken transfer leaves the last good file
// as it was and is reported as onError 4, never as onRead. Code 4 also reports
// a local file that cannot be made or replaced.
class TQorWinFTP : public TElement {
public:
    TQorWinFTP() = default;
    TQorWinFTP(const TQorWinFTP &) = delete;
    TQorWinFTP &operator=(const TQorWinFTP &) = delete;

    void *RootHandle = nullptr;       // InternetOpenA
    void *ConnectionHandle = nullptr; // InternetConnectA

    std::string FHost;
    std::string FUserName;
    std::string FPassword;
    int32_t Port = 0; // only the low 16 bits go to the server
    std::string Directory;
    std::string FFileName;
    std::string DateFormat; // kept for the scheme; nothing here reads it

    TPointLink Target;
    TPointLink FileName;
    TPointLink Host;
    TPointLink UserName;
    TPointLink Password;
    TPointLink onProgress;
    TPointLink onError;
    TPointLink onOpen;
    TPointLink onRead;

    // Set when the server stopped answering on the control connection: its
    // replies would come out of step from then on, so the connection is not
    // asked anything more until the next doOpen.
    bool Stalled = false;

    void doOpen(TData &Data, uint16_t Index);
    void doRead(TData &Data, uint16_t Index);
    void doClose(TData &Data, uint16_t Index);

    // Error codes of onError.
    enum : int32_t {
        ErrInternet = 1,   // no internet handle
        ErrConnect = 2,    // no connection
        ErrDirectory = 3,  // the directory was refused
        ErrTransfer = 4,   // the transfer broke off, or the local file could not be written
        ErrRemoteFile = 5, // the remote file could not be opened
    };

private:
    int64_t RemoteSize(const std::string &Name);
};
