#pragma once
#include <cstdint>
#include <vector>

#include "WinStream.h"

namespace winlayer {

// A stream over a memory block that grows as it is written or sought past its end.
class TWinMemoryStream : public TWinStream {
public:
    TWinMemoryStream() = default;

    // A seek past the end grows the stream, zero-filled, to the new position; a
    // seek before the start is refused.
    int64_t Seek(int64_t offset, int origin) override;
    int64_t Size() override;
    // Exactly the new size; the position moves back to the end when it lay beyond.
    void SetSize(int64_t size) override;
    size_t Read(void *buffer, size_t count) override;
    // Grows the stream to position + count when needed, then copies.
    size_t Write(const void *buffer, size_t count) override;
    // Frees the block; the stream is then empty.
    void Close() override;

    // The block, valid until the stream next changes size.
    const uint8_t *Memory() const { return Block.data(); }

protected:
    ~TWinMemoryStream() override;

private:
    bool Resize(int64_t size);

    std::vector<uint8_t> Block;
    int64_t FPosition = 0;
};

} // namespace winlayer
