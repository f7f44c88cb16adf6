// Series buffers, the histogram series and its element, attached to a
// recording plotter; no window needed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChartTestKit.h"
#include "runtime/RuntimeTestKit.h"
#include "elements/chart/THistogramSeries.h"
#include "elements/chart/TQorPlotHistogram.h"
#include "elements/chart/TRecordingPlotter.h"

using namespace testkit;

namespace {

std::vector<double> Xs(const TSeries &Series)
{
    std::vector<double> out;
    for (const TChartItem &item : Series.Values)
        out.push_back(item.X);
    return out;
}

std::vector<double> Ys(const TSeries &Series)
{
    std::vector<double> out;
    for (const TChartItem &item : Series.Values)
        out.push_back(item.Y);
    return out;
}

// The program's bar element: red fill, grey outline, bars 2 units apart from X 2.
void ConfigureAsDayBars(TQorPlotHistogram &Bars)
{
    Bars.FillColor = 0x0000FF;
    Bars.Color = 0x808080;
    Bars.HalfWidth = 1;
    Bars.MaxCount = 9;
    Bars.Step = 2.0;
    Bars.StartX = 2.0;
}

} // namespace

TEST(Series, AddKeepsAtMostMaxCountItemsDroppingTheOldest)
{
    struct Case {
        int32_t MaxCount;
        int Adds;
        std::vector<double> Xs;
    } cases[] = {
        {0, 5, {1, 2, 3, 4, 5}},
        {-1, 4, {1, 2, 3, 4}},
        {3, 2, {1, 2}},
        {3, 3, {1, 2, 3}},
        {3, 5, {3, 4, 5}},
        {1, 4, {4}},
    };
    for (const Case &c : cases) {
        THistogramSeries s;
        s.StartX = 1.0;
        s.MaxCount = c.MaxCount;
        for (int i = 1; i <= c.Adds; ++i)
            s.Add(i, i * 10.0);
        EXPECT_EQ(Xs(s), c.Xs) << "MaxCount " << c.MaxCount << ", " << c.Adds << " adds";
        EXPECT_EQ(s.Count(), static_cast<int32_t>(c.Xs.size()));
    }
}

TEST(Series, ExtremesAreZeroWhenEmptyElseTheSmallestAndLargest)
{
    THistogramSeries s;
    EXPECT_EQ(s.LowestY(), 0.0);
    EXPECT_EQ(s.HighestY(), 0.0);
    EXPECT_EQ(s.LowestX(), 0.0);
    EXPECT_EQ(s.HighestX(), 0.0);

    s.StartX = 5.0;
    s.Add(0.0, 3.0); // goes to StartX
    s.Add(-2.0, -4.0);
    s.Add(9.0, 7.5);
    s.Add(1.0, 0.0);
    EXPECT_EQ(s.LowestY(), -4.0);
    EXPECT_EQ(s.HighestY(), 7.5);
    EXPECT_EQ(s.LowestX(), -2.0);
    EXPECT_EQ(s.HighestX(), 9.0);

    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.HighestY(), 0.0) << "cleared";
}

TEST(HistogramSeries, FirstBarOfAnEmptySeriesGoesToStartX)
{
    THistogramSeries s;
    s.StartX = 2.0;
    s.Add(7.0, 1.0);
    s.Add(7.0, 2.0);
    EXPECT_EQ(Xs(s), (std::vector<double>{2.0, 7.0}));
    s.Clear();
    s.Add(11.0, 1.0);
    EXPECT_EQ(Xs(s), (std::vector<double>{2.0})) << "empty again after Clear";
}

