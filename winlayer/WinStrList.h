#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "WinObject.h"

namespace winlayer {

// A list of 8-bit text lines. A line may hold any byte, NUL included: a NUL is
// an ordinary character, so a file with stray NULs keeps every byte of every line.
class TWinStrList : public TWinObject {
public:
    TWinStrList() = default;

    int32_t Add(const std::string &text);                // the new line's index
    void Insert(int32_t index, const std::string &text); // 0 .. Count; other indexes are ignored
    void Delete(int32_t index);                          // indexes outside the list are ignored
    // The empty text outside the list; the reference lasts until the list changes.
    const std::string &Items(int32_t index) const;
    void SetItems(int32_t index, const std::string &text); // ignored outside the list
    int32_t Count() const { return static_cast<int32_t>(Lines.size()); }
    void Clear();

    // Splits text into lines and puts them in place of the list's (or after
    // them when appending). A CR ends a line and an LF right after it belongs to
    // the same break; any other LF is an ordinary character. A final break
    // makes no empty last line; an empty text makes no lines.
    void SetText(std::string_view text, bool append);
    // Every line followed by CR LF, the last one too.
    std::string Text() const;
    // Replaces the list by the lines of the file's whole content. False, with the
    // list unchanged, when the file cannot be opened or read.
    bool LoadFromFile(const std::string &path);

protected:
    ~TWinStrList() override = default;

private:
    std::vector<std::string> Lines;
};

} // namespace winlayer
