// The grapher's value buffer, stream input and drawing steps, recorded on a
// canvas without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChartTestKit.h"
#include "elements/chart/TGrapherCore.h"
#include "winlayer/WinMemoryStream.h"

using charttest::TRecordingCanvas;

namespace {

constexpr uint32_t Back = 0xFF00000F; // button face
constexpr uint32_t Grey = 0xC0C0C0;
constexpr uint32_t Blue = 0xFF0000;
constexpr uint32_t Red = 0x0000FF;

// The 30-day graph as the main scheme sets it up.
void ConfigureAsMonthGraph(TGrapherCore &Graph)
{
    Graph.SetGrid(6);
    Graph.GridColor = Grey;
    Graph.AxisColor = Blue;
    Graph.TextColor = Blue;
    Graph.Step = 1.0;
    Graph.MinValue = 0.0;
    Graph.MaxValue = 6.0;
    Graph.MaxCount = 0;
    Graph.LineWidth = 1;
    Graph.LineColor = Red;
}

std::vector<double> Xs(const TGrapherCore &Graph)
{
    std::vector<double> out;
    for (const TChartItem &item : Graph.Values)
        out.push_back(item.X);
    return out;
}

std::vector<double> Ys(const TGrapherCore &Graph)
{
    std::vector<double> out;
    for (const TChartItem &item : Graph.Values)
        out.push_back(item.Y);
    return out;
}

struct Label {
    int32_t X, Y;
    std::string Text;
    bool operator==(const Label &o) const { return X == o.X && Y == o.Y && Text == o.Text; }
};

std::ostream &operator<<(std::ostream &os, const Label &l)
{
    return os << "(" << l.X << ", " << l.Y << ") \"" << l.Text << "\"";
}

std::vector<Label> Labels(const TRecordingCanvas &Canvas)
{
    std::vector<Label> out;
    for (const charttest::Text &t : Canvas.Texts)
        out.push_back({t.X, t.Y, t.Value});
    return out;
}

// The line of the graph: its pen's segments as points, the first move included.
std::vector<std::pair<int32_t, int32_t>> LinePoints(const TRecordingCanvas &Canvas)
{
    std::vector<std::pair<int32_t, int32_t>> out;
    for (const charttest::Line &l : Canvas.Lines) {
        if (l.PenColor != Red)
            continue;
        if (out.empty())
            out.push_back({l.X1, l.Y1});
        out.push_back({l.X2, l.Y2});
    }
    return out;
}

} // namespace

TEST(GrapherCore, GridSetterKeepsAtLeastOne)
{
    TGrapherCore g;
    for (int32_t v : {6, 1, 0, -3}) {
        g.SetGrid(v);
        EXPECT_EQ(g.Grid, v < 1 ? 1 : v) << "SetGrid(" << v << ")";
    }
}

