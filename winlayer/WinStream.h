#pragma once
#include <cstddef>
#include <cstdint>

#include "WinObject.h"

namespace winlayer {

// A stream of bytes with a position. Positions are 64-bit; -1 from Seek means
// the move was refused.
class TWinStream : public TWinObject {
public:
    // origin: 0 start, 1 current position, 2 end. The new position, or -1.
    virtual int64_t Seek(int64_t offset, int origin) = 0;
    virtual int64_t Size() = 0;
    virtual void SetSize(int64_t size) = 0;
    virtual size_t Read(void *buffer, size_t count) = 0;        // bytes read
    virtual size_t Write(const void *buffer, size_t count) = 0; // bytes written
    virtual void Close() = 0;

    int64_t Position() { return Seek(0, 1); }
    void SetPosition(int64_t position) { Seek(position, 0); }

protected:
    ~TWinStream() override = default;
};

} // namespace winlayer