TEST(PlotHistogram, AttachToCopiesThePropertiesAndAddsTheSeriesToThePlotter)
{
    TRecordingPlotter plotter;
    TQorPlotHistogram bars;
    ConfigureAsDayBars(bars);
    bars.AttachTo(&plotter);

    ASSERT_EQ(plotter.SeriesCount(), 1);
    EXPECT_EQ(plotter.SeriesAt(0), bars.Series);
    EXPECT_EQ(bars.Series->Plotter, &plotter);
    EXPECT_EQ(bars.Plotter, &plotter);
    EXPECT_EQ(bars.Series->Color, 0x808080u);
    EXPECT_EQ(bars.Series->HalfWidth, 1);
    EXPECT_EQ(bars.Series->MaxCount, 9);
    EXPECT_EQ(bars.Series->FillColor, 0x0000FFu);
    EXPECT_EQ(bars.Series->StartX, 2.0);
    EXPECT_EQ(bars.Series->Baseline, &bars.Baseline) << "the series sees the element's field itself";

    // Later changes do not reach the series, except the baseline through its reference.
    bars.Color = 1;
    bars.HalfWidth = 5;
    bars.MaxCount = 2;
    bars.FillColor = 2;
    bars.StartX = 9.0;
    TPlotBaseline line{0.0, 1.0, 0.0};
    bars.Baseline = &line;
    EXPECT_EQ(bars.Series->Color, 0x808080u);
    EXPECT_EQ(bars.Series->HalfWidth, 1);
    EXPECT_EQ(bars.Series->MaxCount, 9);
    EXPECT_EQ(bars.Series->FillColor, 0x0000FFu);
    EXPECT_EQ(bars.Series->StartX, 2.0);
    EXPECT_EQ(*bars.Series->Baseline, &line);
    bars.Baseline = nullptr;
}

TEST(PlotHistogram, StepTwoFromStartXTwoAndTheTenthBarDropsTheFirst)
{
    Running on;
    TRecordingPlotter plotter;
    TQorPlotHistogram bars;
    ConfigureAsDayBars(bars);
    bars.AttachTo(&plotter);
    Source height;
    LinkData(bars.ValueY, &height, &Source::Value, 0);

    for (int i = 1; i <= 9; ++i) {
        height.Answer = IntData(i);
        TData d;
        bars.doAdd(d, 0);
    }
    EXPECT_EQ(Xs(*bars.Series), (std::vector<double>{2, 4, 6, 8, 10, 12, 14, 16, 18}));
    EXPECT_EQ(Ys(*bars.Series), (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(plotter.Repaints, 9) << "one repaint per bar";

    height.Answer = IntData(10);
    TData d;
    bars.doAdd(d, 0);
    EXPECT_EQ(Xs(*bars.Series), (std::vector<double>{4, 6, 8, 10, 12, 14, 16, 18, 20}))
        << "the first bar dropped, the new one at the last X + Step";
    EXPECT_EQ(Ys(*bars.Series), (std::vector<double>{2, 3, 4, 5, 6, 7, 8, 9, 10}));

    height.Answer = IntData(11);
    bars.doAdd(d, 0);
    EXPECT_EQ(bars.Series->Values.back().X, 22.0) << "and keeps moving right";
    EXPECT_EQ(bars.Series->Count(), 9);
}

TEST(PlotHistogram, ReadsValueYThenValueXOnEveryAdd)
{
    Running on;
    std::vector<std::string> log;
    TQorPlotHistogram bars;
    bars.Step = 2.0;
    Source y, x;
    y.Name = "y";
    y.Log = &log;
    y.Answer = RealData(3.5);
    x.Name = "x";
    x.Log = &log;
    x.Answer = RealData(40.0);
    LinkData(bars.ValueY, &y, &Source::Value, 0);
    LinkData(bars.ValueX, &x, &Source::Value, 0);

    TData d;
    bars.doAdd(d, 0);
    bars.doAdd(d, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"read y", "read x", "read y", "read x"}))
        << "X is read even though Step decides it";
    EXPECT_EQ(Xs(*bars.Series), (std::vector<double>{0.0, 2.0})) << "unattached: StartX is still 0";
    EXPECT_EQ(Ys(*bars.Series), (std::vector<double>{3.5, 3.5}));
}

