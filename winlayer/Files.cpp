#include "Files.h"

#include <exception>

#include "DateTime.h"
#include "Platform.h"

namespace winlayer {

bool FileExists(const std::string &path)
{
    return platform::FileExists(path);
}

bool ReadWholeFile(const std::string &path, std::string &content)
{
    platform::FileHandle file = platform::FileOpen(path, platform::FileMode::ReadExisting);
    if (file == platform::InvalidFile)
        return false;
    // The size is only a hint: read on until the end, in case the file grew.
    std::string data;
    int64_t hint = platform::FileSize(file);
    size_t chunk = hint > 0 && static_cast<uint64_t>(hint) < data.max_size() ? static_cast<size_t>(hint) + 1 : 65536;
    bool ok = true;
    try {
        for (;;) {
            size_t used = data.size();
            data.resize(used + chunk);
            size_t done = 0;
            ok = platform::FileRead(file, &data[used], chunk, done);
            data.resize(used + done);
            if (!ok || done < chunk)
                break;
            chunk = 65536;
        }
    } catch (const std::exception &) {
        // Too big to hold: a failed read like any other.
        ok = false;
    }
    platform::FileClose(file);
    if (!ok)
        return false;
    content.swap(data);
    return true;
}

bool ReadFileHead(const std::string &path, size_t limit, std::string &content)
{
    platform::FileHandle file = platform::FileOpen(path, platform::FileMode::ReadExisting);
    if (file == platform::InvalidFile)
        return false;
    std::string data(limit, '\0');
    size_t done = 0;
    const bool ok = platform::FileRead(file, &data[0], limit, done);
    platform::FileClose(file);
    if (!ok)
        return false;
    data.resize(done);
    content.swap(data);
    return true;
}

bool FileWriteTimeUtc(const std::string &path, double &dateTime)
{
    uint16_t fields[8];
    if (!platform::FileWriteTime(path, fields))
        return false;
    const TSystemTime time{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7]};
    dateTime = SystemTimeToDateTime(time);
    return dateTime != 0.0;
}

std::string FolderOf(const std::string &fileName)
{
    size_t last = fileName.find_last_of("\\/");
    return last == std::string::npos ? std::string() : fileName.substr(0, last + 1);
}

std::string ModulePath()
{
    return FolderOf(platform::ModuleFileName(512));
}

std::string DataFolder(const std::string &Preferred, const std::string &FileName, const std::string &Fallback)
{
    if (Fallback.empty() || platform::CanCreateAndReplace(Preferred + FileName))
        return Preferred;
    return platform::MakeFolder(Fallback) ? Fallback : Preferred;
}

std::string LocalDataFolder(const std::string &Name)
{
#ifdef _WIN32
    const char separator = '\\';
#else
    const char separator = '/';
#endif
    std::string root = platform::EnvironmentVariable("LOCALAPPDATA");
    if (root.empty())
        return root;
    if (root.back() != separator)
        root += separator;
    return root + Name + separator;
}

} // namespace winlayer
