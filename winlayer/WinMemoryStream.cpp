#include "WinMemoryStream.h"

#include <cstring>
#include <exception>
#include <limits>

namespace winlayer {

namespace {

// base + offset, or -1 when that falls before the start or out of range.
int64_t Target(int64_t base, int64_t offset)
{
    if (offset > 0 && base > std::numeric_limits<int64_t>::max() - offset)
        return -1;
    int64_t target = base + offset;
    return target < 0 ? -1 : target;
}

} // namespace

TWinMemoryStream::~TWinMemoryStream()
{
    Close();
}

// Growth that cannot be had (beyond the address space, out of memory) leaves the
// stream as it was instead of throwing into the caller.
bool TWinMemoryStream::Resize(int64_t size)
{
    if (static_cast<uint64_t>(size) > Block.max_size())
        return false;
    try {
        Block.resize(static_cast<size_t>(size));
    } catch (const std::exception &) {
        return false;
    }
    return true;
}

int64_t TWinMemoryStream::Seek(int64_t offset, int origin)
{
    int64_t base = origin == 0 ? 0 : origin == 1 ? FPosition : origin == 2 ? Size() : -1;
    if (base < 0)
        return -1;
    int64_t target = Target(base, offset);
    if (target < 0)
        return -1;
    if (target > Size() && !Resize(target))
        return -1;
    FPosition = target;
    return FPosition;
}

int64_t TWinMemoryStream::Size()
{
    return static_cast<int64_t>(Block.size());
}

void TWinMemoryStream::SetSize(int64_t size)
{
    if (size < 0 || !Resize(size))
        return;
    Block.shrink_to_fit();
    if (FPosition > size)
        FPosition = size;
}

size_t TWinMemoryStream::Read(void *buffer, size_t count)
{
    int64_t left = Size() - FPosition;
    if (left <= 0 || count == 0)
        return 0;
    size_t n = static_cast<uint64_t>(left) < count ? static_cast<size_t>(left) : count;
    std::memcpy(buffer, Block.data() + FPosition, n);
    FPosition += static_cast<int64_t>(n);
    return n;
}

size_t TWinMemoryStream::Write(const void *buffer, size_t count)
{
    if (count == 0)
        return 0;
    if (count > Block.max_size())
        return 0;
    int64_t end = Target(FPosition, static_cast<int64_t>(count));
    if (end < 0 || (end > Size() && !Resize(end)))
        return 0;
    std::memcpy(Block.data() + FPosition, buffer, count);
    FPosition = end;
    return count;
}

void TWinMemoryStream::Close()
{
    std::vector<uint8_t>().swap(Block);
    FPosition = 0;
}

} // namespace winlayer
