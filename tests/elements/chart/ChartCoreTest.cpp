// The charts without a window: the grapher's drawing steps, the plotter's
// scale bounds and drawing steps, and the histogram series element, all drawn
// on a canvas that records what it was asked to draw.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "elements/chart/TGrapherCore.h"
#include "elements/chart/THistogramSeries.h"
#include "elements/chart/TQorPlotForecast.h"
#include "elements/chart/TQorPlotHistogram.h"
#include "elements/chart/TRecordingPlotter.h"
#include "runtime/RuntimeTestKit.h"
#include "winlayer/WinMemoryStream.h"

using namespace testkit;

namespace {

struct Line {
    int32_t X1, Y1, X2, Y2;
    uint32_t PenColor;
    uint8_t PenStyle;
};

struct Rect {
    TChartRect R;
    uint32_t PenColor;
    uint32_t BrushColor; // ~0 for a clear brush
    TChartRect Clip;     // empty when not clipped
};

struct Text {
    int32_t X, Y; // top-left corner where it was drawn
    std::string Value;
};

// Measured texts are 6 pixels per character wide and 13 high.
class TRecordingCanvas : public TChartCanvas {
public:
    std::vector<Line> Lines;
    std::vector<Rect> Rects;
    std::vector<Text> Texts;

    uint32_t BrushColor = 0;
    uint8_t BrushStyle = cbsSolid;
    uint32_t PenColor = 0;
    uint8_t PenStyle = cpsSolid;
    TChartRect Clip;
    int32_t PenX = 0, PenY = 0;

    void SetBrushColor(uint32_t Color) override { BrushColor = Color; }
    void SetBrushStyle(uint8_t Style) override { BrushStyle = Style; }
    void SetPenColor(uint32_t Color) override { PenColor = Color; }
    void SetPenStyle(uint8_t Style) override { PenStyle = Style; }
    void SetPenWidth(int32_t) override {}
    void SetFontHeight(int32_t) override {}
    void SetFontColor(uint32_t) override {}

    void FillRect(const TChartRect &) override {}
    void MoveTo(int32_t X, int32_t Y) override { std::tie(PenX, PenY) = std::tie(X, Y); }
    void LineTo(int32_t X, int32_t Y) override
    {
        Lines.push_back({PenX, PenY, X, Y, PenColor, PenStyle});
        MoveTo(X, Y);
    }
    void Rectangle(int32_t L, int32_t T, int32_t R, int32_t B) override
    {
        Rects.push_back({{L, T, R, B}, PenColor, BrushStyle == cbsClear ? ~0u : BrushColor, Clip});
    }
    void TextOut(int32_t X, int32_t Y, const std::string &S) override { Texts.push_back({X, Y, S}); }
    void DrawText(const std::string &S, TChartRect &R, uint32_t Format) override
    {
        if (Format != cdtCalcRect)
            return TextOut(R.Left, R.Top, S);
        R.Right = R.Left + 6 * static_cast<int32_t>(S.size());
        R.Bottom = R.Top + 13;
    }
    void ClipTo(const TChartRect &R) override { Clip = R; }
    void RestoreClip() override { Clip = {}; }

