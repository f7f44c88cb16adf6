#include "Platform.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace winlayer::platform {

namespace {

int AsDescriptor(FileHandle file)
{
    return static_cast<int>(file);
}

} // namespace

std::string ModuleFileName(uint32_t maxChars)
{
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return std::string();
    std::string name(buf, static_cast<size_t>(n));
    if (name.size() > maxChars)
        name.resize(maxChars);
    return name;
}

// /proc/self/cmdline holds the arguments separated by NULs; join them the way a
// Windows command line would look, quoting those with blanks.
std::string CommandLine()
{
    std::ifstream f("/proc/self/cmdline", std::ios::binary);
    std::string raw((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::string line, arg;
    for (char c : raw) {
        if (c != '\0') {
            arg += c;
            continue;
        }
        if (!line.empty())
            line += ' ';
        line += arg.find(' ') != std::string::npos ? '"' + arg + '"' : arg;
        arg.clear();
    }
    return line;
}

FileHandle FileOpen(const std::string &path, FileMode mode)
{
    int fd = -1;
    switch (mode) {
    case FileMode::ReadExisting: {
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st;
        // Directories open for reading here but not on Windows; refuse them alike.
        if (fd >= 0 && (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
            close(fd);
            fd = -1;
        }
        break;
    }
    case FileMode::WriteShareRead:
        fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
        break;
    }
    return fd < 0 ? InvalidFile : static_cast<FileHandle>(fd);
}

void FileClose(FileHandle file)
{
    if (file != InvalidFile)
        close(AsDescriptor(file));
}

int64_t FileSeek(FileHandle file, int64_t offset, int origin)
{
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (file == InvalidFile || origin < 0 || origin > 2)
        return -1;
    off_t result = lseek(AsDescriptor(file), static_cast<off_t>(offset), whence[origin]);
    return result < 0 ? -1 : static_cast<int64_t>(result);
}

int64_t FileSize(FileHandle file)
{
    struct stat st;
    if (file == InvalidFile || fstat(AsDescriptor(file), &st) != 0)
        return -1;
    return static_cast<int64_t>(st.st_size);
}

bool FileWriteTime(const std::string &path, uint16_t (&utc)[8])
{
    struct stat st;
    struct tm t{};
    if (stat(path.c_str(), &st) != 0 || !gmtime_r(&st.st_mtime, &t))
        return false;
    const int fields[8] = {t.tm_year + 1900, t.tm_mon + 1, 0, t.tm_mday, t.tm_hour, t.tm_min,
                           t.tm_sec > 59 ? 59 : t.tm_sec, 0};
    for (int i = 0; i < 8; ++i)
        utc[i] = static_cast<uint16_t>(fields[i]);
    return true;
}

bool FileRead(FileHandle file, void *buffer, size_t count, size_t &done)
{
    done = 0;
    if (file == InvalidFile)
        return false;
    char *p = static_cast<char *>(buffer);
    while (done < count) {
        ssize_t got = read(AsDescriptor(file), p + done, count - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
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
        ssize_t put = write(AsDescriptor(file), p + done, count - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

bool FileTruncate(FileHandle file)
{
    if (file == InvalidFile)
        return false;
    off_t here = lseek(AsDescriptor(file), 0, SEEK_CUR);
    return here >= 0 && ftruncate(AsDescriptor(file), here) == 0;
}

bool FileExists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string EnvironmentVariable(const std::string &name)
{
    const char *value = std::getenv(name.c_str());
    return value ? value : "";
}

bool MakeFolder(const std::string &path)
{
    struct stat st;
    return mkdir(path.c_str(), 0777) == 0 || (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}

bool CanCreateAndReplace(const std::string &path)
{
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || access(path.c_str(), W_OK) != 0))
        return false;
    const std::string part = path + ".part";
    const int file = open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (file < 0)
        return false;
    close(file);
    unlink(part.c_str());
    return true;
}

} // namespace winlayer::platform
