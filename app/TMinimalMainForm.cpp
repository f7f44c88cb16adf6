#include "app/TMinimalMainForm.h"

#include "winlayer/WinApp.h"

using namespace winlayer;

TMinimalMainForm::TMinimalMainForm(const std::string &caption)
{
    if (!Application) {
        NewAppWindow(caption);
        IsMain = true;
    }
    Form = NewForm(Application, "Form");
    Form->SetVisible(false);
    Form->OnDestroy = TControlHook{&ControlGone, this};
    Form->SetCaption(caption);
    if (IsMain && Application)
        Application->SetCaption(caption);
}

TMinimalMainForm::~TMinimalMainForm()
{
    if (Form) {
        Form->OnDestroy = TControlHook{};
        Form->Free();
        Form = nullptr;
    }
    // The loop frees the application window; this is for a scheme that never ran it.
    if (IsMain && Application)
        Application->Free();
}

void TMinimalMainForm::ControlGone(void *data, TWinControl *)
{
    static_cast<TMinimalMainForm *>(data)->Form = nullptr;
}

void TMinimalMainForm::Start()
{
    if (IsMain && Application)
        Application->SetVisible(Visible);
    Form->SetVisible(Visible);
}
