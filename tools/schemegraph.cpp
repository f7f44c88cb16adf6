// schemegraph [FILE]
// schemegraph --check FILE
// Builds the main scheme (and so its five sub-schemes) without starting it, and
// writes its wiring as a Graphviz graph: every element a box, every event link a
// solid arrow (source -> method), every data link a dashed arrow (the data
// output -> the input that reads it). A container and the edge inside its
// instance are one box, inside the frame of the sub-scheme. The links are read
// back from the elements' own link fields after construction; LinkWatch only
// tells which fields were written and whether each is an event or a data input.
// With --check the graph is compared with FILE instead: exit 1 when they differ.
// Exit 2 when an element has no name here or a link leads outside the elements.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "app/TMainScheme.h"
#include "app/TKpExtraction.h"
#include "app/TTrayState.h"
#include "app/TMonthFeed.h"
#include "app/TDayFeed.h"
#include "app/TRefreshSchedule.h"
// Every element class the schemes make: the boxes need their sizes.
#include "elements/chart/TQorGrapher.h"
#include "elements/chart/TQorPlotForecast.h"
#include "elements/chart/TQorPlotHistogram.h"
#include "elements/chart/TQorPlotter.h"
#include "elements/io/TQorRegistry.h"
#include "elements/io/TQorTimer.h"
#include "elements/io/TQorWebFile.h"
#include "elements/io/TQorWinFTP.h"
#include "elements/text/TQorArrayEnum.h"
#include "elements/text/TQorCopy.h"
#include "elements/text/TQorDataDir.h"
#include "elements/text/TQorDateConvertor.h"
#include "elements/text/TQorDir.h"
#include "elements/text/TQorFileTime.h"
#include "elements/text/TQorIf_else.h"
#include "elements/text/TQorIssueTime.h"
#include "elements/text/TQorKpFileCheck.h"
#include "elements/text/TQorKpDecimals.h"
#include "elements/text/TQorKpForecast.h"
#include "elements/text/TQorMath.h"
#include "elements/text/TQorReplace.h"
#include "elements/text/TQorStormAlert.h"
#include "elements/text/TQorStrCat.h"
#include "elements/text/TQorStrList.h"
#include "elements/text/TQorStr_Enum.h"
#include "elements/text/TQorTime.h"
#include "elements/text/TQorTrayTip.h"
#include "elements/text/TQorTrim.h"
#include "elements/win/TQorIcon.h"
#include "elements/win/TQorLED.h"
#include "elements/win/TQorLabel.h"
#include "elements/win/TQorMainForm.h"
#include "elements/win/TQorTrayIcon.h"
#include "runtime/TClassMultiBase.h"
#include "runtime/TQorChanelToIndex.h"
#include "runtime/TQorDoData.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorEventFromData.h"
#include "runtime/TQorFor.h"
#include "runtime/TQorGetIndexData.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorIndexToChanel.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorMultiElementEx.h"
#include "runtime/TQorStack.h"

