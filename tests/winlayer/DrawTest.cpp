// Graphic tools, canvases, regions, bitmaps and icons, drawn for real and read back.
#include <string>

#include "LayerTest.h"
#include "Pixels.h"
#include "winlayer/Assert.h"
#include "winlayer/GdiCount.h"
#include "winlayer/WinBitmap.h"
#include "winlayer/WinCanvas.h"
#include "winlayer/WinIcon.h"

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

// Counts the change notices of a tool.
struct TNotices {
    int Before = 0;
    int After = 0;
    static void Changing(void *data, TWinGraphicTool *) { ++static_cast<TNotices *>(data)->Before; }
    static void Changed(void *data, TWinGraphicTool *) { ++static_cast<TNotices *>(data)->After; }
    void Watch(TWinGraphicTool *tool)
    {
        tool->OnChange = {&Changing, this};
        tool->OnChanged = {&Changed, this};
    }
};

TPixels PixelsOf(TWinBitmap *bitmap)
{
    return TPixels(bitmap->Handle(), bitmap->Width(), bitmap->Height());
}

} // namespace

TEST_F(LayerTest, NewToolsHaveTheirDefaults)
{
    TWinGraphicTool *brush = NewBrush();
    TWinGraphicTool *font = NewFont();
    TWinGraphicTool *pen = NewPen();
    EXPECT_EQ(brush->Kind, gtBrush);
    EXPECT_EQ(brush->Color(), 0x8000000Fu);
    EXPECT_EQ(brush->BrushStyle(), bsSolid);
    EXPECT_EQ(brush->BrushBitmap(), nullptr);
    EXPECT_EQ(font->Kind, gtFont);
    EXPECT_EQ(font->Color(), 0x80000008u);
    EXPECT_EQ(font->FontHeight(), 0);
    EXPECT_EQ(font->FontWeight(), 0);
    EXPECT_EQ(font->FontCharset(), 1);
    EXPECT_EQ(font->FontName(), "MS Sans Serif");
    EXPECT_EQ(pen->Kind, gtPen);
    EXPECT_EQ(pen->Color(), 0u);
    EXPECT_EQ(pen->PenMode(), 12);
    EXPECT_EQ(pen->PenStyle(), PS_SOLID);
    EXPECT_EQ(pen->PenWidth(), 0);
    for (TWinGraphicTool *tool : {brush, font, pen}) {
        EXPECT_EQ(tool->MadeHandle(), nullptr) << "no handle before one is asked for";
        tool->Free();
    }
}

TEST_F(LayerTest, ToolSetterKeepsTheHandleOnTheCurrentValueAndDropsItOnAChange)
{
    struct TCase {
        const char *What;
        TWinGraphicTool *(*Make)();
        void (*Set)(TWinGraphicTool *tool, bool change);
    };
    const TCase cases[] = {
        {"pen colour", &NewPen,
         [](TWinGraphicTool *t, bool c) { t->SetColor(c ? 0x0000FF : 0); }},
        {"pen width", &NewPen, [](TWinGraphicTool *t, bool c) { t->SetPenWidth(c ? 3 : 0); }},
        {"pen style", &NewPen,
         [](TWinGraphicTool *t, bool c) { t->SetPenStyle(c ? PS_DOT : PS_SOLID); }},
        {"pen mode", &NewPen, [](TWinGraphicTool *t, bool c) { t->SetPenMode(c ? pmXor : pmCopy); }},
        {"brush colour", &NewBrush,
         [](TWinGraphicTool *t, bool c) { t->SetColor(c ? 0x00FF00 : 0x8000000F); }},
        {"brush style", &NewBrush,
         [](TWinGraphicTool *t, bool c) { t->SetBrushStyle(c ? bsClear : bsSolid); }},
        {"font height", &NewFont, [](TWinGraphicTool *t, bool c) { t->SetFontHeight(c ? -20 : 0); }},
        {"font name", &NewFont,
         [](TWinGraphicTool *t, bool c) { t->SetFontName(c ? "Verdana" : "MS Sans Serif"); }},
        {"font style", &NewFont,
         [](TWinGraphicTool *t, bool c) { t->SetFontStyle(c ? fsBold | fsUnderline : 0); }},
        {"font colour", &NewFont,
         [](TWinGraphicTool *t, bool c) { t->SetColor(c ? 0xFF : 0x80000008); }},
    };
    for (const TCase &c : cases) {
        TWinGraphicTool *tool = c.Make();
        TNotices notices;
        notices.Watch(tool);
        HGDIOBJ first = tool->Handle();
        ASSERT_NE(first, nullptr) << c.What;
        const int32_t madeBefore = LayerGdiCount().Made;

        c.Set(tool, false);
        EXPECT_EQ(tool->MadeHandle(), first) << c.What << ": the current value keeps the handle";
        EXPECT_EQ(tool->Handle(), first) << c.What;
        EXPECT_EQ(notices.Before + notices.After, 0) << c.What << ": no notice";
        EXPECT_EQ(LayerGdiCount().Made, madeBefore) << c.What << ": nothing new made";

        c.Set(tool, true);
        EXPECT_EQ(tool->MadeHandle(), nullptr) << c.What << ": a new value drops the handle";
        EXPECT_EQ(notices.Before, 1) << c.What;
        EXPECT_EQ(notices.After, 1) << c.What;
        EXPECT_NE(tool->Handle(), nullptr) << c.What << ": and the next request makes one";
        tool->Free();
    }
}

