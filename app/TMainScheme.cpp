#include "app/TMainScheme.h"

#include <windows.h>

#include "FtpServer.h"
#include "app/TKpExtraction.h"
#include "app/TTrayState.h"
#include "app/TMonthFeed.h"
#include "app/TDayFeed.h"
#include "app/TRefreshSchedule.h"
#include "elements/chart/TQorGrapher.h"
#include "elements/chart/TQorPlotForecast.h"
#include "elements/chart/TQorPlotter.h"
#include "elements/io/TQorRegistry.h"
#include "elements/io/TQorTimer.h"
#include "elements/io/TQorWebFile.h"
#include "elements/io/TQorWinFTP.h"
#include "elements/text/TQorDataDir.h"
#include "elements/text/TQorDateConvertor.h"
#include "elements/text/TQorDir.h"
#include "elements/text/TQorFileTime.h"
#include "elements/text/TQorIf_else.h"
#include "elements/text/TQorIssueTime.h"
#include "elements/text/TQorKpFileCheck.h"
#include "elements/text/TQorKpForecast.h"
#include "elements/text/TQorStormAlert.h"
#include "elements/text/TQorStrCat.h"
#include "elements/text/TQorTrayTip.h"
#include "elements/win/TQorIcon.h"
#include "elements/win/TQorLED.h"
#include "elements/win/TQorLabel.h"
#include "elements/win/TQorMainForm.h"
#include "elements/win/TQorTrayIcon.h"
#include "runtime/TClassMultiBase.h"
#include "runtime/TQorDoData.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorMultiElementEx.h"

namespace {

// Icons come from the program's own resources; LoadIconA shares them, so
// nobody destroys them.
HICON ResourceIcon(const char *Name)
{
    return LoadIconA(GetModuleHandleA(nullptr), Name);
}

} // namespace

// The year at the left end of the right-aligned, 332-pixel label and the team
// at its right end. Arial Narrow 8 pt is 11 pixels high at 96 dpi and draws a
// space 3 pixels wide, "2026" 20 and "Tervik team" 50: with 82 spaces the line
// is 316 pixels and the year starts 16 pixels from the left edge. Arial Narrow
// comes with Office, not with Windows; where it is missing Windows draws Arial,
// whose digits and letters are wider (24 and 58 pixels), and the line is 328
// pixels: still one line. A line too long for the label would wrap at a space
// and push the team's name out of the label's single line.
std::string TMainScheme::CreditLine()
{
    return "2026" + std::string(82, ' ') + "Tervik team";
}

void TMainScheme::Place(TQorWin *Element, int32_t Left, int32_t Top, int32_t Width,
                                   int32_t Height, uint8_t Ctl3D)
{
    Element->Left = Left;
    Element->Top = Top;
    Element->Width = Width;
    Element->Height = Height;
    Element->Align = 0;
    Element->Color = 0xFF00000F;
    Element->ParentFont = 0;
    Element->Visible = 1;
    Element->Enabled = 1;
    Element->Cursor = 0;
    Element->TabOrder = 0;
    Element->Ctl3D = Ctl3D;
    Element->EdgeStyle = 0;
    Element->Name = "";
    Element->Hint = "";
    Element->Transparent = 0;
    Element->LayoutParam1 = 0;
    Element->LayoutParam2 = 0;
}

void TMainScheme::Text(TQorLabel *Label, const char *Caption, uint8_t AutoSize,
                                  uint8_t Alignment)
{
    Label->Caption = Caption ? Caption : "";
    Label->SetAutoSize(AutoSize);
    Label->SetAlignment(Alignment);
    Label->HoverColor = 0;
    Label->HoverUnderline = 0;
}

void TMainScheme::Finish(TQorWin *Element)
{
    Element->AttachHint(nullptr);
    Element->AttachLayout(nullptr);
}

