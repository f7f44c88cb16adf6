#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The few kernel services the portable utilities need, one implementation for
// Windows and one for the native build.
namespace winlayer::platform {

// Full path of the running program, read with room for maxChars characters
// (ParamStr(0) allows 261, ModulePath 512).
std::string ModuleFileName(uint32_t maxChars = 261);
std::string CommandLine();      // the process command line as one text

// A file handle as the platform gives it, kept pointer-sized: a HANDLE on
// Windows, a descriptor on the native build.
using FileHandle = intptr_t;
constexpr FileHandle InvalidFile = -1;

// The two ways the layer opens files.
enum class FileMode {
    ReadExisting,   // read access; fails when missing or a directory; others may read and write
    WriteShareRead, // write access, others may only read; created when missing, never truncated
};

FileHandle FileOpen(const std::string &path, FileMode mode);
void FileClose(FileHandle file);
// origin: 0 start, 1 current, 2 end. The new position, or -1 on failure.
int64_t FileSeek(FileHandle file, int64_t offset, int origin);
// -1 when the size cannot be read.
int64_t FileSize(FileHandle file);
// When the file was last written, in Universal Time, as a calendar record
// (year, month, day, hour, minute, second, millisecond; DayOfWeek left 0).
// False when the file's times cannot be read.
bool FileWriteTime(const std::string &path, uint16_t (&utc)[8]);
// Bytes actually moved go to done; false when the call failed.
bool FileRead(FileHandle file, void *buffer, size_t count, size_t &done);
bool FileWrite(FileHandle file, const void *buffer, size_t count, size_t &done);
// Cuts the file off at the current position.
bool FileTruncate(FileHandle file);
// True for an existing file that is not a directory.
bool FileExists(const std::string &path);

// The value of an environment variable; empty when it is not set (on Windows
// also when it is MAX_PATH characters or longer).
std::string EnvironmentVariable(const std::string &name);
// Makes a folder whose parent exists; true when the folder is there afterwards.
bool MakeFolder(const std::string &path);
// True when a download can write the file at path the way it does: a new file
// path + ".part" can be made beside it, and an existing file at path can be
// written and deleted, so that the new one can take its place. Leaves nothing
// behind.
bool CanCreateAndReplace(const std::string &path);

} // namespace winlayer::platform
