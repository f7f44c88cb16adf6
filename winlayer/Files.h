#pragma once
#include <cstddef>
#include <string>

// The program's dealings with whole files and its own folder.
namespace winlayer {

// True for an existing file; a directory of that name does not count.
bool FileExists(const std::string &path);

// The whole content of an existing file. False, with content untouched, when the
// file cannot be opened or read.
bool ReadWholeFile(const std::string &path, std::string &content);

// The first Limit bytes of an existing file (all of it when it is shorter).
// False, with content untouched, when the file cannot be opened or read.
bool ReadFileHead(const std::string &path, size_t limit, std::string &content);

// When the file was last written, as a date-time value in Universal Time (see
// DateTime.h). False when the file's times cannot be read.
bool FileWriteTimeUtc(const std::string &path, double &dateTime);

// The folder part of a file name: everything up to and including the last
// backslash (or slash, which Windows never puts in a module name); empty when
// there is none.
std::string FolderOf(const std::string &fileName);

// The running program's folder with its trailing separator.
std::string ModulePath();

// The folder where the program keeps its file FileName: Preferred (a folder with
// its trailing separator) when the file can be created and replaced there;
// otherwise Fallback, made when missing. Preferred after all when there is no
// Fallback or it cannot be made.
std::string DataFolder(const std::string &Preferred, const std::string &FileName, const std::string &Fallback);

// The folder Name in the user's local application data (%LOCALAPPDATA%), with
// its trailing separator; empty when the variable is not set.
std::string LocalDataFolder(const std::string &Name);

} // namespace winlayer
