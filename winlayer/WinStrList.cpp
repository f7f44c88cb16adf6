#include "WinStrList.h"

#include "Files.h"

namespace winlayer {

namespace {

const std::string EmptyLine;

} // namespace

int32_t TWinStrList::Add(const std::string &text)
{
    Lines.push_back(text);
    return Count() - 1;
}

void TWinStrList::Insert(int32_t index, const std::string &text)
{
    if (index < 0 || index > Count())
        return;
    Lines.insert(Lines.begin() + index, text);
}

void TWinStrList::Delete(int32_t index)
{
    if (index < 0 || index >= Count())
        return;
    Lines.erase(Lines.begin() + index);
}

const std::string &TWinStrList::Items(int32_t index) const
{
    return index >= 0 && index < Count() ? Lines[static_cast<size_t>(index)] : EmptyLine;
}

void TWinStrList::SetItems(int32_t index, const std::string &text)
{
    if (index < 0 || index >= Count())
        return;
    Lines[static_cast<size_t>(index)] = text;
}

void TWinStrList::Clear()
{
    Lines.clear();
}

void TWinStrList::SetText(std::string_view text, bool append)
{
    // The new lines are cut out before the list is touched: the text may be one
    // of this list's own lines.
    // The breaks are counted with find, which scans far faster than a byte loop.
    std::vector<std::string> lines;
    size_t breaks = 0;
    for (size_t at = text.find('\r'); at != std::string_view::npos; at = text.find('\r', at + 1))
        ++breaks;
    lines.reserve(breaks + 1);
    size_t start = 0;
    while (start < text.size()) {
        size_t cr = text.find('\r', start);
        if (cr == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, cr - start));
        start = cr + 1;
        if (start < text.size() && text[start] == '\n')
            ++start;
    }
    if (!append) {
        Lines.swap(lines);
        return;
    }
    Lines.reserve(Lines.size() + lines.size());
    for (std::string &line : lines)
        Lines.push_back(std::move(line));
}

std::string TWinStrList::Text() const
{
    size_t size = 0;
    for (const std::string &line : Lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string &line : Lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool TWinStrList::LoadFromFile(const std::string &path)
{
    std::string content;
    if (!ReadWholeFile(path, content))
        return false;
    SetText(content, false);
    return true;
}

} // namespace winlayer