namespace {

struct Box {
    const char *Start;
    size_t Size;
    std::string Id;    // the node: scheme member name, "Container.Member" inside a sub-scheme
    std::string Label; // member name and class
    size_t InFrame;    // 0 the main scheme, i the i-th sub-scheme
    bool Container;    // a container, or the edge that stands for it inside
};

struct Frame {
    std::string Label;
    size_t Count; // elements the scheme made
    size_t Named = 0;
};

struct Watched {
    const TPointLink *Field;
    bool Event;
};

std::vector<Box> Boxes;
std::vector<Frame> Frames;
std::vector<Watched> Fields;

void Watch(const TPointLink &Field, bool Event)
{
    Fields.push_back({&Field, Event});
}

// The class name as the compiler spells it in this function's signature.
template <class T> std::string ClassOf()
{
    std::string f = __PRETTY_FUNCTION__;
    size_t from = f.find("T = ") + 4;
    return f.substr(from, f.find_first_of(";]", from) - from);
}

template <class T> void Name(T *Element, const std::string &Member, const std::string &Prefix)
{
    std::string id = Prefix.empty() ? Member : Prefix + "." + Member;
    Boxes.push_back({reinterpret_cast<const char *>(Element), sizeof(T), id, Member + "\\n" + ClassOf<T>(),
                     Frames.size() - 1, std::is_same_v<T, TQorMultiElementEx> || std::is_same_v<T, TQorEditMultiEx>});
    Frames.back().Named++;
}

// A sub-scheme's frame, opened with its edge, which is its container's box.
template <class S> S &Open(TQorMultiElementEx *Container, const std::string &Member)
{
    S &s = *static_cast<S *>(Container->Current->Scheme);
    Frames.push_back({Member + ": " + ClassOf<S>(), s.ElementCount()});
    Name(s.Edge, Member, "");
    Boxes.back().Label = Member + "\\n" + ClassOf<TQorMultiElementEx>() + " / " + ClassOf<TQorEditMultiEx>();
    return s;
}

// The names are the members' own: a member renamed or gone stops the build, an
// element added without a name here stops the tool.
#define N(m) Name(s.m, #m, p)

void NameAll(TMainScheme &m)
{
    Frames.push_back({"", m.ElementCount()});
    {
        auto &s = m;
        std::string p;
        N(MainForm); N(FtpReader); N(KpParser); N(CreditLabel); N(TrayIcon); N(StartHub); N(TitleLabel);
        N(StatusLed); N(TrayState); N(ProgramDir); N(LocalPath); N(RemotePath); N(FetchHub); N(AboutLabel);
        N(KpCaptionLabel); N(IconRed); N(IconYellow); N(IconGreen); N(IconError); N(KpValueLabel);
        N(UpdatedLabel); N(ResultHub); N(MonthGraph); N(MonthFeed); N(AxisLabel30); N(AxisLabel20);
        N(AxisLabel10); N(AxisLabel0); N(MonthTitleLabel); N(DayPlot); N(DayTitleLabel); N(DayFeed);
        N(Schedule); N(UpdatedFormat); N(WebReader); N(FetchedMark); N(Fetched); N(NeedWeb); N(FetchOutcome);
        N(DataDir); N(BiasReader); N(BiasStore); N(StartFileHub); N(StartFileCheck); N(StartParseHub);
        N(FileTime); N(FileTimeFormat); N(IssuedLabel); N(IssueAge); N(AgeTimer); N(TrayTip); N(IsStorm);
        N(StormAlert); N(ForecastPath); N(ForecastReader); N(Forecast); N(ForecastBars);
        N(ForecastLabel); N(MinuteHub);
    }
    {
        std::string p = "KpParser";
        auto &s = Open<TKpExtraction>(m.KpParser, p);
        N(FileLines); N(LineEnum); N(LoadHub); N(Lines); N(Decimals); N(CrLfToLf); N(LineBreaks);
        N(IsEmptyLine); N(TrimSpaces); N(TrimBreaks); N(TextHub); N(LineTail); N(TailChars); N(IsSpace);
        N(SpaceHub); N(ValueChar); N(TailStore); N(IsLow); N(CharPos); N(IsMiddle); N(ValueHub);
    }
    {
        std::string p = "TrayState";
        auto &s = Open<TTrayState>(m.TrayState, p);
        N(IconPick); N(IconOut); N(LevelHub1); N(LevelHub2); N(LevelHub3); N(HintText); N(ErrorHub);
        N(ErrorText); N(Channel);
    }
    {
        std::string p = "MonthFeed";
        auto &s = Open<TMonthFeed>(m.MonthFeed, p);
        N(LineWalk); N(IsBlank); N(RowTrimSpaces); N(RowTrimBreaks); N(RowTail); N(RowChars); N(IsDataRow);
        N(IsDigit); N(IsMissing); N(RowHub); N(RowStore); N(PairText); N(PairChars); N(IsPairDigit);
        N(IsPairMissing); N(TailHub); N(Recent); N(LatestTail); N(TailStack); N(PairHub); N(PreviousTail);
    }
    {
        std::string p = "DayFeed";
        auto &s = Open<TDayFeed>(m.DayFeed, p);
        N(DayChars); N(PadLoop); N(ZeroBar); N(DayHub); N(IsLowBar); N(IsMiddleBar); N(RedBars);
        N(YellowBars); N(GreenBars); N(AddHub); N(GreenValue); N(YellowValue); N(RedValue); N(BarHub);
        N(SlotCount); N(DayValues); N(DayStore);
    }
    {
        std::string p = "Schedule";
        auto &s = Open<TRefreshSchedule>(m.Schedule, p);
        N(HourSwitch); N(CheckTimer); N(Clock); N(HourHub); N(FetchTrigger); N(IsNegative); N(AddDay);
        N(UtHour); N(PassHour); N(HourStore); N(IsLedOn); N(RetryTimer); N(ParseHub); N(BiasReader);
        N(BiasHours); N(MinuteReader); N(LateHalf); N(IsFullDay); N(SubDay);
    }
}

#undef N

const Box *BoxAt(const void *Address)
{
    const char *a = static_cast<const char *>(Address);
    for (const Box &b : Boxes)
        if (a >= b.Start && a < b.Start + b.Size)
            return &b;
    return nullptr;
}

// The element whose link array holds Field, and the channel. The array is a
// std::vector<TPointLink> member: three words, the begin, end and end of room of
// its storage.
const Box *ArrayOwner(const TPointLink *Field, size_t &Channel)
{
    const uintptr_t f = reinterpret_cast<uintptr_t>(Field), size = sizeof(TPointLink);
    for (const Box &b : Boxes) {
        for (size_t at = 0; at + 3 * sizeof(uintptr_t) <= b.Size; at += sizeof(uintptr_t)) {
            uintptr_t w[3];
            std::memcpy(w, b.Start + at, sizeof w);
            if (w[0] <= f && f < w[1] && w[1] <= w[2] && (f - w[0]) % size == 0 && (w[1] - w[0]) % size == 0 &&
                (w[2] - w[0]) % size == 0 && (w[2] - w[0]) / size <= 0xFFFF) {
                Channel = (f - w[0]) / size;
                return &b;
            }
        }
    }
    return nullptr;
}

struct Arrow {
    std::string From, To, Label;
    bool Event;
};

int Fail(const std::string &Complaint)
{
    std::fprintf(stderr, "schemegraph: %s\n", Complaint.c_str());
    return 2;
}

// A right arrow in UTF-8, which Graphviz reads.
const std::string Towards = "\xE2\x86\x92";

std::string Quoted(const std::string &Text)
{
    return "\"" + Text + "\"";
}

} // namespace

