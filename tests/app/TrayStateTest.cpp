// The tray indication: the icon the main scheme offers for each level or for a
// change of the download outcome, and the tooltip that goes with it.
#include <gtest/gtest.h>

#include "DgdText.h"
#include "app/TClassMultiElementEx_27BA520.h"
#include "runtime/TQorGetIndexData.h"
#include "runtime/TQorMultiElementEx.h"

using namespace dgd;

namespace {

// "Ошибка чтения FTP" in code page 1251, byte by byte.
const std::string ErrorText = "\xCE\xF8\xE8\xE1\xEA\xE0 \xF7\xF2\xE5\xED\xE8\xFF FTP";

} // namespace

using TrayState = Pipeline;

TEST_F(TrayState, EachLevelShowsItsIconAndKpJoinedWithTheValue)
{
    struct Case {
        std::string LastDay;
        std::string Icon;
        std::string Tooltip;
    } cases[] = {
        {"11111112", "ICON3", "Kp:2"},
        {"11111114", "ICON2", "Kp:4"},
        {"11111115", "ICON1", "Kp:5"},
    };
    for (const Case &c : cases) {
        Forget();
        ParseFile(Lf(File({c.LastDay})));
        EXPECT_EQ(Got().Icons, Texts{c.Icon}) << c.LastDay;
        EXPECT_EQ(Got().Hints, Texts{c.Tooltip}) << c.LastDay;
    }
}

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

TEST_F(TrayState, TheIconIsWhatTheMainSchemeOffersAtTheChosenInput)
{
    // The instance reads its icons through the container, only when it needs one.
    P.TrayState->Data[2] = TPointLink();
    ParseFile(Lf(File({"11111114"})));
    EXPECT_EQ(Got().Icons, Texts{"?"}) << "an unwired outer input: IconOut's own value, not an icon";
    EXPECT_EQ(P.Tray()->IconPick->Current, 2);
    EXPECT_EQ(Got().Hints, Texts{"Kp:4"});

    Forget();
    LinkData(P.TrayState->Data[2], P.IconRed, &TKpPipeline::TIconStandIn::Icon, 0);
    ParseFile(Lf(File({"11111114"})));
    EXPECT_EQ(Got().Icons, Texts{"ICON1"});
}
