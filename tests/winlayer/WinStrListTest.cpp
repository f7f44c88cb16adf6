#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "winlayer/WinStrList.h"

using testfiles::Make;
using winlayer::TWinStrList;

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const TWinStrList &list)
{
    Lines lines;
    for (int32_t i = 0; i < list.Count(); ++i)
        lines.push_back(list.Items(i));
    return lines;
}

} // namespace

TEST(WinStrList, SetTextAndTextFollowTheLineBreakRule)
{
    struct Case { std::string text; Lines lines; std::string joined; } cases[] = {
        {"a\rb", {"a", "b"}, "a\r\nb\r\n"},
        {"a\nb", {"a\nb"}, "a\nb\r\n"},                // a lone LF is an ordinary character
        {"a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},     // a final break makes no empty last line
        {"", {}, ""},                                 // an empty text makes no lines
        {"a\r\r\nb", {"a", "", "b"}, "a\r\n\r\nb\r\n"}, // CR, then CR LF: an empty line between
        {"a\r\n\nb", {"a", "\nb"}, "a\r\n\nb\r\n"},   // only the first LF belongs to the break
        {"a\n\rb", {"a\n", "b"}, "a\n\r\nb\r\n"},     // LF CR is not a break pair
        {std::string("a\0b\rc", 5), {std::string("a\0b", 3), "c"}, std::string("a\0b\r\nc\r\n", 8)},
    };
    for (const Case &c : cases) {
        auto list = Make<TWinStrList>();
        list->Add("old");
        list->SetText(c.text, false);
        EXPECT_EQ(LinesOf(*list), c.lines) << "for " << testing::PrintToString(c.text);
        EXPECT_EQ(list->Text(), c.joined) << "for " << testing::PrintToString(c.text);
    }
}