TEST(GrapherCore, AddStepsXAndMaxCountDropsTheOldestWhileXGoesOn)
{
    TGrapherCore unlimited;
    unlimited.Step = 1.0;
    for (int v : {3, 1, 4, 1, 5})
        unlimited.Add(v);
    EXPECT_EQ(Xs(unlimited), (std::vector<double>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Ys(unlimited), (std::vector<double>{3, 1, 4, 1, 5}));

    TGrapherCore bounded;
    bounded.Step = 0.5;
    bounded.MaxCount = 3;
    for (int v : {3, 1, 4, 1, 5})
        bounded.Add(v);
    EXPECT_EQ(Xs(bounded), (std::vector<double>{1.0, 1.5, 2.0}));
    EXPECT_EQ(Ys(bounded), (std::vector<double>{4, 1, 5}));

    bounded.Clear();
    bounded.Add(7);
    EXPECT_EQ(Xs(bounded), (std::vector<double>{0.0})) << "after Clear the next value is the first again";
}

TEST(GrapherCore, StreamGivesLittleEndianSignedPairsAndALoneLastByteAsLowByte)
{
    struct Case {
        const char *What;
        std::vector<uint8_t> Bytes;
        std::vector<double> Values;
    } cases[] = {
        {"empty", {}, {}},
        {"pairs", {0x01, 0x00, 0xFF, 0xFF, 0x34, 0x12, 0x00, 0x80}, {1, -1, 0x1234, -32768}},
        {"odd length", {0x05, 0x00, 0xFE}, {5, 254}},
        {"one byte", {0x80}, {128}},
    };
    for (const Case &c : cases) {
        auto *stream = winlayer::NewObject<winlayer::TWinMemoryStream>();
        if (!c.Bytes.empty())
            stream->Write(c.Bytes.data(), c.Bytes.size());
        // The stream is read from its start wherever its position was.
        TGrapherCore g;
        g.Step = 1.0;
        g.AddStream(stream);
        EXPECT_EQ(Ys(g), c.Values) << c.What;
        stream->Free();
    }
}

TEST(GrapherCoreDraw, ThirtyDayGraphGridLabelsAndLine)
{
    TGrapherCore g;
    ConfigureAsMonthGraph(g);
    for (int i = 0; i < 240; ++i)
        g.Add(i % 7); // 0..6

    TRecordingCanvas c;
    g.Draw(c, 335, 105, {0, 0, 333, 103}, Back);

    ASSERT_EQ(c.Fills.size(), 1u);
    EXPECT_EQ(c.Fills[0], (TChartRect{0, 0, 333, 103})) << "the client rectangle is filled";
    ASSERT_GE(c.Rects.size(), 1u);
    EXPECT_EQ(c.Rects[0].R, (TChartRect{0, 0, 335, 105})) << "frame";
    EXPECT_EQ(c.Rects[0].PenColor, Blue);
    EXPECT_EQ(c.Rects[0].BrushColor, Back) << "filled with the background";

    EXPECT_EQ(c.VerticalLines(Grey), (std::vector<int32_t>{56, 112, 168, 223, 279, 335}));
    EXPECT_EQ(c.HorizontalLines(Grey), (std::vector<int32_t>{88, 70, 52, 35, 18, 0}));

    // X labels hang under the plot (at 106, below this bitmap); Y labels at x 2.
    EXPECT_EQ(Labels(c), (std::vector<Label>{
                             {-2, 106, "0"},
                             {54, 106, "39.83"},
                             {110, 106, "79.67"},
                             {166, 106, "119.5"},
                             {221, 106, "159.33"},
                             {277, 106, "199.17"},
                             {333, 106, "239"},
                             {2, 101, "0"},
                             {2, 84, "1"},
                             {2, 66, "2"},
                             {2, 48, "3"},
                             {2, 31, "4"},
                             {2, 14, "5"},
                             {2, -4, "6"},
                         }));
    for (const charttest::Text &t : c.Texts) {
        EXPECT_EQ(t.FontColor, Blue);
        EXPECT_EQ(t.FontHeight, 8);
        EXPECT_EQ(t.BrushColor, Back) << "opaque background in the brush colour";
    }

    const auto points = LinePoints(c);
    ASSERT_EQ(points.size(), 240u) << "a move to the first value and 239 lines";
    EXPECT_EQ(points[0], std::make_pair(0, 105)) << "value 0 at X 0";
    EXPECT_EQ(points[3], std::make_pair(4, 52)) << "value 3 at X 3: 4.2, 105 - 52.5";
    EXPECT_EQ(points[6], std::make_pair(8, 0)) << "value 6 at X 6: 8.41, the top";
    EXPECT_EQ(points[239], std::make_pair(335, 88)) << "value 239 % 7 = 1 at the right edge: 105 - 17.5";
    EXPECT_EQ(c.Lines.back().PenWidth, 1);
    EXPECT_EQ(c.Lines.back().PenStyle, cpsSolid);
}

TEST(GrapherCoreDraw, NoValuesDrawsFrameAndGridWithEveryLabelZero)
{
    TGrapherCore g;
    ConfigureAsMonthGraph(g);
    TRecordingCanvas c;
    g.Draw(c, 335, 105, {0, 0, 335, 105}, Back);

    EXPECT_EQ(c.Rects.size(), 1u);
    EXPECT_EQ(c.VerticalLines(Grey).size(), 6u);
    EXPECT_EQ(c.HorizontalLines(Grey).size(), 6u);
    EXPECT_EQ(c.TextValues(), std::vector<std::string>(14, "0")) << "both bounds 0 even with MaxValue 6";
    EXPECT_TRUE(LinePoints(c).empty());
}

TEST(GrapherCoreDraw, OneValueOnlyMovesThePenAndEveryXLabelReadsX0)
{
    TGrapherCore g;
    ConfigureAsMonthGraph(g);
    g.Add(3);

    TRecordingCanvas c;
    g.Draw(c, 335, 105, {0, 0, 335, 105}, Back);
    EXPECT_TRUE(LinePoints(c).empty()) << "no line is drawn";
    EXPECT_EQ(c.Log.back(), "move") << "the pen only moves to the point";
    EXPECT_EQ(c.PenX, 0);
    EXPECT_EQ(c.PenY, 52);
    const std::vector<std::string> texts = c.TextValues();
    ASSERT_EQ(texts.size(), 14u);
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 7), std::vector<std::string>(7, "0"));
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 7, texts.end()),
              (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6"}))
        << "the fixed scale still labels the Y axis";
}

