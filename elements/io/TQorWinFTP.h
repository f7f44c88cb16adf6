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
// Every call that waits on the network runs on a worker while the window thread
// keeps its windows alive (see WinInetApi.h), and one deadline, Deadline
// milliseconds from doOpen, bounds the whole download: connect, login,
// directory, open and every read. A download is kept in memory (at most
// DgdFileMaxBytes; receiving stops past that) and replaces a target file only
// once it is complete and passes IsDgdFile, so a failure of any kind leaves the
// last good file as it was: a transfer that broke off is onError 4 (as is a
// local file that cannot be written), bytes that are not the file onError 6.
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
    uint32_t Deadline = 45000; // milliseconds for one download, doOpen to the end of doRead

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
    uint32_t Started = 0; // the tick count of the last doOpen, where the deadline runs from

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
        ErrContent = 6,    // what came is not the file (IsDgdFile), or too long
    };

private:
    // The handles now belong to a worker that was left alone; it lets them go.
    void HandOver();
};
