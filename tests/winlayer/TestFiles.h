#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "winlayer/WinObject.h"

namespace testfiles {

// Layer objects go through Free, never delete.
template <class T> using Owned = std::unique_ptr<T, void (*)(winlayer::TWinObject *)>;

template <class T, class... Args> Owned<T> Make(Args &&...args)
{
    return Owned<T>(winlayer::NewObject<T>(std::forward<Args>(args)...), [](winlayer::TWinObject *o) { o->Free(); });
}

// A fresh folder under the system's temp folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        std::random_device random;
        const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("tervik-") + (test ? test->name() : "test") + "-" +
                           std::to_string(random()) + std::to_string(random());
        Folder = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(Folder);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    std::string Path() const { return Folder.string(); }
    std::string Path(const std::string &name) const { return (Folder / name).string(); }

private:
    std::filesystem::path Folder;
};

inline void WriteBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good()) << "could not write " << path;
}

inline std::string ReadBytes(const std::string &path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace testfiles
