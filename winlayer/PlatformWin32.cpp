#include "Platform.h"

#include <windows.h>

#include <vector>

namespace winlayer::platform {

namespace {

HANDLE AsHandle(FileHandle file)
{
    return reinterpret_cast<HANDLE>(file);
}

// ReadFile and WriteFile take a 32-bit count; larger requests go in pieces.
constexpr size_t MaxChunk = 0x40000000;

} // namespace

std::string ModuleFileName(uint32_t maxChars)
{
    std::vector<char> buf(static_cast<size_t>(maxChars) + 1, '\0');
    DWORD n = GetModuleFileNameA(nullptr, buf.data(), maxChars);
    return std::string(buf.data(), n);
}

std::string CommandLine()
{
    const char *cl = GetCommandLineA();
    return cl ? std::string(cl) : std::string();
}

FileHandle FileOpen(const std::string &path, FileMode mode)
{
    HANDLE h = INVALID_HANDLE_VALUE;
    switch (mode) {
    case FileMode::ReadExisting:
        // Share writing too, so a file another program still has open for
        // writing can be read.
        h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        break;
    case FileMode::WriteShareRead:
        h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        break;
    }
    return h == INVALID_HANDLE_VALUE ? InvalidFile : reinterpret_cast<FileHandle>(h);
}

void FileClose(FileHandle file)
{
    if (file != InvalidFile)
        CloseHandle(AsHandle(file));
}

int64_t FileSeek(FileHandle file, int64_t offset, int origin)
{
    if (file == InvalidFile || origin < 0 || origin > 2)
        return -1;
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (!SetFilePointerEx(AsHandle(file), distance, &result, methods[origin]))
        return -1;
    return result.QuadPart;
}

int64_t FileSize(FileHandle file)
{
    LARGE_INTEGER size;
    if (file == InvalidFile || !GetFileSizeEx(AsHandle(file), &size))
        return -1;
    return size.QuadPart;
}

bool FileWriteTime(const std::string &path, uint16_t (&utc)[8])
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    SYSTEMTIME st;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToSystemTime(&data.ftLastWriteTime, &st))
        return false;
    const uint16_t fields[8] = {st.wYear, st.wMonth, 0, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
    for (int i = 0; i < 8; ++i)
        utc[i] = fields[i];
    return true;
}

bool FileRead(FileHandle file, void *buffer, size_t count, size_t &done)
{
    done = 0;
    if (file == InvalidFile)
        return false;
    char *p = static_cast<char *>(buffer);
    while (done < count) {
        DWORD want = static_cast<DWORD>(count - done < MaxChunk ? count - done : MaxChunk);
        DWORD got = 0;
        if (!ReadFile(AsHandle(file), p + done, want, &got, nullptr))
            return false;
        done += got;
        if (got == 0)
            break;
    }
    return true;
}

bool FileWrite(FileHandle file, const void *buffer, size_t count, size_t &done)
{
    done = 0;
    if (file == InvalidFile)
        return false;
    const char *p = static_cast<const char *>(buffer);
    while (done < count) {
        DWORD want = static_cast<DWORD>(count - done < MaxChunk ? count - done : MaxChunk);
        DWORD put = 0;
        if (!WriteFile(AsHandle(file), p + done, want, &put, nullptr))
            return false;
        done += put;
        if (put == 0)
            break;
    }
    return true;
}

bool FileTruncate(FileHandle file)
{
    return file != InvalidFile && SetEndOfFile(AsHandle(file));
}

bool FileExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A longer value names no folder the ANSI file calls could use anyway: it
// counts as not set.
std::string EnvironmentVariable(const std::string &name)
{
    char buf[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA(name.c_str(), buf, sizeof buf);
    return n < sizeof buf ? std::string(buf, n) : std::string();
}

bool MakeFolder(const std::string &path)
{
    if (CreateDirectoryA(path.c_str(), nullptr))
        return true;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CanCreateAndReplace(const std::string &path)
{
    // Neither a folder nor a read-only file opens for writing, and MoveFileEx
    // replaces neither; a file in use that may not be deleted is no better.
    HANDLE existing = CreateFileA(path.c_str(), GENERIC_WRITE | DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing != INVALID_HANDLE_VALUE)
        CloseHandle(existing);
    else if (GetLastError() != ERROR_FILE_NOT_FOUND)
        return false;
    HANDLE part = CreateFileA((path + ".part").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (part == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(part);
    return true;
}

} // namespace winlayer::platform
