#pragma once
#include <string>

#include "Platform.h"
#include "WinStream.h"

namespace winlayer {

// The write-file stream: a file opened for writing that others may read, created
// when missing and opened, not emptied, when it exists. Every write cuts the
// file off where the write ended.
class TWinFileStream : public TWinStream {
public:
    explicit TWinFileStream(const std::string &path);

    // A stream on path, or nullptr when the file cannot be opened for writing
    // (a directory, a missing or read-only folder).
    static TWinFileStream *Create(const std::string &path);

    bool IsOpen() const { return Handle != platform::InvalidFile; }

    int64_t Seek(int64_t offset, int origin) override;
    int64_t Size() override; // 0 when the size cannot be read
    // Moves to the new end and cuts the file there; the position returns to
    // where it was when that lay before the new end.
    void SetSize(int64_t size) override;
    size_t Read(void *buffer, size_t count) override; // reads nothing
    size_t Write(const void *buffer, size_t count) override;
    void Close() override;

protected:
    ~TWinFileStream() override;

private:
    platform::FileHandle Handle = platform::InvalidFile;
};

} // namespace winlayer