    // Lines of one pen colour: vertical ones by X, horizontal ones by Y.
    std::vector<int32_t> GridLines(uint32_t Color, bool Vertical) const
    {
        std::vector<int32_t> out;
        for (const Line &l : Lines)
            if (l.PenColor == Color && (Vertical ? l.X1 == l.X2 && l.Y1 != l.Y2 : l.Y1 == l.Y2 && l.X1 != l.X2))
                out.push_back(Vertical ? l.X1 : l.Y1);
        return out;
    }
    std::vector<std::string> TextValues() const
    {
        std::vector<std::string> out;
        for (const Text &t : Texts)
            out.push_back(t.Value);
        return out;
    }
};

// One coordinate of every item, oldest first: Column(Values, &TChartItem::X).
std::vector<double> Column(const std::vector<TChartItem> &Items, double TChartItem::*Field)
{
    std::vector<double> out;
    for (const TChartItem &item : Items)
        out.push_back(item.*Field);
    return out;
}

constexpr uint32_t Back = 0xFF00000F; // button face
constexpr uint32_t Grey = 0xC0C0C0;
constexpr uint32_t Blue = 0xFF0000;
constexpr uint32_t Red = 0x0000FF;

// The 30-day graph as the main scheme sets it up (but for the text colour and
// line width, which the canvas does not record), holding Values.
void ConfigureAsMonthGraph(TGrapherCore &Graph, const std::vector<double> &Values = {})
{
    Graph.SetGrid(6);
    Graph.GridColor = Grey;
    Graph.AxisColor = Blue;
    Graph.Step = 1.0;
    Graph.MaxValue = 6.0;
    Graph.LineColor = Red;
    for (double v : Values)
        Graph.Add(v);
}

using Points = std::vector<std::pair<int32_t, int32_t>>;

// The graph's line as points, the first move included.
Points LinePoints(const TRecordingCanvas &Canvas)
{
    Points out;
    for (const Line &l : Canvas.Lines) {
        if (l.PenColor != Red)
            continue;
        if (out.empty())
            out.push_back({l.X1, l.Y1});
        out.push_back({l.X2, l.Y2});
    }
    return out;
}

// A bar element as the day feed makes one, attached to Plot, holding Items.
struct Bars : TQorPlotHistogram {
    Bars(TPlotterCore &Plot, uint32_t Fill, std::vector<TChartItem> Items = {})
    {
        FillColor = Fill;
        Color = 0x808080;
        HalfWidth = 1;
        MaxCount = 9;
        Step = 2.0;
        StartX = Items.empty() ? 2.0 : Items[0].X;
        AttachTo(&Plot);
        for (const TChartItem &item : Items)
            Series->Add(item.X, item.Y);
    }
};

} // namespace

TEST(GrapherCoreDraw, ThirtyDayGraphGridLabelsAndLine)
{
    TGrapherCore g;
    ConfigureAsMonthGraph(g);
    for (int i = 0; i < 240; ++i)
        g.Add(i % 7); // 0..6

    TRecordingCanvas c;
    g.Draw(c, 335, 105, {0, 0, 333, 103}, Back);
    ASSERT_GE(c.Rects.size(), 1u);
    EXPECT_EQ(std::make_tuple(c.Rects[0].R, c.Rects[0].PenColor, c.Rects[0].BrushColor),
              std::make_tuple(TChartRect{0, 0, 335, 105}, Blue, Back)) << "the frame, filled with the background";
    EXPECT_EQ(c.GridLines(Grey, true), (std::vector<int32_t>{56, 112, 168, 223, 279, 335}));
    EXPECT_EQ(c.GridLines(Grey, false), (std::vector<int32_t>{88, 70, 52, 35, 18, 0})) << "none on the bottom edge";

    // X labels hang under the plot (at 106, below this bitmap); Y labels at x 2.
    EXPECT_EQ(std::make_pair(c.Texts[1].X, c.Texts[1].Y), std::make_pair(54, 106)) << "39.83";
    EXPECT_EQ(std::make_pair(c.Texts[8].X, c.Texts[8].Y), std::make_pair(2, 84)) << "1";
    EXPECT_EQ(c.TextValues(), (std::vector<std::string>{"0", "39.83", "79.67", "119.5", "159.33", "199.17", "239",
                                                        "0", "1", "2", "3", "4", "5", "6"}));
    const Points points = LinePoints(c);
    ASSERT_EQ(points.size(), 240u) << "a move to the first value and 239 lines";
    EXPECT_EQ(points[0], std::make_pair(0, 105)) << "value 0 at X 0";
    EXPECT_EQ(points[3], std::make_pair(4, 52)) << "value 3 at X 3: 4.2, 105 - 52.5";
    EXPECT_EQ(points[6], std::make_pair(8, 0)) << "value 6 at X 6: 8.41, the top";
    EXPECT_EQ(points[239], std::make_pair(335, 88)) << "value 239 % 7 = 1 at the right edge: 105 - 17.5";
}

