#pragma once
#include "winlayer/WinControl.h"

// The application window, forms and the message loop.
namespace winlayer {

// The hidden popup that carries the taskbar button and owns the forms. Sets
// AppWindowUsed, and Application when the program has none yet.
TWinControl *NewAppWindow(const std::string &caption);
// A top-level form under parent (the application window here), with the form and
// background handlers attached.
TWinControl *NewForm(TWinControl *parent, const std::string &caption);

// Runs the loop on the application window held by appWindow until the program is
// told to end, then StopLoop, which frees it and sets the variable to none.
void RunLoop(TWinControl *&appWindow);
void StopLoop(TWinControl *&appWindow);
// Handles one queued message; false when the queue is empty or the message was 0.
bool PumpMessage(TWinControl *appWindow);
// Handles messages until PumpMessage returns false.
void PumpMessages(TWinControl *appWindow);

// How WaitPumping ended.
enum class TWaitEnd { Done, TimeUp, Quit };
// Waits up to Ms milliseconds for the event Done, handling meanwhile every
// message but timer ticks, so that the windows repaint and answer the user
// while the program waits for something slow. Timer ticks wait in the queue for
// the loop: they start the program's work, which must not begin on top of the
// work that waits. Quit when the program is told to end (WM_QUIT, which ends
// the loop as in PumpMessage) before Done.
TWaitEnd WaitPumping(HANDLE Done, uint32_t Ms);

// The handlers the application window and forms get.
bool AppWindowMessages(void *data, TWinControl *sender, MSG &msg, LRESULT &result);
bool FormMessages(void *data, TWinControl *sender, MSG &msg, LRESULT &result);
bool PaintFormBackground(void *data, TWinControl *sender, MSG &msg, LRESULT &result);
void EditAppSystemMenu(void *data, TWinControl *sender);

// What NewForm attaches (in this order); the controls code may put fuller versions here.
extern TMessageHandler FormHandler;
extern TMessageHandler FormBackgroundHandler;

} // namespace winlayer
