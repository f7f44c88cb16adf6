// A small program that lets a failure escape the way the product would, for the
// fatal-error tests. Its first argument says which failure:
//   assert  - an assertion failure in a handler, inside the loop
//   std     - a std::runtime_error in a handler
//   access  - a write to an invalid address in a handler
//   none    - no failure: the handler ends the loop
#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "winlayer/Assert.h"
#include "winlayer/FatalError.h"
#include "winlayer/WinApp.h"

using namespace winlayer;

namespace {

std::string gMode;

bool Fail(void *, TWinControl *, MSG &msg, LRESULT &)
{
    if (msg.message != WM_APP + 1)
        return false;
    if (gMode == "assert")
        Check(false, "probe: assertion in a handler");
    if (gMode == "std")
        throw std::runtime_error("probe: runtime error in a handler");
    if (gMode == "access") {
        volatile uintptr_t bad = 8;
        *reinterpret_cast<volatile int *>(bad) = 1;
    }
    PostQuitMessage(0);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    InstallFatalErrorHandlers();
    gMode = argc > 1 ? argv[1] : "";
    try {
        NewAppWindow("probe");
        Application->SetVisible(false);
        TWinControl *form = NewForm(Application, "probe form");
        form->SetVisible(false);
        AddHandler(form, TMessageHandler{&Fail, nullptr});
        Application->EnsureWindow();
        PostMessageA(form->Handle, WM_APP + 1, 0, 0);
        RunLoop(Application);
    } catch (...) {
        FatalCurrentException();
    }
    return 0;
}