TEST_F(LayerTest, AssignCopiesEveryAttributeAndDropsTheHandle)
{
    TWinGraphicTool *source = NewFont();
    source->SetFontName("Verdana");
    source->SetFontHeight(-27);
    source->SetFontStyle(fsBold | fsItalic);
    source->SetFontCharset(RUSSIAN_CHARSET);
    source->SetColor(0x123456);
    TWinGraphicTool *copy = NewFont();
    HGDIOBJ old = copy->Handle();
    ASSERT_NE(old, nullptr);
    copy->Assign(source);
    EXPECT_EQ(copy->MadeHandle(), nullptr);
    EXPECT_EQ(copy->FontName(), "Verdana");
    EXPECT_EQ(copy->FontHeight(), -27);
    EXPECT_EQ(copy->FontStyle(), fsBold | fsItalic);
    EXPECT_EQ(copy->FontCharset(), RUSSIAN_CHARSET);
    EXPECT_EQ(copy->Color(), 0x123456u);
    LOGFONTA made{};
    ASSERT_TRUE(GetObjectA(copy->Handle(), sizeof made, &made));
    EXPECT_EQ(made.lfHeight, -27);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    EXPECT_STREQ(made.lfFaceName, "Verdana");

    TWinGraphicTool *pen = NewPen();
    pen->SetColor(0xFF);
    copy->Assign(pen);
    EXPECT_EQ(copy->FontName(), "Verdana") << "a tool of another kind is not copied";
    pen->Free();
    copy->Free();
    source->Free();
}

