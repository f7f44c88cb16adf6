// kpdump [--hour H] FILE
// Runs the sub-schemes that read DGD.txt on FILE, from a fresh start, wired as
// the program wires them, and prints what they produced as one JSON line:
//   {"value": "2", "level": 1, "icon": "ICON3", "tooltip": "Kp:2", "graph": [...], "recent": "..."}
// value and level are null when nothing was announced; icon and tooltip are then
// left out. With --hour H (the local hour, 0 to 23) the daily histogram feed
// runs at that hour and the line ends with
//   "bars": [[g, y, r], ...]
// one entry per bar position from left to right: the heights of the green,
// yellow and red bars there (an empty list when the plot stays empty).
// Exit 0 when FILE could be read, 2 otherwise or on bad arguments.
#include <cstdio>
#include <string>
#include <vector>

#include "app/KpPipeline.h"
#include "winlayer/Files.h"
#include "winlayer/NumText.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

int Usage(const std::string &Complaint)
{
    std::fprintf(stderr, "kpdump: %s\nusage: kpdump [--hour H] FILE   (H: 0 to 23)\n", Complaint.c_str());
    return 2;
}

// 0..23 written with one or two digits; -1 for anything else.
int ParseHour(const std::string &Text)
{
    if (Text.empty() || Text.size() > 2)
        return -1;
    int hour = 0;
    for (char c : Text) {
        if (c < '0' || c > '9')
            return -1;
        hour = hour * 10 + (c - '0');
    }
    return hour <= 23 ? hour : -1;
}

// A JSON string; every byte outside printable ASCII as \u00XX of its value.
std::string Quoted(const std::string &Text)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (char ch : Text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c >= 0x20 && c < 0x7F) {
            out += ch;
        } else {
            out += "\\u00";
            out += Hex[c >> 4];
            out += Hex[c & 15];
        }
    }
    return out + "\"";
}

std::string Json(TKpPipeline &Pipeline, bool WithBars)
{
    const TKpPipeline::TOutcome &got = Pipeline.Outcome();
    std::string out = "{\"value\": ";
    out += got.Values.empty() ? "null" : Quoted(got.Values.back());
    out += ", \"level\": ";
    out += got.Levels.empty() ? "null" : std::to_string(got.Levels.back());
    if (!got.Icons.empty())
        out += ", \"icon\": " + Quoted(got.Icons.back());
    if (!got.Hints.empty())
        out += ", \"tooltip\": " + Quoted(got.Hints.back());
    out += ", \"graph\": [";
    for (size_t i = 0; i < got.Graph.size(); ++i) {
        if (i > 0)
            out += ", ";
        // What the graph makes of each one-character string.
        out += winlayer::RealToText(winlayer::TextToReal(got.Graph[i]));
    }
    out += "], \"recent\": " + Quoted(Pipeline.Recent());
    if (WithBars) {
        out += ", \"bars\": [";
        const std::vector<TKpPipeline::TDayBar> bars = Pipeline.DayBars();
        for (size_t i = 0; i < bars.size(); ++i) {
            if (i > 0)
                out += ", ";
            out += "[" + winlayer::RealToText(bars[i].Green) + ", " + winlayer::RealToText(bars[i].Yellow) + ", " +
                   winlayer::RealToText(bars[i].Red) + "]";
        }
        out += "]";
    }
    return out + "}";
}

} // namespace

int main(int argc, char **argv)
{
    std::string file;
    int hour = 0;
    bool haveHour = false;
    bool haveFile = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--hour") {
            if (i + 1 >= argc)
                return Usage("--hour needs a value");
            hour = ParseHour(argv[++i]);
            if (hour < 0)
                return Usage("bad hour \"" + std::string(argv[i]) + "\"");
            haveHour = true;
        } else if (!haveFile && (arg.empty() || arg[0] != '-' || arg == "-")) {
            file = arg;
            haveFile = true;
        } else {
            return Usage("unexpected argument \"" + arg + "\"");
        }
    }
    if (!haveFile)
        return Usage("no file given");

    std::string content;
    if (!winlayer::FileExists(file) || !winlayer::ReadWholeFile(file, content)) {
        std::fprintf(stderr, "kpdump: cannot read %s\n", file.c_str());
        return 2;
    }

    TKpPipeline pipeline;
    pipeline.SetHour(hour);
    StartHooks();
    RunStartList();
    pipeline.Parse(file);
    const std::string line = Json(pipeline, haveHour) + "\n";
    StopHooks();

#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::fwrite(line.data(), 1, line.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 2;
}
