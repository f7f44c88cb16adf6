#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/TDayPlotOwner.h"
#include "runtime/TScheme.h"

class TKpExtraction;
class TTrayState;
class TMonthFeed;
class TDayFeed;
class TQorHub;
class TQorMemory;
class TQorMultiElementEx;
class TRecordingPlotter;

// The sub-schemes that read DGD.txt, each in a real container, wired to each
// other as the main scheme wires them. Where the main scheme has the tray icon,
// the value label and the 30-day graph, a recorder notes what arrives; the four
// tray icons are stand-in objects known by their resource names; the daily
// histogram's bars go onto a recording plotter in place of DayPlot. kpdump, the
// tests, the fuzz target and the benchmark all build the sub-schemes here.
//
// Links of the main scheme made here (the recorder in place of the elements in
// brackets):
//   KpParser.onEvent[0..2] -> recorder level tap -> TrayState.doWork[1..3]
//   KpParser.onEvent[3]    -> ResultHub.doEvent
//   ResultHub.onEvent[0]   -> recorder doValue  (KpValueLabel.doText)
//   ResultHub.onEvent[2]   -> MonthFeed.doWork[0]
//   TrayState.onEvent[0]   -> recorder doSetIcon (TrayIcon.doSetIcon)
//   TrayState.onEvent[1]   -> recorder doHint    (TrayIcon.doHint)
//   MonthFeed.onEvent[0]   -> recorder doAdd     (MonthGraph.doAdd)
//   MonthFeed.onEvent[1]   -> recorder doClear   (MonthGraph.doClear)
//   ResultHub.onEvent[3]   -> DayFeed.doWork[0]
//   DayFeed.onEvent[0]     -> DayPlot.doClear (a recording plotter)
//   OutcomeLink            -> TrayState.doWork[0] (StatusLed.onChange)
//   KpParser.Data[0]   <- LocalPath.Value (LocalPath.Result)
//   TrayState.Data[0..3] <- IconError "ICON4", IconGreen "ICON3", IconYellow "ICON2", IconRed "ICON1"
//   MonthFeed.Data[0]  <- KpParser.Var[0]
//   DayFeed.Data[0]    <- MonthFeed.Var[0]
//   DayFeed.Data[1]    <- LocalHour.Value, index 1 (Schedule.Var[1])
// ResultHub.onEvent[1] (the update time) stays free.
//
// It may be built while dispatch is idle, as the main scheme is; Parse,
// ParseText, OutcomeChanged and Recent need dispatch running (StartHooks).
class TKpPipeline : public TScheme, public TDayPlotOwner {
public:
    // An icon object of the main scheme as its data value: dtIcon referring to
    // the stand-in, which is never looked into.
    class TIconStandIn : public TElement {
    public:
        std::string Name;
        explicit TIconStandIn(std::string Name);
        void Icon(TData &Data, uint16_t Index);
    };

    // What reached the places of the value label, the tray icon and the graph.
    struct TOutcome {
        std::vector<int> Levels;         // 1..3, one per level event, in order
        std::vector<std::string> Values; // each value announced on KpParser.onEvent[3]
        std::vector<std::string> Icons;  // the stand-in's name for each icon shown ("?" for any other value)
        std::vector<std::string> Hints;  // each tooltip
        std::vector<std::string> Graph;  // what the graph holds: its values since the last clear
        int GraphClears = 0;
        // Everything above in the order it came: "level 1", "icon ICON3",
        // "tooltip Kp:2", "value 2", "clear", "add 2".
        std::vector<std::string> Journal;
    };

    class TRecorder : public TElement {
    public:
        TOutcome Outcome;
        bool KeepJournal = true; // the benchmark switches the journal off
        std::vector<const TIconStandIn *> Known;
        std::vector<TPointLink> onLevel; // level i+1 goes on here unchanged

        TRecorder();
        // Empties every record, keeping the room the lists took.
        void Forget();
        void doLevel(TData &Data, uint16_t Index);
        void doValue(TData &Data, uint16_t Index);
        void doSetIcon(TData &Data, uint16_t Index);
        void doHint(TData &Data, uint16_t Index);
        void doAdd(TData &Data, uint16_t Index);
        void doClear(TData &Data, uint16_t Index);
    };

    TQorMultiElementEx *KpParser;
    TRecorder *Recorder;
    TQorMultiElementEx *TrayState;
    TQorMemory *LocalPath;
    TIconStandIn *IconRed;
    TIconStandIn *IconYellow;
    TIconStandIn *IconGreen;
    TIconStandIn *IconError;
    TQorHub *ResultHub;
    TQorMultiElementEx *MonthFeed;
    TQorMemory *LocalHour;
    TRecordingPlotter *DayPlot;
    TQorMultiElementEx *DayFeed;

    TPointLink OutcomeLink; // stands for StatusLed.onChange
    TPointLink RecentLink;  // reads MonthFeed.Var[0], as the day feed does

    TKpPipeline();

    TKpExtraction *Kp() const;
    TTrayState *Tray() const;
    TMonthFeed *Month() const;
    TDayFeed *Day() const;

    // The day feed attaches its bar series here.
    TPlotterInterface *DayPlotter() override;

    // One bar position of the daily histogram: its X and the heights of the
    // green, yellow and red bars standing there (0 where a series has none).
    struct TDayBar {
        double X;
        double Green, Yellow, Red;
    };
    // The bar positions on DayPlot from left to right; none while it is empty.
    std::vector<TDayBar> DayBars() const;

    // Parses the file at Path now (the schedule's parse after a good download).
    void Parse(const std::string &Path);
    // Parses Content as if a file holding exactly these bytes had just been
    // loaded: the lines go into KpParser's FileLines, split as a load splits
    // them, and the parse runs with a path that names no file.
    void ParseText(const std::string &Content);
    // The download outcome changed; State is the LED's new state (not used).
    void OutcomeChanged(int32_t State);
    // The local hour the day feed reads (0 until set).
    void SetHour(int32_t Hour);
    // The recent-values string, newest first, read through MonthFeed.Var[0].
    std::string Recent();

    TOutcome &Outcome();
};
