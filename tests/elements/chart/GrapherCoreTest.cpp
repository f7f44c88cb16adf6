// The grapher's value buffer, stream input and drawing steps, recorded on a
// canvas without a window.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ChartTestKit.h"
#include "elements/chart/TGrapherCore.h"
#include "winlayer/WinMemoryStream.h"

using namespace charttest;

namespace {

constexpr uint32_t Back = 0xFF00000F; // button face
constexpr uint32_t Grey = 0xC0C0C0;
constexpr uint32_t Blue = 0xFF0000;
constexpr uint32_t Red = 0x0000FF;
using Points = std::vector<std::pair<int32_t, int32_t>>;

// The 30-day graph as the main scheme sets it up, holding Values.
void ConfigureAsMonthGraph(TGrapherCore &Graph, const std::vector<double> &Values = {})
{
    Graph.SetGrid(6);
    Graph.GridColor = Grey;
    Graph.AxisColor = Blue;
    Graph.TextColor = Blue;
    Graph.Step = 1.0;
    Graph.MaxValue = 6.0;
    Graph.LineWidth = 1;
    Graph.LineColor = Red;
    for (double v : Values)
        Graph.Add(v);
}

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

} // namespace

TEST(GrapherCore, AddStepsXAndMaxCountDropsTheOldestBeforeAdding)
{
    struct Case {
        double Step;
        int32_t MaxCount;
        std::vector<double> Xs, Ys;
    } cases[] = {
        {1.0, 0, {0, 1, 2, 3, 4}, {3, 1, 4, 1, 5}},
        {0.5, 3, {1.0, 1.5, 2.0}, {4, 1, 5}}, // X goes on past the dropped values
        {1.0, 1, {0.0}, {5}},                 // the only value dropped first: the next is X 0 again
    };
    for (const Case &c : cases) {
        TGrapherCore g;
        g.Step = c.Step;
        g.MaxCount = c.MaxCount;
        for (int v : {3, 1, 4, 1, 5})
            g.Add(v);
        EXPECT_EQ(Column(g.Values, &TChartItem::X), c.Xs) << "MaxCount " << c.MaxCount;
        EXPECT_EQ(Column(g.Values, &TChartItem::Y), c.Ys) << "MaxCount " << c.MaxCount;
        g.Clear();
        g.Add(7);
        EXPECT_EQ(g.Values.front().X, 0.0) << "after Clear the next value is the first again";
    }
}

TEST(GrapherCore, StreamGivesLittleEndianSignedPairsAndALoneLastByteAsLowByte)
{
    struct Case {
        std::vector<uint8_t> Bytes;
        std::vector<double> Values;
    } cases[] = {
        {{}, {}},
        {{0x01, 0x00, 0xFF, 0xFF, 0x34, 0x12, 0x00, 0x80}, {1, -1, 0x1234, -32768}},
        {{0x05, 0x00, 0xFE}, {5, 254}},
    };
    for (const Case &c : cases) {
        auto *stream = winlayer::NewObject<winlayer::TWinMemoryStream>();
        if (!c.Bytes.empty())
            stream->Write(c.Bytes.data(), c.Bytes.size()); // read from its start wherever it stands
        TGrapherCore g;
        g.Step = 1.0;
        g.AddStream(stream);
        EXPECT_EQ(Column(g.Values, &TChartItem::Y), c.Values) << c.Bytes.size() << " bytes";
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
    EXPECT_EQ(c.Fills, std::vector<TChartRect>{(TChartRect{0, 0, 333, 103})}) << "the client rectangle";
    ASSERT_GE(c.Rects.size(), 1u);
    EXPECT_EQ(c.Rects[0].R, (TChartRect{0, 0, 335, 105})) << "frame";
    EXPECT_EQ(c.Rects[0].PenColor, Blue);
    EXPECT_EQ(c.Rects[0].BrushColor, Back) << "filled with the background";
    EXPECT_EQ(c.GridLines(Grey, true), (std::vector<int32_t>{56, 112, 168, 223, 279, 335}));
    EXPECT_EQ(c.GridLines(Grey, false), (std::vector<int32_t>{88, 70, 52, 35, 18, 0})) << "none on the bottom edge";

    // X labels hang under the plot (at 106, below this bitmap); Y labels at x 2.
    EXPECT_EQ(c.TextValues(), (std::vector<std::string>{"0", "39.83", "79.67", "119.5", "159.33", "199.17", "239",
                                                        "0", "1", "2", "3", "4", "5", "6"}));
    const int32_t xs[] = {-2, 54, 110, 166, 221, 277, 333};
    const int32_t ys[] = {101, 84, 66, 48, 31, 14, -4};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(std::make_pair(c.Texts[i].X, c.Texts[i].Y), std::make_pair(xs[i], 106)) << c.Texts[i].Value;
        EXPECT_EQ(std::make_pair(c.Texts[7 + i].X, c.Texts[7 + i].Y), std::make_pair(2, ys[i])) << c.Texts[7 + i].Value;
    }
    for (const Text &t : c.Texts)
        EXPECT_EQ(std::make_pair(t.FontColor, t.FontHeight), std::make_pair(Blue, 8)) << t.Value;

    const Points points = LinePoints(c);
    ASSERT_EQ(points.size(), 240u) << "a move to the first value and 239 lines";
    EXPECT_EQ(points[0], std::make_pair(0, 105)) << "value 0 at X 0";
    EXPECT_EQ(points[3], std::make_pair(4, 52)) << "value 3 at X 3: 4.2, 105 - 52.5";
    EXPECT_EQ(points[6], std::make_pair(8, 0)) << "value 6 at X 6: 8.41, the top";
    EXPECT_EQ(points[239], std::make_pair(335, 88)) << "value 239 % 7 = 1 at the right edge: 105 - 17.5";
}

