#include "WinFileStream.h"

namespace winlayer {

TWinFileStream::TWinFileStream(const std::string &path)
    : Handle(platform::FileOpen(path, platform::FileMode::WriteShareRead))
{
}

TWinFileStream::~TWinFileStream()
{
    Close();
}

TWinFileStream *TWinFileStream::Create(const std::string &path)
{
    TWinFileStream *stream = NewObject<TWinFileStream>(path);
    if (stream->IsOpen())
        return stream;
    stream->Free();
    return nullptr;
}

int64_t TWinFileStream::Seek(int64_t offset, int origin)
{
    return platform::FileSeek(Handle, offset, origin);
}

int64_t TWinFileStream::Size()
{
    int64_t size = platform::FileSize(Handle);
    return size < 0 ? 0 : size;
}

void TWinFileStream::SetSize(int64_t size)
{
    int64_t old = Position();
    // Cutting happens at the current position, so a refused move must not cut.
    if (Seek(size, 0) < 0)
        return;
    platform::FileTruncate(Handle);
    if (old >= 0 && old < size)
        Seek(old, 0);
}

size_t TWinFileStream::Read(void *, size_t)
{
    return 0;
}

size_t TWinFileStream::Write(const void *buffer, size_t count)
{
    size_t done = 0;
    platform::FileWrite(Handle, buffer, count, done);
    platform::FileTruncate(Handle);
    return done;
}

void TWinFileStream::Close()
{
    platform::FileClose(Handle);
    Handle = platform::InvalidFile;
}

} // namespace winlayer