TEST(GrapherCoreDraw, EdgeCasesOfTheValuesAndNarrowPlotsWithoutLabels)
{
    const std::vector<std::string> zeros(7, "0"), thirds{"0", "0.33", "0.67", "1", "1.33", "1.67", "2"};
    const std::vector<std::string> fixedY{"0", "1", "2", "3", "4", "5", "6"};
    const std::vector<std::string> sixths{"0", "0.17", "0.33", "0.5", "0.67", "0.83", "1"};
    struct Case {
        const char *What;
        std::vector<double> Values;
        Points Line;
        std::vector<std::string> XLabels, YLabels;
        int32_t Width = 335, Height = 105;
    } cases[] = {
        {"no values: every label 0 even with MaxValue 6", {}, {}, zeros, zeros},
        {"one value: no line, every X label reads X0", {3}, {}, zeros, fixedY},
        {"above and below the fixed scale: drawn beyond the plot area", {9, -1, 3},
         {{0, -52}, {168, 122}, {335, 52}}, thirds, fixedY},
        {"10 and 12 pixels per step: no labels", {1, 2}, {{0, 60}, {60, 48}}, {}, {}, 60, 72},
        {"10.17 and 12.17 pixels per step: labels", {1, 2}, {{0, 61}, {61, 49}}, sixths, fixedY, 61, 73},
    };
    for (const Case &cs : cases) {
        TGrapherCore g;
        ConfigureAsMonthGraph(g, cs.Values);
        TRecordingCanvas c;
        g.Draw(c, cs.Width, cs.Height, {0, 0, cs.Width, cs.Height}, Back);
        EXPECT_EQ(LinePoints(c), cs.Line) << cs.What;
        std::vector<std::string> labels = cs.XLabels;
        labels.insert(labels.end(), cs.YLabels.begin(), cs.YLabels.end());
        EXPECT_EQ(c.TextValues(), labels) << cs.What;
        EXPECT_EQ(c.GridLines(Grey, true).size(), 6u) << cs.What;
    }
}

TEST(PlotterCoreDraw, DailyHistogramDottedGridLabelsClippedBarsAndFrame)
{
    TRecordingPlotter p;
    p.SetGrid(8);
    p.GridColor = Grey;
    p.AxisColor = Blue;
    p.MaxY = 8.0;
    Bars red(p, 0x0000FF, {{2, 0}, {4, 0}, {6, 0}, {8, 5}, {10, 0}, {12, 0}, {14, 0}});
    Bars yellow(p, 0x00FFFF, {{2, 0}, {4, 4}, {6, 0}, {8, 0}, {10, 0}, {12, 0}, {14, 0}});
    Bars green(p, 0x008000, {{2, 1}, {4, 0}, {6, 2}, {8, 0}, {10, 3}, {12, 0}, {14, 0}});

    TRecordingCanvas c;
    p.Draw(c, 336, 82, Back);
    EXPECT_EQ(c.GridLines(Grey, true), (std::vector<int32_t>{42, 84, 126, 168, 210, 252, 294, 336}));
    EXPECT_EQ(c.GridLines(Grey, false), (std::vector<int32_t>{72, 62, 51, 41, 31, 20, 10, 0}))
        << "no grid line on the bottom edge (82)";
    for (const Line &l : c.Lines)
        EXPECT_EQ(l.PenStyle, cpsDot) << "the grid is dotted";

    // 10.25 pixels per Y step: no Y labels. X labels hang under the bitmap from 2 in steps of 12 / 8.
    EXPECT_EQ(c.TextValues(), (std::vector<std::string>{"2", "3.5", "5", "6.5", "8", "9.5", "11", "12.5", "14"}));
    EXPECT_EQ(std::make_pair(c.Texts[0].X, c.Texts[0].Y), std::make_pair(-2, 83));

    // Bars red, yellow, green in the order attached, each clipped to the plot,
    // where BarRect puts them; then the unclipped frame.
    ASSERT_EQ(c.Rects.size(), 22u);
    const uint32_t fills[] = {0x0000FF, 0x00FFFF, 0x008000};
    for (size_t i = 0; i < 21; ++i) {
        const Rect &r = c.Rects[i];
        EXPECT_EQ(r.Clip, (TChartRect{0, 0, 336, 82})) << "bar " << i;
        EXPECT_EQ(r.PenColor, 0x808080u) << "bar " << i;
        EXPECT_EQ(r.BrushColor, fills[i / 7]) << "bar " << i;
    }
    EXPECT_EQ(c.Rects[8].R, (TChartRect{28, 41, 84, 82})) << "yellow 4 at X 4";
    const Rect &f = c.Rects[21]; // unclipped, with a clear brush
    EXPECT_EQ(std::make_tuple(f.R, f.PenColor, f.BrushColor, f.Clip),
              std::make_tuple(TChartRect{0, 0, 336, 82}, Blue, ~0u, TChartRect{}));
}