TMainScheme::TMainScheme()
{
    // ---- Elements, in creation order ----------------------------------------

    MainForm = Make<TQorMainForm>(nullptr);
    Place(MainForm, 20, 105, 382, 588, 1);
    SetFontRec("MS Sans Serif", 8, 0, MainForm->Font, 1, 0x000000);
    MainForm->SetCaption("Tervik v4");
    MainForm->SetBorderStyle(2);
    MainForm->SetIcon(ResourceIcon("ICON0"));
    MainForm->AlphaBlend = 255;
    MainForm->WindowState = 0;
    MainForm->SetNoTaskbarButton(0);
    MainForm->DragByClient = 0;
    MainForm->KeyPreview = 1;
    MainForm->SavePosition = "";
    MainForm->ClientSize = 0;
    MainForm->MouseCapture = 0;
    MainForm->Visible = 0;
    MainForm->Init();

    FtpReader = Make<TQorWinFTP>();
    FtpReader->FHost = FtpServerHost;
    FtpReader->FUserName = "";
    FtpReader->FPassword = "";
    FtpReader->Port = FtpServerPort;
    FtpReader->Directory = "pub/latest";
    FtpReader->FFileName = "DGD.txt";
    FtpReader->DateFormat = "D[W]-M-Y (h:m:s)";
    FtpReader->Deadline = DownloadDeadlineMs;

    KpParser = Make<TQorMultiElementEx>(MainForm->Control);
    KpParser->Mode = 0;
    KpParser->MainScheme = this;
    KpParser->SetEventCount(4);
    KpParser->SetDataCount(1);

    CreditLabel = Make<TQorLabel>(MainForm->Control);
    Place(CreditLabel, 17, 524, 332, 17, 1);
    SetFontRec("Arial Narrow", 8, 0, CreditLabel->Font, 204, 0x800000);
    Text(CreditLabel, CreditLine().c_str(), 0, 1);
    CreditLabel->Init();

    TrayIcon = Make<TQorTrayIcon>(MainForm->Control);
    TrayIcon->SetHint("");
    TrayIcon->CloseToTray = 0;
    TrayIcon->MinimizeNormally = 0;
    TrayIcon->KeepIcon = 1;
    TrayIcon->BalloonTitle = "Tervik v4";

    StartHub = Make<TQorHub>();
    StartHub->SetOutCount(3); // was 2: the last run's file between the icon and the schedule

    TitleLabel = Make<TQorLabel>(MainForm->Control);
    Place(TitleLabel, 33, 13, 280, 33, 0);
    SetFontRec("Tahoma", 16, 0, TitleLabel->Font, 204, 0x800000);
    Text(TitleLabel, "meteo FTP geomagnetic", 0, 2);
    TitleLabel->Init();

    StatusLed = Make<TQorLED>(MainForm->Control);
    Place(StatusLed, 336, 11, 15, 15, 1);
    SetFontRec("MS Sans Serif", 8, 0, StatusLed->Font, 1, 0x000000);
    StatusLed->ColorOn = 0x008000;
    StatusLed->ColorOff = 0x0000FF;
    StatusLed->ColorLight = 0xFFFFFF;
    StatusLed->On = 1;
    StatusLed->Shape = 0;
    StatusLed->Frame = 0;
    StatusLed->Init();

    TrayState = Make<TQorMultiElementEx>(MainForm->Control);
    TrayState->Mode = 0;
    TrayState->MainScheme = this;
    TrayState->SetEventCount(2);
    TrayState->SetDataCount(4);

    ProgramDir = Make<TQorDir>();

    LocalPath = Make<TQorStrCat>();
    LocalPath->FStr1 = "";
    LocalPath->FStr2 = "DGD.txt";

    RemotePath = Make<TQorMemory>();
    RemotePath->SetDefault(StrData("/pub/latest/DGD.txt"));

    FetchHub = Make<TQorHub>();
    FetchHub->SetOutCount(7);

    AboutLabel = Make<TQorLabel>(MainForm->Control);
    Place(AboutLabel, 12, 56, 332, 137, 1);
    SetFontRec("Arial Narrow", 8, 0, AboutLabel->Font, 204, 0x008000);
    Text(AboutLabel, LoadTextResource("Str1"), 0, 2);
    AboutLabel->Init();

    KpCaptionLabel = Make<TQorLabel>(MainForm->Control);
    Place(KpCaptionLabel, 101, 226, 193, 17, 1);
    SetFontRec("Tahoma", 8, 1, KpCaptionLabel->Font, 204, 0x000000);
    Text(KpCaptionLabel, "Текущий уровень индекса (Kp):", 1, 0);
    KpCaptionLabel->Init();

    IconRed = Make<TQorIcon>();
    IconRed->SetIcon(ResourceIcon("ICON1"));
    IconRed->Color = 0xFFFFFF;

    IconYellow = Make<TQorIcon>();
    IconYellow->SetIcon(ResourceIcon("ICON2"));
    IconYellow->Color = 0xFFFFFF;

    IconGreen = Make<TQorIcon>();
    IconGreen->SetIcon(ResourceIcon("ICON3"));
    IconGreen->Color = 0xFFFFFF;

    IconError = Make<TQorIcon>();
    IconError->SetIcon(ResourceIcon("ICON4"));
    IconError->Color = 0xFFFFFF;

    KpValueLabel = Make<TQorLabel>(MainForm->Control);
    Place(KpValueLabel, 310, 215, 29, 36, 0);
    SetFontRec("Verdana", 20, 1, KpValueLabel->Font, 204, 0x000000);
    Text(KpValueLabel, "0", 0, 2);
    KpValueLabel->Init();

    UpdatedLabel = Make<TQorLabel>(MainForm->Control);
    Place(UpdatedLabel, 102, 202, 69, 17, 1);
    SetFontRec("Tahoma", 8, 1, UpdatedLabel->Font, 204, 0x000000);
    Text(UpdatedLabel, "не активно", 1, 0);
    UpdatedLabel->Init();

    ResultHub = Make<TQorHub>();
    ResultHub->SetOutCount(7); // was 4: the data's age, the storm notice and the forecast after the charts

    MonthGraph = Make<TQorGrapher>(MainForm->Control);
    Place(MonthGraph, 17, 395, 335, 105, 1);
    SetFontRec("MS Sans Serif", 8, 0, MonthGraph->Font, 1, 0x000000);
    MonthGraph->SetGrid(6);
    MonthGraph->GridColor = 0xC0C0C0;
    MonthGraph->AxisColor = 0xFF0000;
    MonthGraph->TextColor = 0xFF0000;
    MonthGraph->Step = 1.0;
    MonthGraph->MinValue = 0.0;
    MonthGraph->MaxValue = 6.0;
    MonthGraph->MaxCount = 0;
    MonthGraph->MarginLeft = 0;
    MonthGraph->MarginRight = 0;
    MonthGraph->MarginTop = 0;
    MonthGraph->MarginBottom = 0;
    MonthGraph->LineWidth = 1;
    MonthGraph->LineColor = 0x0000FF;
    MonthGraph->Init();

    MonthFeed = Make<TQorMultiElementEx>(MainForm->Control);
    MonthFeed->Mode = 0;
    MonthFeed->MainScheme = this;
    MonthFeed->SetEventCount(2);
    MonthFeed->SetDataCount(1);

    AxisLabel30 = Make<TQorLabel>(MainForm->Control);
    Place(AxisLabel30, 12, 500, 16, 17, 1);
    SetFontRec("MS Sans Serif", 8, 0, AxisLabel30->Font, 1, 0x000000);
    Text(AxisLabel30, "30", 1, 0);
    AxisLabel30->Init();

    AxisLabel20 = Make<TQorLabel>(MainForm->Control);
    Place(AxisLabel20, 122, 500, 16, 17, 1);
    SetFontRec("MS Sans Serif", 8, 0, AxisLabel20->Font, 1, 0x000000);
    Text(AxisLabel20, "20", 1, 0);
    AxisLabel20->Init();

    AxisLabel10 = Make<TQorLabel>(MainForm->Control);
    Place(AxisLabel10, 234, 500, 16, 17, 1);
    SetFontRec("MS Sans Serif", 8, 0, AxisLabel10->Font, 1, 0x000000);
    Text(AxisLabel10, "10", 1, 0);
    AxisLabel10->Init();

    AxisLabel0 = Make<TQorLabel>(MainForm->Control);
    Place(AxisLabel0, 346, 500, 10, 17, 1);
    SetFontRec("MS Sans Serif", 8, 0, AxisLabel0->Font, 1, 0x000000);
    Text(AxisLabel0, "0", 1, 0);
    AxisLabel0->Init();

    MonthTitleLabel = Make<TQorLabel>(MainForm->Control);
    Place(MonthTitleLabel, 17, 377, 333, 17, 1);
    SetFontRec("Verdana", 8, 0, MonthTitleLabel->Font, 1, 0x000000);
    Text(MonthTitleLabel, "График геомагнитной активности за последние 30 дней", 1, 0);
    MonthTitleLabel->Init();

    DayPlot = Make<TQorPlotter>(MainForm->Control);
    Place(DayPlot, 15, 272, 336, 82, 1);
    DayPlot->Name = "Plotter";
    SetFontRec("MS Sans Serif", 8, 0, DayPlot->Font, 1, 0x000000);
    DayPlot->SetGrid(8);
    DayPlot->GridColor = 0xC0C0C0;
    DayPlot->AxisColor = 0xFF0000;
    DayPlot->TextColor = 0xFF0000;
    DayPlot->MinY = 0.0;
    DayPlot->MaxY = 8.0;
    DayPlot->MinX = 0.0; // automatic
    DayPlot->MaxX = 0.0; // automatic
    DayPlot->MarginLeft = 0;
    DayPlot->MarginRight = 0;
    DayPlot->MarginTop = 0;
    DayPlot->MarginBottom = 0;
    DayPlot->MouseControl = 0;
    DayPlot->Init();

    DayTitleLabel = Make<TQorLabel>(MainForm->Control);
    Place(DayTitleLabel, 13, 251, 285, 17, 1);
    SetFontRec("Verdana", 8, 0, DayTitleLabel->Font, 1, 0x000000);
    Text(DayTitleLabel, "Суточная гистограмма геомагнитной активности", 1, 0);
    DayTitleLabel->Init();

    DayFeed = Make<TQorMultiElementEx>(MainForm->Control);
    DayFeed->Mode = 0;
    DayFeed->MainScheme = this;
    DayFeed->SetEventCount(1);
    DayFeed->SetDataCount(2);

    Schedule = Make<TQorMultiElementEx>(MainForm->Control);
    Schedule->Mode = 0;
    Schedule->MainScheme = this;
    Schedule->SetEventCount(3); // was 2: the forecast, once the cycle is done
    Schedule->SetDataCount(1);

    UpdatedFormat = Make<TQorDateConvertor>();
    UpdatedFormat->Mode = 9;
    UpdatedFormat->Format = "Данные обновлены: HH:mm";

    // The web fallback. Fetched holds whether this cycle has obtained a
    // complete file by either route (1) or not yet (0).
    WebReader = Make<TQorWebFile>();
    WebReader->URL = WebFileUrl;
    WebReader->Agent = WebUserAgent;
    WebReader->Deadline = DownloadDeadlineMs;

    FetchedMark = Make<TQorDoData>();
    FetchedMark->FData = IntData(1);

    Fetched = Make<TQorMemory>();
    Fetched->SetDefault(IntData(0));

    NeedWeb = Make<TQorIf_else>();
    NeedWeb->Type = 0;
    NeedWeb->FOp2 = IntData(0);

    FetchOutcome = Make<TQorIf_else>();
    FetchOutcome->Type = 0;
    FetchOutcome->FOp2 = IntData(1);

    // Where DGD.txt lives: beside the program, or in the folder Tervik of
    // %LOCALAPPDATA% when it cannot be created and replaced there.
    DataDir = Make<TQorDataDir>();
    DataDir->FileName = "DGD.txt";
    DataDir->SubFolder = "Tervik";

    // The last known value at start. The schedule reads the bias for itself,
    // later and as whole hours; these times need its minutes, before that.
    BiasReader = Make<TQorRegistry>();
    BiasReader->Root = 2;
    BiasReader->FKey = "SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation";
    BiasReader->FValueName = "ActiveTimeBias";
    BiasReader->DataType = 0;
    BiasReader->SuccessOnly = 0;

    BiasStore = Make<TQorMemory>();
    BiasStore->SetDefault(IntData(0));

    StartFileHub = Make<TQorHub>();
    StartFileHub->SetOutCount(5); // was 3: the last run's forecast

    StartFileCheck = Make<TQorKpFileCheck>();
    StartFileCheck->FFileName = "";

    StartParseHub = Make<TQorHub>();
    StartParseHub->SetOutCount(2);

    FileTime = Make<TQorFileTime>();

    FileTimeFormat = Make<TQorDateConvertor>();
    FileTimeFormat->Mode = 9;
    FileTimeFormat->Format = "Данные обновлены: HH:mm";

    // The data's age: right of the update time, on its line to the form's
    // edge, in its font but not bold; its height keeps it above KpValueLabel.
    IssuedLabel = Make<TQorLabel>(MainForm->Control);
    Place(IssuedLabel, 254, 202, 122, 13, 1);
    SetFontRec("Tahoma", 8, 0, IssuedLabel->Font, 204, 0x000000);
    Text(IssuedLabel, "", 0, 0);
    IssuedLabel->Init();

    IssueAge = Make<TQorIssueTime>();
    IssueAge->Format = "выпуск dd.MM HH:mm";
    IssueAge->StaleFormat = "устарели: dd.MM HH:mm";
    IssueAge->ColorFresh = 0x000000;
    IssueAge->ColorStale = 0x0000FF;

    AgeTimer = Make<TQorTimer>();
    AgeTimer->SetInterval(60000);
    AgeTimer->SetEnable(true);
    AgeTimer->SetAutoStop(0);
    AgeTimer->QueueTicks = 0;

    TrayTip = Make<TQorTrayTip>();
    TrayTip->StaleLine = "Данные устарели";

    // The storm level as KpParser tells it: not below "5".
    IsStorm = Make<TQorIf_else>();
    IsStorm->Type = 1;
    IsStorm->FOp2 = IntData(5);

    StormAlert = Make<TQorStormAlert>();
    StormAlert->Text = "Геомагнитная буря: Kp ";

    ForecastPath = Make<TQorStrCat>();
    ForecastPath->FStr1 = "";
    ForecastPath->FStr2 = "3-day-geomag-forecast.txt";

    ForecastReader = Make<TQorWebFile>();
    ForecastReader->URL = ForecastUrl;
    ForecastReader->Agent = WebUserAgent;
    ForecastReader->Deadline = DownloadDeadlineMs;
    ForecastReader->Check = 1;

    // The forecast as the window and the tray show it: bars for the rest of
    // the day on DayPlot, a line under it, a tooltip line and a balloon for a
    // storm to come. AgeTimer's minute moves it on through MinuteHub.
    Forecast = Make<TQorKpForecast>();
    Forecast->FFileName = "";
    Forecast->LineText = "Прогноз на 24 ч: наибольший Kp ";
    Forecast->TipText = "Прогноз: буря Kp ";
    Forecast->AlertText = "Геомагнитная буря ожидается: Kp ";
    Forecast->DueToday = "'с' HH:mm";
    Forecast->DueTomorrow = "'завтра с' HH:mm";
    Forecast->DueNow = "сейчас";
    Forecast->ColorLow = 0x008000;
    Forecast->ColorMiddle = 0x008CC8; // the bars' yellow is unreadable as text
    Forecast->ColorHigh = 0x0000FF;

    ForecastBars = Make<TQorPlotForecast>();
    ForecastBars->LowColor = 0x008000;
    ForecastBars->MiddleColor = 0x00FFFF;
    ForecastBars->HighColor = 0x0000FF;
    ForecastBars->HalfWidth = 1;
    ForecastBars->Step = 2.0;
    ForecastBars->StartX = 2.0;

    ForecastLabel = Make<TQorLabel>(MainForm->Control);
    Place(ForecastLabel, 15, 357, 336, 15, 1);
    SetFontRec("Tahoma", 8, 0, ForecastLabel->Font, 204, 0x000000);
    Text(ForecastLabel, "", 0, 0);
    ForecastLabel->Init();

    MinuteHub = Make<TQorHub>();
    MinuteHub->SetOutCount(2);

    // ---- Event links -----------------------------------------------------------
    // One download cycle is FetchHub's seven outputs in turn: clear Fetched, build
    // the local path, FTP open, read and close, then the web read only when
    // Fetched is still 0, and last the LED from Fetched. The readers' onRead
    // marks Fetched; no reader's event reaches StatusLed directly, so the LED
    // changes at most once a cycle and the tray never shows the error icon for
    // an FTP failure that the web mended. FtpReader.onError stays unconnected:
    // a failed route is simply one that did not mark Fetched.

    LinkEvent(MainForm->onCreate, StartHub, &TQorHub::doEvent, 0);
    LinkEvent(MainForm->onMouseUp, TrayIcon, &TQorTrayIcon::doHide, 1);
    LinkEvent(FtpReader->onRead, FetchedMark, &TQorDoData::doData, 0);
    LinkEvent(KpParser->onEvent[0], TrayState, &TQorMultiElementEx::doWork, 1);
    LinkEvent(KpParser->onEvent[1], TrayState, &TQorMultiElementEx::doWork, 2);
    LinkEvent(KpParser->onEvent[2], TrayState, &TQorMultiElementEx::doWork, 3);
    LinkEvent(KpParser->onEvent[3], ResultHub, &TQorHub::doEvent, 0);
    LinkEvent(TrayIcon->onClick, TrayIcon, &TQorTrayIcon::doRestore, 0);
    LinkEvent(StartHub->onEvent[0], TrayIcon, &TQorTrayIcon::doShowIcon, 3);
    LinkEvent(StartHub->onEvent[1], StartFileHub, &TQorHub::doEvent, 0);
    LinkEvent(StartHub->onEvent[2], Schedule, &TQorMultiElementEx::doWork, 0);
    LinkEvent(StatusLed->onChange, TrayState, &TQorMultiElementEx::doWork, 0);
    LinkEvent(TrayState->onEvent[0], TrayIcon, &TQorTrayIcon::doSetIcon, 2);
    LinkEvent(TrayState->onEvent[1], TrayTip, &TQorTrayTip::doHint, 0);
    LinkEvent(FetchHub->onEvent[0], Fetched, &TQorMemory::doClear, 0);
    LinkEvent(FetchHub->onEvent[1], LocalPath, &TQorStrCat::doStrCat, 0);
    LinkEvent(FetchHub->onEvent[2], FtpReader, &TQorWinFTP::doOpen, 0);
    LinkEvent(FetchHub->onEvent[3], FtpReader, &TQorWinFTP::doRead, 2);
    LinkEvent(FetchHub->onEvent[4], FtpReader, &TQorWinFTP::doClose, 1);
    LinkEvent(FetchHub->onEvent[5], NeedWeb, &TQorIf_else::doCompare, 0);
    LinkEvent(FetchHub->onEvent[6], FetchOutcome, &TQorIf_else::doCompare, 0);
    LinkEvent(ResultHub->onEvent[0], KpValueLabel, &TQorLabel::doText, 0);
    LinkEvent(ResultHub->onEvent[1], UpdatedFormat, &TQorDateConvertor::doFormat, 0);
    LinkEvent(ResultHub->onEvent[2], MonthFeed, &TQorMultiElementEx::doWork, 0);
    LinkEvent(ResultHub->onEvent[3], DayFeed, &TQorMultiElementEx::doWork, 0);
    LinkEvent(ResultHub->onEvent[4], IssueAge, &TQorIssueTime::doRead, 0);
    LinkEvent(ResultHub->onEvent[5], IsStorm, &TQorIf_else::doCompare, 0);
    LinkEvent(MonthFeed->onEvent[0], MonthGraph, &TQorGrapher::doAdd, 0);
    LinkEvent(MonthFeed->onEvent[1], MonthGraph, &TQorGrapher::doClear, 1);
    LinkEvent(DayFeed->onEvent[0], DayPlot, &TQorPlotter::doClear, 0);
    LinkEvent(Schedule->onEvent[0], FetchHub, &TQorHub::doEvent, 0);
    LinkEvent(Schedule->onEvent[1], KpParser, &TQorMultiElementEx::doWork, 0);
    LinkEvent(UpdatedFormat->onResult, UpdatedLabel, &TQorLabel::doText, 0);
    LinkEvent(WebReader->onRead, FetchedMark, &TQorDoData::doData, 0);
    LinkEvent(FetchedMark->onEventData, Fetched, &TQorMemory::doValue, 0);
    LinkEvent(NeedWeb->onTrue, WebReader, &TQorWebFile::doRead, 0);
    LinkEvent(FetchOutcome->onTrue, StatusLed, &TQorLED::doOn, 2);
    LinkEvent(FetchOutcome->onFalse, StatusLed, &TQorLED::doOff, 1);
    LinkEvent(BiasReader->onRead, BiasStore, &TQorMemory::doValue, 0);
    LinkEvent(StartFileHub->onEvent[0], BiasReader, &TQorRegistry::doRead, 0);
    LinkEvent(StartFileHub->onEvent[1], LocalPath, &TQorStrCat::doStrCat, 0);
    LinkEvent(StartFileHub->onEvent[2], StartFileCheck, &TQorKpFileCheck::doCheck, 0);
    LinkEvent(StartFileCheck->onGood, StartParseHub, &TQorHub::doEvent, 0);
    LinkEvent(StartParseHub->onEvent[0], KpParser, &TQorMultiElementEx::doWork, 0);
    LinkEvent(StartParseHub->onEvent[1], FileTimeFormat, &TQorDateConvertor::doFormat, 0);
    LinkEvent(FileTimeFormat->onResult, UpdatedLabel, &TQorLabel::doText, 0);
    LinkEvent(IssueAge->onText, IssuedLabel, &TQorLabel::doText, 0);
    LinkEvent(IssueAge->onColor, IssuedLabel, &TQorLabel::doFontColor, 0);
    LinkEvent(IssueAge->onStale, TrayTip, &TQorTrayTip::doStale, 0);
    LinkEvent(AgeTimer->onTimer, MinuteHub, &TQorHub::doEvent, 0);
    LinkEvent(TrayTip->onHint, TrayIcon, &TQorTrayIcon::doHint, 4);
    LinkEvent(IsStorm->onTrue, StormAlert, &TQorStormAlert::doCalm, 0);
    LinkEvent(IsStorm->onFalse, StormAlert, &TQorStormAlert::doStorm, 0);
    LinkEvent(StormAlert->onAlert, TrayIcon, &TQorTrayIcon::doBalloon, 0);
    LinkEvent(Schedule->onEvent[2], ForecastReader, &TQorWebFile::doRead, 0);
    LinkEvent(StartFileHub->onEvent[3], ForecastPath, &TQorStrCat::doStrCat, 0);
    LinkEvent(StartFileHub->onEvent[4], Forecast, &TQorKpForecast::doRead, 0);
    LinkEvent(ForecastReader->onRead, Forecast, &TQorKpForecast::doRead, 0);
    LinkEvent(ResultHub->onEvent[6], Forecast, &TQorKpForecast::doDay, 0);
    LinkEvent(Forecast->onDay, ForecastBars, &TQorPlotForecast::doDay, 0);
    LinkEvent(Forecast->onLine, ForecastLabel, &TQorLabel::doText, 0);
    LinkEvent(Forecast->onColor, ForecastLabel, &TQorLabel::doFontColor, 0);
    LinkEvent(Forecast->onTip, TrayTip, &TQorTrayTip::doForecast, 0);
    LinkEvent(Forecast->onAlert, TrayIcon, &TQorTrayIcon::doBalloon, 0);
    LinkEvent(MinuteHub->onEvent[0], IssueAge, &TQorIssueTime::doCheck, 0);
    LinkEvent(MinuteHub->onEvent[1], Forecast, &TQorKpForecast::doCheck, 0);

    // ---- Data links ------------------------------------------------------------

    LinkData(FtpReader->Target, LocalPath, &TQorStrCat::Result, 0);
    LinkData(FtpReader->FileName, RemotePath, &TQorMemory::Value, 0);
    LinkData(KpParser->Data[0], LocalPath, &TQorStrCat::Result, 0);
    LinkData(TrayState->Data[0], IconError, &TQorIcon::Icon, 0);
    LinkData(TrayState->Data[1], IconGreen, &TQorIcon::Icon, 0);
    LinkData(TrayState->Data[2], IconYellow, &TQorIcon::Icon, 0);
    LinkData(TrayState->Data[3], IconRed, &TQorIcon::Icon, 0);
    LinkData(LocalPath->Str1, DataDir, &TQorDataDir::Dir, 0);
    LinkData(MonthFeed->Data[0], KpParser, &TQorMultiElementEx::Var, 0);
    LinkData(DayFeed->Data[0], MonthFeed, &TQorMultiElementEx::Var, 0);
    LinkData(DayFeed->Data[1], Schedule, &TQorMultiElementEx::Var, 1);
    LinkData(Schedule->Data[0], StatusLed, &TQorLED::State, 0);
    LinkData(UpdatedFormat->DateTime, Schedule, &TQorMultiElementEx::Var, 0);
    LinkData(WebReader->Target, LocalPath, &TQorStrCat::Result, 0);
    LinkData(NeedWeb->Op1, Fetched, &TQorMemory::Value, 0);
    LinkData(FetchOutcome->Op1, Fetched, &TQorMemory::Value, 0);
    LinkData(DataDir->Folder, ProgramDir, &TQorDir::Dir, 0);
    LinkData(StartFileCheck->FileName, LocalPath, &TQorStrCat::Result, 0);
    LinkData(FileTime->FileName, LocalPath, &TQorStrCat::Result, 0);
    LinkData(FileTime->Bias, BiasStore, &TQorMemory::Value, 0);
    LinkData(FileTimeFormat->DateTime, FileTime, &TQorFileTime::DateTime, 0);
    LinkData(IssueAge->Lines, KpParser, &TQorMultiElementEx::Var, 0);
    LinkData(IssueAge->Bias, BiasStore, &TQorMemory::Value, 0);
    LinkData(ForecastPath->Str1, DataDir, &TQorDataDir::Dir, 0);
    LinkData(ForecastReader->Target, ForecastPath, &TQorStrCat::Result, 0);
    LinkData(Forecast->FileName, ForecastPath, &TQorStrCat::Result, 0);
    LinkData(Forecast->Bias, BiasStore, &TQorMemory::Value, 0);

    // ---- Finishing pass, in creation order --------------------------------------

    Finish(MainForm);
    MainForm->PositionSource = nullptr; // its docking target: none
    KpParser->SetInstanceFactory(NewInstance<TKpExtraction>);
    Finish(CreditLabel);
    Finish(TitleLabel);
    Finish(StatusLed);
    TrayState->SetInstanceFactory(NewInstance<TTrayState>);
    Finish(AboutLabel);
    Finish(KpCaptionLabel);
    Finish(KpValueLabel);
    Finish(UpdatedLabel);
    Finish(MonthGraph);
    MonthFeed->SetInstanceFactory(NewInstance<TMonthFeed>);
    Finish(AxisLabel30);
    Finish(AxisLabel20);
    Finish(AxisLabel10);
    Finish(AxisLabel0);
    Finish(MonthTitleLabel);
    Finish(DayPlot);
    Finish(DayTitleLabel);
    DayFeed->SetInstanceFactory(NewInstance<TDayFeed>);
    Schedule->SetInstanceFactory(NewInstance<TRefreshSchedule>);
    Finish(IssuedLabel);
    ForecastBars->AttachTo(DayPlot);
    Finish(ForecastLabel);

    // Tab and Shift+Tab move between the form's tab stops (it has none).
    MainForm->Control->KeyNavigation = true;
}

TPlotterInterface *TMainScheme::DayPlotter()
{
    return DayPlot;
}
