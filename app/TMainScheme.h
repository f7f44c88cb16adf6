#pragma once
#include <cstdint>
#include <string>

#include "app/TDayPlotOwner.h"
#include "runtime/TScheme.h"

class TQorDataDir;
class TQorDateConvertor;
class TQorDir;
class TQorFileTime;
class TQorGrapher;
class TQorDoData;
class TQorHub;
class TQorIcon;
class TQorIf_else;
class TQorIssueTime;
class TQorKpFileCheck;
class TQorKpForecast;
class TQorLED;
class TQorLabel;
class TQorMainForm;
class TQorMemory;
class TQorMultiElementEx;
class TQorPlotForecast;
class TQorPlotter;
class TQorRegistry;
class TQorStormAlert;
class TQorStrCat;
class TQorTimer;
class TQorTrayIcon;
class TQorTrayTip;
class TQorWebFile;
class TQorWin;
class TQorWinFTP;

// The main scheme: every top-level element of the program, its properties and
// its links, and the five sub-schemes in their containers. The members are in
// creation order; the scheme frees them in reverse. The daily histogram feed
// finds DayPlot through TDayPlotOwner.
//
// The last five elements make the web fallback of the download chain: when the
// FTP route did not obtain a complete file, WebReader fetches the same file by
// HTTPS, and StatusLed is switched once, at the end of the cycle, on whether
// either route obtained it. DataDir puts DGD.txt beside the program only
// where it can be written there.
//
// The elements after them show the last known value at start, the data's own
// age and a storm notice. At start, before the first download, StartFileHub
// reads the time-zone bias into BiasStore, builds the local path and checks the
// DGD.txt of the last run; a file that can be the provider's is parsed as after
// a download, and UpdatedLabel then shows the file's last-write time. After
// every parse IssueAge tells the file's issue time in IssuedLabel, red once it
// is more than six hours old (AgeTimer looks again every minute), and TrayTip
// adds a second line to the tooltip while it is; IsStorm and StormAlert show a
// balloon from the tray icon when the value rises to storm level.
//
// ForecastReader fetches the provider's 3-day Kp forecast at the end of every
// download cycle (Schedule.onEvent[2], after the LED and any parse, whatever
// the outcome) into ForecastPath, 3-day-geomag-forecast.txt beside DGD.txt,
// built once at start (DataDir decides its folder once). Nothing of it
// reaches StatusLed or the tray's icon: the forecast is extra, and a failed
// one keeps the last good file. Forecast reads that file at start and after
// each fetch and shows it: ForecastBars on DayPlot for the intervals of the
// day still to come (drawn again after each histogram refill), ForecastLabel
// under it, a tooltip line and a balloon for a storm in the next 24 hours.
// MinuteHub gives AgeTimer's minute to IssueAge and Forecast.
class TMainScheme : public TScheme, public TDayPlotOwner {
public:
    TQorMainForm *MainForm;
    TQorWinFTP *FtpReader;
    TQorMultiElementEx *KpParser;
    TQorLabel *CreditLabel;
    TQorTrayIcon *TrayIcon;
    TQorHub *StartHub;
    TQorLabel *TitleLabel;
    TQorLED *StatusLed;
    TQorMultiElementEx *TrayState;
    TQorDir *ProgramDir;
    TQorStrCat *LocalPath;
    TQorMemory *RemotePath;
    TQorHub *FetchHub;
    TQorLabel *AboutLabel;
    TQorLabel *KpCaptionLabel;
    TQorIcon *IconRed;
    TQorIcon *IconYellow;
    TQorIcon *IconGreen;
    TQorIcon *IconError;
    TQorLabel *KpValueLabel;
    TQorLabel *UpdatedLabel;
    TQorHub *ResultHub;
    TQorGrapher *MonthGraph;
    TQorMultiElementEx *MonthFeed;
    TQorLabel *AxisLabel30;
    TQorLabel *AxisLabel20;
    TQorLabel *AxisLabel10;
    TQorLabel *AxisLabel0;
    TQorLabel *MonthTitleLabel;
    TQorPlotter *DayPlot;
    TQorLabel *DayTitleLabel;
    TQorMultiElementEx *DayFeed;
    TQorMultiElementEx *Schedule;
    TQorDateConvertor *UpdatedFormat;
    TQorWebFile *WebReader;
    TQorDoData *FetchedMark;
    TQorMemory *Fetched;
    TQorIf_else *NeedWeb;
    TQorIf_else *FetchOutcome;
    TQorDataDir *DataDir;
    TQorRegistry *BiasReader;
    TQorMemory *BiasStore;
    TQorHub *StartFileHub;
    TQorKpFileCheck *StartFileCheck;
    TQorHub *StartParseHub;
    TQorFileTime *FileTime;
    TQorDateConvertor *FileTimeFormat;
    TQorLabel *IssuedLabel;
    TQorIssueTime *IssueAge;
    TQorTimer *AgeTimer;
    TQorTrayTip *TrayTip;
    TQorIf_else *IsStorm;
    TQorStormAlert *StormAlert;
    TQorStrCat *ForecastPath;
    TQorWebFile *ForecastReader;
    TQorKpForecast *Forecast;
    TQorPlotForecast *ForecastBars;
    TQorLabel *ForecastLabel;
    TQorHub *MinuteHub;

    TMainScheme();

    TPlotterInterface *DayPlotter() override;

    // The credit line under the 30-day graph.
    static std::string CreditLine();

private:
    // Bounds, Ctl3D and the values every visual element of the form shares.
    static void Place(TQorWin *Element, int32_t Left, int32_t Top, int32_t Width, int32_t Height,
                      uint8_t Ctl3D);
    // A label's text, AutoSize and Alignment; no hover effects.
    static void Text(TQorLabel *Label, const char *Caption, uint8_t AutoSize, uint8_t Alignment);
    // The finishing pass of one visual element: no tooltip, no layout.
    static void Finish(TQorWin *Element);
};