TEST(PlotterCoreDraw, EdgeCasesOfTheScaleAndNarrowPlotsWithoutLabels)
{
    const std::vector<std::string> quarters{"0", "0.25", "0.5", "0.75", "1"};
    struct Case {
        const char *What;
        bool Attach;
        std::vector<TChartItem> Items;
        double MaxY;
        int32_t Width, Height;
        std::vector<std::string> XLabels, YLabels;
    } cases[] = {
        {"no series: 0 to 1 on both axes even with MaxY set", false, {}, 8.0, 240, 120, quarters, quarters},
        {"empty series with MaxY 8", true, {}, 8.0, 240, 120, quarters, {"0", "2", "4", "6", "8"}},
        {"all equal: range 1 from the value", true, {{3, 5}, {3, 5}}, 0.0, 240, 120,
         {"3", "3.25", "3.5", "3.75", "4"}, {"5", "5.25", "5.5", "5.75", "6"}},
        {"10 and 12 pixels per step: no labels", true, {}, 8.0, 80, 88, {}, {}},
        {"10.25 per X step: X labels only", true, {}, 8.0, 81, 88, {"0", "0.25", "0.5", "0.75", "1"}, {}},
        {"12.25 per Y step: Y labels only", true, {}, 8.0, 80, 89, {}, {"0", "2", "4", "6", "8"}},
    };
    for (const Case &cs : cases) {
        TRecordingPlotter p;
        p.SetGrid(4);
        p.MarginLeft = 40;
        p.MarginBottom = 40;
        p.MaxY = cs.MaxY;
        TQorPlotHistogram element;
        element.StartX = cs.Items.empty() ? 0.0 : cs.Items[0].X;
        if (cs.Attach)
            element.AttachTo(&p);
        for (const TChartItem &item : cs.Items)
            element.Series->Add(item.X, item.Y);
        TRecordingCanvas c;
        p.Draw(c, cs.Width, cs.Height, Back);
        std::vector<std::string> labels = cs.XLabels;
        labels.insert(labels.end(), cs.YLabels.begin(), cs.YLabels.end());
        EXPECT_EQ(c.TextValues(), labels) << cs.What;
    }
}

