#pragma once
#include <string>

#include "winlayer/WinControl.h"

// The program's main form until the main form element takes its place: the first
// one makes the application window, and the form stays hidden from the start.
class TMinimalMainForm {
public:
    explicit TMinimalMainForm(const std::string &caption);
    ~TMinimalMainForm();
    TMinimalMainForm(const TMinimalMainForm &) = delete;
    TMinimalMainForm &operator=(const TMinimalMainForm &) = delete;

    // Applies the start visibility (hidden) to the application window and the form.
    void Start();
    winlayer::TWinControl *Control() const { return Form; }

private:
    static void ControlGone(void *data, winlayer::TWinControl *sender);

    bool IsMain = false;
    bool Visible = false;
    winlayer::TWinControl *Form = nullptr;
};