TEST(GrapherCore, MaxCountOneKeepsItsOnlyValueAtXZero)
{
    TGrapherCore g;
    ConfigureAsMonthGraph(g);
    g.MaxCount = 1;
    g.Add(1);
    g.Add(5);
    EXPECT_EQ(Xs(g), (std::vector<double>{0.0}));
    EXPECT_EQ(Ys(g), (std::vector<double>{5.0}));
}

TEST(GrapherCoreDraw, ValuesOffTheScaleAndEqualValuesWithoutOne)
{
    struct Case {
        const char *What;
        double MaxValue;
        std::vector<double> Values;
        std::vector<std::pair<int32_t, int32_t>> Points;
    } cases[] = {
        {"above and below the fixed scale: drawn beyond the plot area", 6.0, {9, -1, 3},
         {{0, -52}, {168, 122}, {335, 52}}},
        {"all equal, automatic: on the bottom edge", 0.0, {4, 4, 4}, {{0, 105}, {168, 105}, {335, 105}}},
        {"negative, automatic", 0.0, {-2, 3, -1}, {{0, 105}, {168, 0}, {335, 84}}},
    };
    for (const Case &cs : cases) {
        TGrapherCore g;
        ConfigureAsMonthGraph(g);
        g.MaxValue = cs.MaxValue;
        for (double v : cs.Values)
            g.Add(v);
        TRecordingCanvas c;
        g.Draw(c, 335, 105, {0, 0, 335, 105}, Back);
        EXPECT_EQ(LinePoints(c), cs.Points) << cs.What;
    }
}

TEST(GrapherCoreDraw, NarrowPlotsHaveNoLabelsAndMarginsMoveEverything)
{
    TGrapherCore g;
    ConfigureAsMonthGraph(g);
    g.Add(1);
    g.Add(2);

    TRecordingCanvas narrow;
    g.Draw(narrow, 60, 72, {0, 0, 60, 72}, Back); // 10 and 12 pixels per step: not enough
    EXPECT_TRUE(narrow.Texts.empty());
    EXPECT_EQ(narrow.VerticalLines(Grey).size(), 6u);

    TRecordingCanvas justWide;
    g.Draw(justWide, 61, 73, {0, 0, 61, 73}, Back);
    EXPECT_EQ(justWide.Texts.size(), 14u) << "10.17 and 12.17 pixels per step get labels";

    g.MarginLeft = 20;
    g.MarginRight = 5;
    g.MarginTop = 4;
    g.MarginBottom = 16;
    TRecordingCanvas m;
    g.Draw(m, 335, 140, {0, 0, 335, 140}, Back);
    EXPECT_EQ(m.Rects[0].R, (TChartRect{20, 4, 330, 124}));
    // W 310, sx 51.67: columns from 20 up to 336 exclusive.
    EXPECT_EQ(m.VerticalLines(Grey), (std::vector<int32_t>{72, 123, 175, 227, 278, 330}));
    // H 120, sy 20: rows from 124 up, the one at 4 included.
    EXPECT_EQ(m.HorizontalLines(Grey), (std::vector<int32_t>{104, 84, 64, 44, 24, 4}));
    EXPECT_EQ(m.Texts[0].X, 18);
    EXPECT_EQ(m.Texts[0].Y, 125);
    EXPECT_EQ(m.Texts[7].X, 2);
    EXPECT_EQ(m.Texts[7].Y, 120);
    const auto points = LinePoints(m);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0], std::make_pair(20, 104)) << "value 1 on 0..6 in 120 + 4";
    EXPECT_EQ(points[1], std::make_pair(330, 84));
}
