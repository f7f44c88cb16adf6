// graphrefill [DGD.txt] [REFILLS]
// Times the 30-day graph's refill under Windows (or Wine): the values of the
// file (default: the bundled sample) as the 30-day feed gives them, put into
// the main scheme's own MonthGraph (the scheme built, not started: no tray
// icon, no download) on its form, shown; each refill a clear, every value added
// and the window brought up to date (so the picture is drawn at least once). Prints the values per refill and the mean time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/KpPipeline.h"
#include "app/TMainScheme.h"
#include "elements/chart/TQorGrapher.h"
#include "elements/win/TQorMainForm.h"
#include "winlayer/NumText.h"
#include "winlayer/WinApp.h"

namespace {

// The graph values of Path as the 30-day feed adds them.
std::vector<double> FeedValues(const std::string &Path)
{
    TKpPipeline pipeline;
    StartHooks();
    RunStartList();
    pipeline.Parse(Path);
    std::vector<double> values;
    for (const std::string &value : pipeline.Outcome().Graph)
        values.push_back(winlayer::TextToReal(value));
    StopHooks();
    return values;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string path = argc > 1 ? argv[1] : TERVIK_SAMPLE_DGD;
    const int refills = argc > 2 ? std::atoi(argv[2]) : 50;
    const std::vector<double> values = FeedValues(path);
    if (values.empty() || refills < 1) {
        std::fprintf(stderr, "no graph values in %s\n", path.c_str());
        return 1;
    }

    TMainScheme scheme;
    ShowWindow(scheme.MainForm->Control->Handle, SW_SHOW);
    HWND graph = scheme.MonthGraph->Control->Handle;
    winlayer::PumpMessages(nullptr);

    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    int undrawn = 0; // refills after which the picture was still out of date
    QueryPerformanceCounter(&start);
    for (int i = 0; i < refills; ++i) {
        TData none;
        scheme.MonthGraph->doClear(none, 1);
        for (double value : values) {
            TData d = RealData(value);
            scheme.MonthGraph->doAdd(d, 0);
        }
        RedrawWindow(graph, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        undrawn += scheme.MonthGraph->Stale ? 1 : 0;
    }
    QueryPerformanceCounter(&end);
    const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart) / refills;
    std::printf("%zu values per refill, %d refills: %.3f ms per refill\n", values.size(), refills, ms);
    if (undrawn)
        std::printf("the picture was out of date after %d refills\n", undrawn);
    StopHooks();
    return 0;
}
