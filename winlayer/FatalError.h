#pragma once
#include <string>

#include "winlayer/Callback.h"

// The end of the program when a failure escapes as an exception: a task-modal
// error box, then exit code 1.
namespace winlayer {

constexpr const char *FatalErrorCaption = "Application Error";

// Shows the box: (text, caption). Unset, a task-modal MessageBoxA is shown.
using TFatalErrorBox = TCallback<void(const char *text, const char *caption)>;
// Replaces the box (a test helper writes the text somewhere instead of blocking);
// returns the one it replaces.
TFatalErrorBox SetFatalErrorBox(TFatalErrorBox box);

// "Exception <class> in module <module> at <address>.\n<message>".
std::string FormatFatalError(const std::string &className, const std::string &moduleName,
                             const void *address, const std::string &message);
// The text for the C++ exception being handled; call it inside a catch block.
std::string CurrentExceptionText();

// Shows the box with the text and ends the process with exit code 1.
[[noreturn]] void FatalError(const std::string &text);
// The same for the C++ exception being handled.
[[noreturn]] void FatalCurrentException();
// True while the box is up: windows then get default processing only.
bool FatalErrorShowing();

// Turns processor faults (invalid memory access, division by zero, ...) in the
// program's own code, faults nobody handles, and a terminate into the box.
void InstallFatalErrorHandlers();

} // namespace winlayer
