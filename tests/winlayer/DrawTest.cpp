// Graphic tools, canvases and bitmaps, drawn for real and read back.
#include <string>

#include "LayerTest.h"
#include "Pixels.h"
#include "winlayer/GdiCount.h"
#include "winlayer/WinBitmap.h"
#include "winlayer/WinCanvas.h"

using namespace winlayer;
using layertest::LayerTest;
using layertest::TMemoryPicture;
using layertest::TPixels;

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Green = RGB(0, 128, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);

TPixels PixelsOf(TWinBitmap *bitmap)
{
    return TPixels(bitmap->Handle(), bitmap->Width(), bitmap->Height());
}

} // namespace

TEST_F(LayerTest, ToolSetterKeepsTheHandleOnTheCurrentValueAndDropsItOnAChange)
{
    struct TCase {
        const char *What;
        TWinGraphicTool *(*Make)();
        void (*Set)(TWinGraphicTool *tool, bool change);
    };
    const TCase cases[] = {
        {"pen colour", &NewPen, [](TWinGraphicTool *t, bool c) { t->SetColor(c ? 0x0000FF : 0); }},
        {"brush style", &NewBrush, [](TWinGraphicTool *t, bool c) { t->SetBrushStyle(c ? bsClear : bsSolid); }},
        {"font name", &NewFont, [](TWinGraphicTool *t, bool c) { t->SetFontName(c ? "Verdana" : "MS Sans Serif"); }},
    };
    for (const TCase &c : cases) {
        TWinGraphicTool *tool = c.Make();
        static int notices;
        notices = 0;
        tool->OnChange = {[](void *, TWinGraphicTool *) { ++notices; }, nullptr};
        HGDIOBJ first = tool->Handle();
        ASSERT_NE(first, nullptr) << c.What;
        const int32_t madeBefore = LayerGdiCount().Made;

        c.Set(tool, false);
        EXPECT_EQ(tool->MadeHandle(), first) << c.What << ": the current value keeps the handle";
        EXPECT_EQ(notices, 0) << c.What << ": no notice";
        EXPECT_EQ(LayerGdiCount().Made, madeBefore) << c.What << ": nothing new made";

        c.Set(tool, true);
        EXPECT_EQ(tool->MadeHandle(), nullptr) << c.What << ": a new value drops the handle";
        EXPECT_EQ(notices, 1) << c.What;
        EXPECT_NE(tool->Handle(), nullptr) << c.What << ": and the next request makes one";
        tool->Free();
    }
}

TEST_F(LayerTest, DottedLineOverASolidBrushHasItsGapsInTheBrushColour)
{
    TWinBitmap *bitmap = NewBitmap(40, 5);
    TWinCanvas *canvas = bitmap->Canvas();
    ASSERT_NE(canvas, nullptr);
    canvas->Brush()->SetColor(White);
    canvas->FillRect(RECT{0, 0, 40, 5});
    canvas->Brush()->SetColor(Green);
    canvas->Pen()->SetColor(Red);
    canvas->Pen()->SetPenStyle(PS_DOT);
    canvas->MoveTo(0, 2);
    canvas->LineTo(40, 2);
    EXPECT_EQ(canvas->SelectedSet() & (csPen | csBrush), csPen | csBrush)
        << "a dotted pen selects the brush too";

    const TPixels pixels = PixelsOf(bitmap);
    const RECT line{0, 2, 40, 3};
    const int red = pixels.Count(Red, line);
    const int green = pixels.Count(Green, line);
    EXPECT_GT(red, 5) << "the dots";
    EXPECT_GT(green, 5) << "the gaps in the brush colour";
    EXPECT_EQ(red + green, 40) << "nothing of the white shows through";
    EXPECT_EQ(pixels.Count(White, RECT{0, 0, 40, 2}), 80) << "only the line was drawn";
    bitmap->Free();
}

TEST_F(LayerTest, ToolChangedWhileSelectedIsDeselectedFirst)
{
    TMemoryPicture picture(10, 10, White);
    TWinCanvas *canvas = NewCanvas(picture.DC);
    canvas->Pen()->SetColor(Red);
    canvas->MoveTo(0, 0);
    canvas->LineTo(9, 0);
    HGDIOBJ redPen = canvas->Pen()->MadeHandle();
    ASSERT_EQ(GetCurrentObject(picture.DC, OBJ_PEN), redPen);

    canvas->Pen()->SetColor(Blue);
    EXPECT_EQ(GetCurrentObject(picture.DC, OBJ_PEN), GetStockObject(BLACK_PEN))
        << "the old pen left the context before it was deleted";
    EXPECT_EQ(canvas->SelectedSet() & csPen, 0);
    canvas->LineTo(9, 9);
    EXPECT_EQ(GetCurrentObject(picture.DC, OBJ_PEN), canvas->Pen()->MadeHandle());
    EXPECT_EQ(picture.Read().At(9, 5), Blue);
    canvas->Free();
    EXPECT_NE(GetCurrentObject(picture.DC, OBJ_PEN), nullptr);
}

TEST_F(LayerTest, GrownBitmapKeepsItsPictureTopLeftAndFillsTheRestWithTheBackground)
{
    struct TCase {
        const char *What;
        bool SetBackground;
        uint32_t Background;
        COLORREF Expected;
    };
    const TCase cases[] = {
        {"default background", false, 0, Black},
        {"system colour background", true, 0x8000000F, GetSysColor(COLOR_BTNFACE)},
    };
    for (const TCase &c : cases) {
        TWinBitmap *bitmap = NewBitmap(10, 6);
        if (c.SetBackground)
            bitmap->BkColor = c.Background;
        TWinCanvas *canvas = bitmap->Canvas();
        canvas->Brush()->SetColor(Red);
        canvas->FillRect(RECT{0, 0, 10, 6});
        HBITMAP before = bitmap->Handle();
        bitmap->SetSize(10, 6);
        EXPECT_EQ(bitmap->Handle(), before) << "the current size keeps the picture";

        bitmap->SetWidth(16);
        bitmap->SetHeight(9);
        TPixels pixels = PixelsOf(bitmap);
        EXPECT_EQ(pixels.Count(Red, RECT{0, 0, 10, 6}), 60) << c.What << ": the old picture";
        EXPECT_EQ(pixels.Count(c.Expected, RECT{10, 0, 16, 9}), 54) << c.What << ": new columns";
        EXPECT_EQ(pixels.Count(c.Expected, RECT{0, 6, 10, 9}), 30) << c.What << ": new rows";
        canvas->Brush()->SetColor(Green);
        canvas->FillRect(RECT{15, 8, 16, 9});
        EXPECT_EQ(PixelsOf(bitmap).At(15, 8), Green) << c.What << ": the canvas draws on the new picture";
        bitmap->Free();
    }
}

TEST_F(LayerTest, EmptyBitmapHasNoCanvasAndDrawsNothing)
{
    TWinBitmap *bitmap = NewBitmap(5, 0);
    EXPECT_EQ(bitmap->Canvas(), nullptr);
    TMemoryPicture picture(4, 4, White);
    bitmap->Draw(picture.DC, 0, 0);
    EXPECT_EQ(picture.Read().Count(White, RECT{0, 0, 4, 4}), 16);
    bitmap->SetHeight(3);
    EXPECT_NE(bitmap->Canvas(), nullptr);
    bitmap->Free();
}