int main(int argc, char **argv)
{
    bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
    if (argc > 2 && !check)
        return Fail("usage: schemegraph [FILE] | schemegraph --check FILE");
    const char *path = argc > 1 ? argv[argc - 1] : nullptr;

    LinkWatch = Watch;
    auto *scheme = new TMainScheme();
    LinkWatch = nullptr;
    NameAll(*scheme);
    for (const Frame &f : Frames)
        if (f.Named != f.Count)
            return Fail((f.Label.empty() ? std::string("the main scheme") : f.Label) + " made " +
                        std::to_string(f.Count) + " elements, " + std::to_string(f.Named) + " are named here");

    std::vector<Arrow> arrows;
    for (const Watched &w : Fields) {
        const TPointLink &link = *w.Field;
        size_t channel = 0;
        bool inArray = false;
        const Box *owner = BoxAt(w.Field);
        if (!owner) {
            owner = ArrayOwner(w.Field, channel);
            inArray = owner != nullptr;
        }
        const Box *target = BoxAt(link.Target);
        if (!owner || !target || !link.Wired())
            return Fail("a link of the scheme is not held by an element or leads to none");
        std::string from = inArray ? std::to_string(channel) : "";
        std::string to = link.Index != 0 || target->Container ? std::to_string(link.Index) : "";
        // Data flows from the output to the input that reads it.
        if (!w.Event)
            std::swap(from, to);
        std::string label = from + (to.empty() ? "" : Towards + to);
        Arrow a{w.Event ? owner->Id : target->Id, w.Event ? target->Id : owner->Id, label, w.Event};
        // Parallel links between the same two boxes make one arrow.
        bool merged = false;
        for (Arrow &b : arrows)
            if (b.From == a.From && b.To == a.To && b.Event == a.Event) {
                b.Label += ", " + a.Label;
                merged = true;
                break;
            }
        if (!merged)
            arrows.push_back(a);
    }

    auto linked = [&](const Box &b) {
        for (const Arrow &a : arrows)
            if (a.From == b.Id || a.To == b.Id)
                return true;
        return false;
    };
    std::string dot;
    dot += "// Made by tools/schemegraph from the schemes as the program builds them; do not edit.\n";
    dot += "digraph tervik {\n";
    dot += "  graph [rankdir=TB, fontname=\"Helvetica\", fontsize=14, labelloc=t, label=\"Tervik: the main scheme "
           "and its five sub-schemes\\lsolid arrow: event link, event -> method\\ldashed arrow: data link, data "
           "output -> the input that reads it\\la" + Towards + "b: the channel of an indexed point, or the index "
           "a link passes, at the tail (a) and at the head (b)\\l\"];\n";
    dot += "  node [shape=box, fontname=\"Helvetica\", fontsize=10];\n";
    dot += "  edge [fontname=\"Helvetica\", fontsize=8];\n";
    // Frame 0 holds the main scheme's elements that no link touches.
    for (size_t f = 0; f < Frames.size(); f++) {
        dot += "  subgraph " + Quoted("cluster_" + std::to_string(f)) + " {\n    label=" +
               Quoted(f ? Frames[f].Label : "no links") + "; style=rounded; color=grey50;\n";
        for (const Box &b : Boxes)
            if (b.InFrame == f && !(f == 0 && (b.Container || linked(b))))
                dot += "    " + Quoted(b.Id) + " [label=" + Quoted(b.Label) +
                       (b.Container ? ", style=\"filled,bold\", fillcolor=lightyellow" : "") + "];\n";
        dot += "  }\n";
    }
    for (const Box &b : Boxes)
        if (b.InFrame == 0 && !b.Container && linked(b))
            dot += "  " + Quoted(b.Id) + " [label=" + Quoted(b.Label) + "];\n";
    for (const Arrow &a : arrows) {
        std::string attributes = a.Event ? "" : "style=dashed";
        if (!a.Label.empty())
            attributes += (attributes.empty() ? "label=" : ", label=") + Quoted(a.Label);
        dot += "  " + Quoted(a.From) + " -> " + Quoted(a.To) + (attributes.empty() ? "" : " [" + attributes + "]") +
               ";\n";
    }
    dot += "}\n";
    delete scheme;

    if (check) {
        std::string old;
        if (FILE *in = std::fopen(path, "rb")) {
            char buffer[4096];
            size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
                old.append(buffer, n);
            std::fclose(in);
        }
        if (old != dot) {
            std::fprintf(stderr, "schemegraph: %s does not show the wiring as built: run scripts/draw-wiring.sh\n",
                         path);
            return 1;
        }
        return 0;
    }
    FILE *out = path ? std::fopen(path, "wb") : stdout;
    if (!out)
        return Fail(std::string("cannot write ") + path);
    std::fwrite(dot.data(), 1, dot.size(), out);
    return (path ? std::fclose(out) : std::fflush(out)) == 0 ? 0 : 2;
}