TEST(PlotHistogram, StepTwoFromStartXTwoAndTheTenthBarDropsTheFirst)
{
    Running on;
    TRecordingPlotter plotter;
    Bars bars(plotter, 0x0000FF);
    Source height;
    LinkData(bars.ValueY, &height, &Source::Value, 0);
    for (int i = 1; i <= 11; ++i) {
        height.Answer = IntData(i);
        TData d;
        bars.doAdd(d, 0);
    }
    EXPECT_EQ(Column(bars.Series->Values, &TChartItem::X), (std::vector<double>{6, 8, 10, 12, 14, 16, 18, 20, 22}))
        << "from StartX 2 in steps of 2, the two oldest dropped";
    EXPECT_EQ(Column(bars.Series->Values, &TChartItem::Y), (std::vector<double>{3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

// Alone on the plot, the day's bars span X 2 to 16 as the observed ones do; only
// the intervals with a forecast are drawn, outlined in their level's colour and
// filled with its tint; a new day takes the place of the last.
TEST(PlotForecast, DrawsTheDaysForecastAsOutlinedPaleBarsWhereTheObservedOnesWouldStand)
{
    Running on;
    TRecordingPlotter p;
    p.MaxY = 8.0;
    TQorPlotForecast forecast;
    forecast.LowColor = 0x008000;
    forecast.MiddleColor = 0x00FFFF;
    forecast.HighColor = 0x0000FF;
    forecast.HalfWidth = 1;
    forecast.Step = 2.0;
    forecast.StartX = 2.0;
    forecast.AttachTo(&p);
    for (const char *day : {"--------", "----3469"}) {
        TData d = StrData(day);
        forecast.doDay(d, 0);
    }
    EXPECT_EQ(Column(forecast.Series->Values, &TChartItem::X), (std::vector<double>{2, 4, 6, 8, 10, 12, 14, 16}));
    EXPECT_EQ(p.Repaints, 2);
    TRecordingCanvas c;
    p.Draw(c, 336, 82, Back);
    ASSERT_EQ(c.Rects.size(), 5u) << "four bars and the frame";
    const struct {
        TChartRect R;
        uint32_t Pen, Brush;
    } bars[] = {{{168, 51, 216, 82}, 0x008000, 0xBFDFBF}, {{216, 41, 264, 82}, 0x00FFFF, 0xBFFFFF},
                {{264, 20, 312, 82}, 0x0000FF, 0xBFBFFF}, {{312, -10, 360, 82}, 0x0000FF, 0xBFBFFF}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(c.Rects[i].R, bars[i].R) << "bar " << i;
        EXPECT_EQ(c.Rects[i].PenColor, bars[i].Pen) << "bar " << i;
        EXPECT_EQ(c.Rects[i].BrushColor, bars[i].Brush) << "bar " << i;
    }
}

TEST(PlotHistogram, AnElementOutlivingItsPlotterTakesValuesAndFreesItsSeries)
{
    // The series lose their plotter, a new bar repaints nothing, and the element
    // frees its series. (The element going first, its series taken out through
    // the plotter, is the day feed's test: its bars go before DayPlot.)
    auto *plotter = new TRecordingPlotter;
    auto *bars = new Bars(*plotter, 0);
    delete plotter;
    EXPECT_EQ(bars->Series->Plotter, nullptr);
    Running on;
    TData d = RealData(1.0);
    bars->doAdd(d, 0);
    EXPECT_EQ(bars->Series->Count(), 1);
    delete bars; // ASan reports a use after free, a double free or a leak if either is wrong
}

TEST(GrapherCore, StreamGivesLittleEndianSignedPairsAndALoneLastByteAsLowByte)
{
    auto *stream = winlayer::NewObject<winlayer::TWinMemoryStream>();
    const uint8_t bytes[] = {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0xFE};
    stream->Write(bytes, sizeof bytes); // read from its start wherever it stands
    TGrapherCore g;
    g.Step = 1.0;
    g.AddStream(stream);
    EXPECT_EQ(Column(g.Values, &TChartItem::Y), (std::vector<double>{1, -1, -32768, 254}));
    stream->Free();
}
TEST(PlotterCore, SeriesListTakesASeriesOnceAndFreesItOnRemove)
{
    TRecordingPlotter p;
    auto *a = new THistogramSeries;
    auto *b = new THistogramSeries;
    for (TSeries *series : {a, b, a})
        p.AddSeries(series);
    ASSERT_EQ(p.SeriesCount(), 2) << "a series is listed once";
    p.RemoveSeries(a); // freed: ASan reports a leak otherwise
    EXPECT_EQ(p.SeriesAt(0), b);
    p.RemoveSeries(b);
    EXPECT_EQ(p.SeriesCount(), 0);
}
TEST(PlotterCoreMouse, PanZoomBoxAndWheelLeaveTheYScaleAloneWithoutPlotHeight)
{
    const std::pair<const char *, void (*)(TRecordingPlotter &)> operations[] = {
        {"pan", [](TRecordingPlotter &p) { p.Pan(70, 50, 336, 82); }},
        {"zoom box", [](TRecordingPlotter &p) { p.ZoomToBox(336, 82); }},
        {"wheel", [](TRecordingPlotter &p) { p.WheelZoom(120 << 16, 336, 82); }}};
    for (const auto &[name, operation] : operations) {
        TRecordingPlotter p;
        p.MaxY = 8.0;
        p.MinX = 2.0;
        p.MaxX = 14.0;
        p.MarginTop = p.MarginBottom = 41;
        p.DownX = 42;
        p.LastX = 84;
        p.LastY = 41;
        operation(p);
        EXPECT_EQ(std::make_pair(p.MinY, p.MaxY), std::make_pair(0.0, 8.0)) << name;
        EXPECT_NE(std::make_pair(p.MinX, p.MaxX), std::make_pair(2.0, 14.0)) << name << " still moves X";
    }
}