TEST(GrapherCoreDraw, EdgeCasesOfTheValues)
{
    const std::vector<std::string> zeros(7, "0"), thirds{"0", "0.33", "0.67", "1", "1.33", "1.67", "2"};
    const std::vector<std::string> fixedY{"0", "1", "2", "3", "4", "5", "6"};
    struct Case {
        const char *What;
        double MaxValue;
        std::vector<double> Values;
        Points Line;
        std::vector<std::string> XLabels, YLabels;
    } cases[] = {
        {"no values: every label 0 even with MaxValue 6", 6.0, {}, {}, zeros, zeros},
        {"one value: no line, every X label reads X0", 6.0, {3}, {}, zeros, fixedY},
        {"above and below the fixed scale: drawn beyond the plot area", 6.0, {9, -1, 3},
         {{0, -52}, {168, 122}, {335, 52}}, thirds, fixedY},
        {"all equal, automatic: on the bottom edge", 0.0, {4, 4, 4}, {{0, 105}, {168, 105}, {335, 105}}, thirds,
         {"4", "4.17", "4.33", "4.5", "4.67", "4.83", "5"}},
    };
    for (const Case &cs : cases) {
        TGrapherCore g;
        ConfigureAsMonthGraph(g, cs.Values);
        g.MaxValue = cs.MaxValue;
        TRecordingCanvas c;
        g.Draw(c, 335, 105, {0, 0, 335, 105}, Back);
        EXPECT_EQ(LinePoints(c), cs.Line) << cs.What;
        std::vector<std::string> labels = cs.XLabels;
        labels.insert(labels.end(), cs.YLabels.begin(), cs.YLabels.end());
        EXPECT_EQ(c.TextValues(), labels) << cs.What;
        EXPECT_EQ(c.GridLines(Grey, true).size(), 6u) << cs.What;
    }
}

TEST(GrapherCoreDraw, NarrowPlotsHaveNoLabelsAndMarginsMoveEverything)
{
    TGrapherCore g;
    ConfigureAsMonthGraph(g, {1, 2});
    TRecordingCanvas narrow;
    g.Draw(narrow, 60, 72, {0, 0, 60, 72}, Back); // 10 and 12 pixels per step: not enough
    EXPECT_TRUE(narrow.Texts.empty());
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
    EXPECT_EQ(m.GridLines(Grey, true), (std::vector<int32_t>{72, 123, 175, 227, 278, 330}));
    EXPECT_EQ(LinePoints(m), (Points{{20, 104}, {330, 84}})) << "values 1 and 2 on 0..6 in 120 from 4";
    EXPECT_EQ(std::make_pair(m.Texts[0].X, m.Texts[0].Y), std::make_pair(18, 125)) << "first X label";
}
