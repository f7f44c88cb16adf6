// Labels on a real form: texts read back from the window, and fitting to the text.
#include "WinTestKit.h"

using namespace wintest;

namespace {

struct LabelTest : ElementTest {
    TQorLabel *MakeLabel(uint8_t AutoSize)
    {
        TQorLabel *label = Elements.Make<TQorLabel>(MakeMainForm(300, 200)->Control);
        Configure(label, 10, 10, 50, 17);
        label->Caption = "0";
        label->SetAutoSize(AutoSize);
        label->Init();
        return label;
    }
    static void Text(TQorLabel *Label, const std::string &Value)
    {
        TData data = StrData(Value);
        Label->doText(data, 0);
    }
};

const std::string LongText = "Данные обновлены: 12:00, и ещё немного";

} // namespace

TEST_F(LabelTest, AutoSizeGrowsAndShrinksWithTheText)
{
    TQorLabel *label = MakeLabel(1);
    const int narrow = label->Control->Width();
    const int height = label->Control->Height();
    Text(label, LongText);
    EXPECT_GT(label->Control->Width(), narrow * 5) << "grew with the text";
    Text(label, "0");
    EXPECT_EQ(label->Control->Width(), narrow) << "shrank back";
    EXPECT_EQ(label->Control->Height(), height);
}

TEST_F(LabelTest, WithoutAutoSizeTheCyrillicTextIsClippedToTheBoundsAndReadsBackByteForByte)
{
    TQorLabel *label = MakeLabel(0);
    ASSERT_EQ(static_cast<unsigned char>(LongText[0]), 0xC4u) << "the test text is in code page 1251";
    Text(label, LongText);
    EXPECT_EQ(label->Control->Width(), 50);
    EXPECT_EQ(label->Control->Height(), 17);
    EXPECT_EQ(TextOf(label->Control->Handle), LongText) << "the whole text is kept, only the view is clipped";
}