TEST_F(LayerTest, SystemColourIsReadAgainAndAStaleHandleMadeAgain)
{
    const COLORREF original = GetSysColor(COLOR_BTNFACE);
    const COLORREF changed = original == RGB(10, 200, 30) ? RGB(30, 200, 10) : RGB(10, 200, 30);
    struct TCase {
        uint32_t Color;
    };
    for (const TCase c : {TCase{0x8000000F}, TCase{0xFF00000F}}) {
        TWinGraphicTool *brush = NewBrush();
        brush->SetColor(c.Color);
        TWinCanvas *canvas = NewMemoryCanvas();
        TMemoryPicture picture(8, 8, White);
        canvas->SetHandle(picture.DC);
        canvas->ReleaseKind = TCanvasRelease::Keep;
        canvas->Brush()->Assign(brush);
        canvas->FillRect(RECT{0, 0, 8, 8});
        EXPECT_EQ(picture.Read().At(3, 3), original) << std::hex << c.Color;
        HGDIOBJ first = brush->Handle();
        EXPECT_EQ(brush->PlatformColor(), original);

        const int element = COLOR_BTNFACE;
        ASSERT_TRUE(SetSysColors(1, &element, &changed));
        EXPECT_TRUE(brush->HandleStale());
        HGDIOBJ second = brush->Handle();
        EXPECT_EQ(brush->PlatformColor(), changed) << "read again when the handle is made";
        EXPECT_EQ(brush->MadeHandle(), second);
        LOGBRUSH made{};
        ASSERT_TRUE(GetObjectA(second, sizeof made, &made));
        EXPECT_EQ(made.lbColor, changed) << "the new handle has the new colour";
        (void)first;
        canvas->FillRect(RECT{0, 0, 8, 8});
        EXPECT_EQ(picture.Read().At(3, 3), changed) << "the canvas selects the remade brush";

        SetSysColors(1, &element, &original);
        canvas->Release();
        canvas->Free();
        brush->Free();
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

TEST_F(LayerTest, CanvasOperationsDrawWhatTheyShould)
{
    TWinBitmap *bitmap = NewBitmap(60, 40);
    TWinCanvas *canvas = bitmap->Canvas();
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->Brush()->Color(), 0u) << "the bitmap's canvas brush has its background colour";

    // FillRect with the brush.
    canvas->Brush()->SetColor(White);
    canvas->FillRect(RECT{0, 0, 60, 40});
    EXPECT_EQ(PixelsOf(bitmap).Count(White, RECT{0, 0, 60, 40}), 2400);

    // Rectangle: the outline with the pen, the inside with the brush.
    canvas->Pen()->SetColor(Red);
    canvas->Brush()->SetColor(Blue);
    canvas->Rectangle(2, 2, 12, 12);
    TPixels pixels = PixelsOf(bitmap);
    EXPECT_EQ(pixels.At(2, 2), Red);
    EXPECT_EQ(pixels.At(11, 11), Red);
    EXPECT_EQ(pixels.At(6, 6), Blue);
    EXPECT_EQ(pixels.At(12, 12), White) << "the right and bottom edges are outside";

    // A clear brush leaves the inside alone.
    canvas->Brush()->SetBrushStyle(bsClear);
    canvas->Rectangle(20, 2, 30, 12);
    pixels = PixelsOf(bitmap);
    EXPECT_EQ(pixels.At(20, 5), Red);
    EXPECT_EQ(pixels.At(25, 6), White);

    // DrawText measures without drawing, then draws in the font colour on the brush colour.
    canvas->Brush()->SetBrushStyle(bsSolid);
    canvas->Brush()->SetColor(Green);
    canvas->Font()->SetColor(Blue);
    canvas->Font()->SetFontHeight(-12);
    RECT measured{0, 20, 0, 20};
    const int height = canvas->DrawText("WW", measured, DT_CALCRECT);
    EXPECT_GT(measured.right, 4);
    EXPECT_EQ(measured.bottom - measured.top, height);
    EXPECT_EQ(measured.right, canvas->TextWidth("WW"));
    EXPECT_EQ(measured.bottom - measured.top, canvas->TextHeight("WW"));
    const RECT textArea{0, 20, measured.right, measured.bottom};
    const int cell = (textArea.right - textArea.left) * (textArea.bottom - textArea.top);
    EXPECT_EQ(PixelsOf(bitmap).Count(White, textArea), cell) << "measuring draws nothing";
    canvas->DrawText("WW", measured, 0);
    pixels = PixelsOf(bitmap);
    EXPECT_GT(pixels.Count(Blue, textArea), 4) << "the letters";
    EXPECT_GT(pixels.Count(Green, textArea), 4) << "an opaque background in the brush colour";
    EXPECT_EQ(pixels.Count(Blue, textArea) + pixels.Count(Green, textArea), cell);

    // TextOut likewise.
    canvas->TextOut(35, 20, "W");
    pixels = PixelsOf(bitmap);
    const RECT outArea{35, 20, 35 + canvas->TextWidth("W"), 20 + canvas->TextHeight("W")};
    EXPECT_GT(pixels.Count(Blue, outArea), 2);
    EXPECT_GT(pixels.Count(Green, outArea), 2);
    bitmap->Free();
}

TEST_F(LayerTest, RegionSelectedIntoTheCanvasClipsAndFillRgnFillsIt)
{
    TWinBitmap *bitmap = NewBitmap(30, 30);
    TWinCanvas *canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(Red);
    canvas->Brush()->Handle();
    const TGdiCount before = LayerGdiCount();
    HRGN plot = NewRectRegion(10, 10, 20, 20);
    canvas->SelectRegion(plot);
    canvas->FillRect(RECT{0, 0, 30, 30});
    HRGN full = NewRectRegion(0, 0, 30, 30);
    canvas->SelectRegion(full);
    DeleteRegion(plot);
    TPixels pixels = PixelsOf(bitmap);
    EXPECT_EQ(pixels.Count(Red, RECT{0, 0, 30, 30}), 100) << "only the clip was filled";
    EXPECT_EQ(pixels.At(10, 10), Red);
    EXPECT_EQ(pixels.At(9, 9), Black);

    HRGN round = NewEllipticRegion(RECT{0, 0, 30, 30});
    TWinGraphicTool *green = NewBrush();
    green->SetColor(Green);
    canvas->FillRgn(round, green);
    pixels = PixelsOf(bitmap);
    EXPECT_EQ(pixels.At(15, 15), Green);
    EXPECT_EQ(pixels.At(0, 0), Black) << "the corner is outside the ellipse";
    DeleteRegion(round);
    DeleteRegion(full);
    green->Free();
    EXPECT_EQ(LayerGdiCount().Live(), before.Live()) << "regions and the brush were given back";
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

TEST_F(LayerTest, ReplacedContextGetsTheStockObjectsBackAndIsGivenUpByKind)
{
    TMemoryPicture first(10, 10, White);
    TMemoryPicture second(10, 10, White);
    TWinCanvas *canvas = NewCanvas(first.DC);
    canvas->Font();
    canvas->TextOut(0, 0, "x");
    canvas->Rectangle(0, 0, 5, 5);
    ASSERT_EQ(canvas->SelectedSet(), csPen | csBrush | csFont);
    canvas->SetHandle(second.DC);
    EXPECT_EQ(GetCurrentObject(first.DC, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(first.DC, OBJ_BRUSH), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetCurrentObject(first.DC, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(canvas->SelectedSet(), 0);
    EXPECT_EQ(GetObjectType(first.DC), DWORD(OBJ_MEMDC)) << "someone else's context is kept";
    canvas->Free();

    const TGdiCount before = LayerGdiCount();
    TWinCanvas *memory = NewMemoryCanvas();
    HDC own = memory->Handle();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(LayerGdiCount().Live(), before.Live() + 1);
    memory->Release();
    EXPECT_EQ(GetObjectType(own), 0u) << "a memory context of our own is deleted";
    EXPECT_EQ(LayerGdiCount().Live(), before.Live());
    memory->Free();
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
        {"blue background", true, 0xFF0000, Blue},
        {"system colour background", true, 0x8000000F, GetSysColor(COLOR_BTNFACE)},
    };
    for (const TCase &c : cases) {
        TWinBitmap *bitmap = NewBitmap(10, 6);
        if (c.SetBackground)
            bitmap->BkColor = c.Background;
        TWinCanvas *canvas = bitmap->Canvas();
        canvas->Brush()->SetColor(Red);
        canvas->FillRect(RECT{0, 0, 10, 6});

        bitmap->SetWidth(16);
        bitmap->SetHeight(9);
        ASSERT_EQ(bitmap->Width(), 16) << c.What;
        ASSERT_EQ(bitmap->Height(), 9) << c.What;
        TPixels pixels = PixelsOf(bitmap);
        EXPECT_EQ(pixels.Count(Red, RECT{0, 0, 10, 6}), 60) << c.What << ": the old picture";
        EXPECT_EQ(pixels.Count(c.Expected, RECT{10, 0, 16, 9}), 54) << c.What << ": new columns";
        EXPECT_EQ(pixels.Count(c.Expected, RECT{0, 6, 10, 9}), 30) << c.What << ": new rows";
        EXPECT_EQ(bitmap->Canvas(), canvas) << "the canvas stays, now on the new picture";
        canvas->Brush()->SetColor(Green);
        canvas->FillRect(RECT{15, 8, 16, 9});
        EXPECT_EQ(PixelsOf(bitmap).At(15, 8), Green) << c.What << ": the canvas draws on the new one";

        bitmap->SetWidth(4);
        pixels = PixelsOf(bitmap);
        EXPECT_EQ(pixels.Count(Red, RECT{0, 0, 4, 6}), 24) << c.What << ": shrinking keeps the corner";
        bitmap->Free();
    }
}

TEST_F(LayerTest, BitmapSizeSetToItsCurrentValueKeepsTheHandle)
{
    TWinBitmap *bitmap = NewBitmap(10, 10);
    HBITMAP handle = bitmap->Handle();
    const TGdiCount before = LayerGdiCount();
    bitmap->SetWidth(10);
    bitmap->SetHeight(10);
    bitmap->SetSize(10, 10);
    EXPECT_EQ(bitmap->Handle(), handle);
    EXPECT_EQ(LayerGdiCount().Made, before.Made);
    bitmap->Free();
}

TEST_F(LayerTest, EmptyBitmapHasNoCanvasAndDrawsNothing)
{
    TWinBitmap *bitmap = NewBitmap(0, 0);
    EXPECT_EQ(bitmap->Handle(), nullptr);
    EXPECT_EQ(bitmap->Canvas(), nullptr);
    TMemoryPicture picture(4, 4, White);
    bitmap->Draw(picture.DC, 0, 0);
    EXPECT_EQ(picture.Read().Count(White, RECT{0, 0, 4, 4}), 16);

    bitmap->SetWidth(5);
    EXPECT_EQ(bitmap->Canvas(), nullptr) << "still no height";
    bitmap->SetHeight(3);
    ASSERT_NE(bitmap->Canvas(), nullptr);
    bitmap->SetHeight(0);
    EXPECT_EQ(bitmap->Canvas(), nullptr) << "shrunk to nothing";
    bitmap->Free();
}

TEST_F(LayerTest, BitmapDrawCopiesThePictureToAWindow)
{
    TWinControl *form = layertest::MadeForm(nullptr, "draw");
    form->SetBounds(0, 0, 200, 150);
    form->SetVisible(true);
    UpdateWindow(form->Handle);
    TWinBitmap *bitmap = NewBitmap(20, 10);
    TWinCanvas *canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(Red);
    canvas->FillRect(RECT{0, 0, 20, 10});
    canvas->Brush()->SetColor(Blue);
    canvas->FillRect(RECT{0, 0, 5, 5});

    for (bool withCanvas : {true, false}) {
        HDC dc = GetDC(form->Handle);
        bitmap->Draw(dc, 7, 3);
        ReleaseDC(form->Handle, dc);
        const TPixels shown = layertest::WindowPixels(form->Handle, 40, 20);
        EXPECT_EQ(shown.At(7, 3), Blue) << "with canvas " << withCanvas;
        EXPECT_EQ(shown.At(26, 12), Red) << "with canvas " << withCanvas;
        EXPECT_NE(shown.At(27, 12), Red) << "the width ends there";
        EXPECT_NE(shown.At(6, 3), Blue) << "it starts at x";
        if (withCanvas) {
            // Copied once more from a bitmap with no canvas: a context of its own.
            TWinBitmap *copy = NewBitmap(20, 10);
            HDC copyDC = GetDC(nullptr);
            HDC memory = CreateCompatibleDC(copyDC);
            HGDIOBJ old = SelectObject(memory, copy->Handle());
            bitmap->Draw(memory, 0, 0);
            SelectObject(memory, old);
            DeleteDC(memory);
            ReleaseDC(nullptr, copyDC);
            bitmap->Free();
            bitmap = copy;
            RECT clear{0, 0, 40, 20};
            HDC windowDC = GetDC(form->Handle);
            FillRect(windowDC, &clear, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            ReleaseDC(form->Handle, windowDC);
        }
    }
    bitmap->Free();
    form->SetVisible(false);
    form->Free();
}

TEST_F(LayerTest, DeviceIndependentBitmapGrowsAndDrawsThroughItsBits)
{
    TWinBitmap *bitmap = NewDIBitmap(6, 4);
    ASSERT_EQ(bitmap->HandleType(), TBitmapHandleType::DIB);
    ASSERT_NE(bitmap->DIBHeader(), nullptr);
    ASSERT_NE(bitmap->DIBBits(), nullptr);
    bitmap->BkColor = 0x00FF00;
    TWinCanvas *canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(Red);
    canvas->FillRect(RECT{0, 0, 6, 4});
    bitmap->SetWidth(9);
    EXPECT_EQ(bitmap->HandleType(), TBitmapHandleType::DIB) << "a new width keeps the kind";
    EXPECT_EQ(bitmap->DIBHeader()->bmiHeader.biWidth, 9);

    TMemoryPicture picture(12, 6, White);
    bitmap->Draw(picture.DC, 1, 1);
    TPixels pixels = picture.Read();
    EXPECT_EQ(pixels.Count(Red, RECT{1, 1, 7, 5}), 24) << "the old picture";
    EXPECT_EQ(pixels.Count(RGB(0, 255, 0), RECT{7, 1, 10, 5}), 12) << "the new columns";
    EXPECT_EQ(pixels.At(10, 1), White);
    EXPECT_EQ(pixels.At(0, 0), White);

    bitmap->SetHeight(5);
    EXPECT_EQ(bitmap->HandleType(), TBitmapHandleType::DDB) << "a new height makes it device dependent";
    EXPECT_EQ(PixelsOf(bitmap).Count(Red, RECT{0, 0, 6, 4}), 24);
    bitmap->Free();
}

TEST_F(LayerTest, DeviceIndependentImageFailuresAreAssertionsWithTheirTexts)
{
    TWinBitmap *bitmap = NewDIBitmap(4, 4);
    TWinCanvas *canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(Red);
    canvas->FillRect(RECT{0, 0, 4, 4});

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 4;
    info.bmiHeader.biHeight = 4;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 16;
    info.bmiHeader.biCompression = BI_RLE8;
    std::string text;
    try {
        bitmap->LoadDIB(&info, nullptr);
    } catch (const EAssertionFailed &failure) {
        text = failure.what();
    }
    EXPECT_EQ(text, "Unsupported bitmap format");

    text.clear();
    try {
        bitmap->SetWidth(1 << 30); // far beyond any memory
    } catch (const EAssertionFailed &failure) {
        text = failure.what();
    }
    const std::string prefix = "Can not create DIB section, error: ";
    ASSERT_EQ(text.substr(0, prefix.size()), prefix) << text;
    const std::string rest = text.substr(prefix.size());
    const size_t comma = rest.find(", ");
    ASSERT_NE(comma, std::string::npos) << text;
    EXPECT_EQ(rest.substr(0, comma).find_first_not_of("0123456789"), std::string::npos)
        << "the error number in decimal: " << text;
    EXPECT_EQ(bitmap->Width(), 4) << "the old image stays";
    EXPECT_EQ(PixelsOf(bitmap).Count(Red, RECT{0, 0, 4, 4}), 16);
    bitmap->Free();
}

TEST_F(LayerTest, LoadedDeviceIndependentImageIsCopiedAndDrawn)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = -2; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const uint32_t bits[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
    TWinBitmap *bitmap = NewBitmap(0, 0);
    bitmap->LoadDIB(&info, bits);
    EXPECT_EQ(bitmap->Width(), 2);
    EXPECT_EQ(bitmap->Height(), 2);
    TMemoryPicture picture(2, 2, Black);
    bitmap->Draw(picture.DC, 0, 0);
    const TPixels pixels = picture.Read();
    EXPECT_EQ(pixels.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(pixels.At(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(pixels.At(0, 1), RGB(0, 0, 255));
    EXPECT_EQ(pixels.At(1, 1), White);
    bitmap->Free();
}

TEST_F(LayerTest, PointsToHeightUsesTheScreenPixelsPerInch)
{
    HDC screen = GetDC(nullptr);
    const int perInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (int points : {8, 9, 10, 20, 0})
        EXPECT_EQ(PointsToHeight(points), (points * perInch + 36) / -72) << points << " points";
}

TEST_F(LayerTest, IconObjectReadsItsSizeFromTheColourBitmap)
{
    struct TCase {
        int Width;
        int Height;
    };
    for (const TCase c : {TCase{24, 16}, TCase{32, 32}}) {
        HDC screen = GetDC(nullptr);
        HBITMAP color = CreateCompatibleBitmap(screen, c.Width, c.Height);
        ReleaseDC(nullptr, screen);
        HBITMAP mask = CreateBitmap(c.Width, c.Height, 1, 1, nullptr);
        ICONINFO info{};
        info.fIcon = TRUE;
        info.hbmColor = color;
        info.hbmMask = mask;
        HICON icon = CreateIconIndirect(&info);
        DeleteObject(color);
        DeleteObject(mask);
        ASSERT_NE(icon, nullptr);

        TWinIcon *object = NewIcon();
        EXPECT_EQ(object->Handle(), nullptr);
        object->SetHandle(icon, true);
        EXPECT_EQ(object->Handle(), icon);
        EXPECT_EQ(object->Width(), c.Width);
        EXPECT_EQ(object->Height(), c.Height);
        object->Free();
        EXPECT_FALSE(DestroyIcon(icon)) << "an owned icon is destroyed with the object";
    }
    HICON shared = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    TWinIcon *object = NewIcon();
    object->SetHandle(shared);
    EXPECT_GT(object->Width(), 0);
    object->Free();
    ICONINFO still{};
    EXPECT_TRUE(GetIconInfo(shared, &still)) << "a shared icon stays";
    DeleteObject(still.hbmColor);
    DeleteObject(still.hbmMask);
}
