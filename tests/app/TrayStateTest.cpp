// The tray indication: the icon the main scheme offers for each level or for a
// change of the download outcome, and the tooltip that goes with it.
#include <gtest/gtest.h>

#include "DgdText.h"
#include "app/TTrayState.h"
#include "runtime/TQorMultiElementEx.h"

using namespace dgd;

namespace {

// "Ошибка чтения FTP" in code page 1251, byte by byte.
const std::string ErrorText = "\xCE\xF8\xE8\xE1\xEA\xE0 \xF7\xF2\xE5\xED\xE8\xFF FTP";

} // namespace

using TrayState = Pipeline;

TEST_F(TrayState, TheLastNewsDecidesWhatTheTrayShows)
{
    // A good parse, then a failed download: the error icon and its exact text.
    ParseFile(Lf(File({"11111114"})));
    P.OutcomeChanged(0);
    EXPECT_EQ(Got().Journal.back(), "tooltip " + ErrorText);
    EXPECT_EQ(Got().Icons.back(), "ICON4");

    // The download works again: the error for a moment, then the level of the parse.
    P.OutcomeChanged(1);
    ParseFile(Lf(File({"11111115"})));
    EXPECT_EQ(Got().Icons, (Texts{"ICON2", "ICON4", "ICON4", "ICON1"}));
    EXPECT_EQ(Got().Hints, (Texts{"Kp:4", ErrorText, ErrorText, "Kp:5"}));

    // A parse that finds nothing leaves the error showing though the download worked.
    P.OutcomeChanged(0);
    P.OutcomeChanged(1);
    ParseFile("\n\n");
    EXPECT_EQ(Got().Icons.back(), "ICON4");
    EXPECT_EQ(Got().Hints.back(), ErrorText);
}