TEST(PlotHistogram, StepZeroTakesXFromValueXOrFromTheCallsData)
{
    Running on;
    TRecordingPlotter plotter;
    TQorPlotHistogram bars;
    bars.Step = 0.0;
    bars.StartX = 1.0;
    bars.AttachTo(&plotter);
    Source y, x;
    y.Answer = RealData(2.0);
    x.Answer = RealData(6.5);
    LinkData(bars.ValueY, &y, &Source::Value, 0);

    // ValueX unwired: X comes from the call's data (Y is wired and does not consume it).
    TData d = RealData(9.0);
    bars.doAdd(d, 0); // empty series: StartX wins
    d = RealData(9.0);
    bars.doAdd(d, 0);
    LinkData(bars.ValueX, &x, &Source::Value, 0);
    d = RealData(9.0);
    bars.doAdd(d, 0);
    EXPECT_EQ(Xs(*bars.Series), (std::vector<double>{1.0, 9.0, 6.5}));

    // Neither wired: Y takes the call's value and X finds nothing left.
    TQorPlotHistogram loose;
    loose.StartX = 3.0;
    loose.AttachTo(&plotter);
    d = RealData(4.0);
    loose.doAdd(d, 0);
    d = RealData(4.0);
    loose.doAdd(d, 0);
    EXPECT_EQ(Xs(*loose.Series), (std::vector<double>{3.0, 0.0}));
    EXPECT_EQ(Ys(*loose.Series), (std::vector<double>{4.0, 4.0}));
}

TEST(PlotHistogram, DestructionIsSafeInEitherOrderWithThePlotter)
{
    // Element first: the plotter's RemoveSeries takes the series out and frees it.
    auto *plotter = new TRecordingPlotter;
    auto *bars = new TQorPlotHistogram;
    auto *other = new TQorPlotHistogram;
    bars->AttachTo(plotter);
    other->AttachTo(plotter);
    THistogramSeries *otherSeries = other->Series;
    delete bars;
    ASSERT_EQ(plotter->SeriesCount(), 1);
    EXPECT_EQ(plotter->SeriesAt(0), otherSeries);

    // Plotter first: the series lose their plotter and their elements free them.
    delete plotter;
    EXPECT_EQ(otherSeries->Plotter, nullptr);
    Running on;
    TData d = RealData(1.0);
    other->doAdd(d, 0); // no plotter to repaint any more
    EXPECT_EQ(otherSeries->Count(), 1);
    delete other; // ASan reports a double free or a leak here if either is wrong
}

TEST(HistogramSeries, DrawsEachBarOutlinedAndFilledWithThePlottersMargins)
{
    TRecordingPlotter plotter;
    plotter.MarginLeft = 10;
    plotter.MarginTop = 5;
    TQorPlotHistogram bars;
    ConfigureAsDayBars(bars);
    bars.FillColor = 0x00FFFF;
    bars.AttachTo(&plotter);
    bars.Series->Add(0, 4); // at StartX 2
    bars.Series->Add(4, 0);

    charttest::TRecordingCanvas canvas;
    canvas.PenWidth = 7;
    canvas.BrushStyle = cbsClear;
    bars.Series->Draw(canvas, 336, 82, 8.0, 12.0, 0.0, 2.0);
    ASSERT_EQ(canvas.Rects.size(), 2u);
    EXPECT_EQ(canvas.Rects[0].R, (TChartRect{-18, 46, 38, 87}));
    EXPECT_EQ(canvas.Rects[1].R, (TChartRect{38, 87, 94, 87}));
    for (const charttest::Rect &r : canvas.Rects) {
        EXPECT_EQ(r.PenColor, 0x808080u);
        EXPECT_EQ(r.BrushColor, 0x00FFFFu);
        EXPECT_EQ(r.BrushStyle, cbsSolid);
    }
    EXPECT_EQ(canvas.PenWidth, 1);
    EXPECT_EQ(canvas.PenStyle, cpsSolid);

    // A baseline set on the element after attaching is used by the next draw.
    TPlotBaseline rising{2.0, 1.0, 45.0};
    bars.Baseline = &rising;
    charttest::TRecordingCanvas again;
    bars.Series->Draw(again, 336, 82, 8.0, 12.0, 0.0, 2.0);
    EXPECT_EQ(again.Rects[0].R.Bottom, 77) << "base 1 at X 2: 82 - 10.25 + 5";
    EXPECT_EQ(again.Rects[1].R.Bottom, 56) << "base 3 at X 4: 82 - 30.75 + 5";
    bars.Baseline = nullptr;
}
