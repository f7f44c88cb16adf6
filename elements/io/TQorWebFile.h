#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// Fetches one file by HTTP or HTTPS through WinINet: doRead opens URL (never
// from the cache), checks that the server answered 200, and copies the body
// into the local file whose path Target gives.
//
// Like the FTP reader, the download goes to "<target>.part" first and replaces
// the target only once every byte has come (as many as the Content-Length said,
// when the server sent one), so a failure of any kind leaves the last good file
// as it was. Every wait is bounded by WinInet.TimeoutMs.
class TQorWebFile : public TElement {
public:
    TQorWebFile() = default;
    TQorWebFile(const TQorWebFile &) = delete;
    TQorWebFile &operator=(const TQorWebFile &) = delete;

    std::string URL; // http:// or https://

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
    };
};
