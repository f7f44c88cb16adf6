#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// Fetches one file by HTTP or HTTPS through WinINet: doRead opens URL (never
// from the cache) as Agent, checks that the server answered 200, and copies the
// body into the local file whose path Target gives.
//
// Like the FTP reader, it waits on a worker with the windows kept alive, within
// one deadline (Deadline milliseconds from the start of doRead), and the body
// replaces the target only once every byte has come (as many as the
// Content-Length said, when the server sent one) and it passes the check that
// Check names (IsDgdFile, or IsKpForecastFile for the 3-day forecast), so a
// failure of any kind leaves the last good file as it was.
class TQorWebFile : public TElement {
public:
    TQorWebFile() = default;
    TQorWebFile(const TQorWebFile &) = delete;
    TQorWebFile &operator=(const TQorWebFile &) = delete;

    std::string URL; // http:// or https://
    std::string Agent = "Qor WinFTP"; // the User-Agent of the requests
    uint32_t Deadline = 45000;        // milliseconds for one download
    uint8_t Check = 0;                // 0: DGD.txt, 1: the 3-day Kp forecast

    TPointLink Target; // the local path
    TPointLink onProgress; // bytes stored so far
    TPointLink onError;    // error code
    TPointLink onRead;     // the file stored

    void doRead(TData &Data, uint16_t Index);

    // Error codes of onError, with the FTP reader's meanings.
    enum : int32_t {
        ErrInternet = 1,   // no internet handle
        ErrTransfer = 4,   // the transfer broke off, or the local file could not be written
        ErrRemoteFile = 5, // no answer, or an answer other than 200, or not an http(s) URL
        ErrContent = 6,    // what came is not the file (Check), or too long
    };

private:
    bool Fits(const std::string &Bytes) const;
};
