#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "elements/win/TQorWin.h"
#include "winlayer/WinBitmap.h"

// The element that owns a top-level form. The first one also makes the window
// layer's application object and is the main form: its Start switches the
// scheme on before the message loop runs, and its close ends the program.
class TQorMainForm : public TQorWin {
public:
    explicit TQorMainForm(winlayer::TWinControl *ParentControl);
    ~TQorMainForm() override;

    uint8_t IsMain = 0;
    uint8_t FirstShowDone = 0;
    void *MenuInterface = nullptr;              // AttachMenu; none in this program
    winlayer::TWinBitmap *Background = nullptr; // owned; drawn at (0, 0) when not empty
    TControlProvider *PositionSource = nullptr; // a form this one follows; none here
    int32_t FollowOffsetX = 0;
    int32_t FollowOffsetY = 0;
    uint8_t DragByClient = 0;
    uint8_t AlphaBlend = 255;
    uint8_t WindowState = 0; // 0 normal, 1 minimised, 2 maximised; at the first show
    void (TQorMainForm::*PositionHook)(bool Save) = &TQorMainForm::PositionNone;
    std::string SavePosition; // empty: none; with ".ini\": an ini file; else a registry key
    uint8_t ClientSize = 0;
    winlayer::TCallback<void(TQorMainForm *Form)> AfterInit;
    TPointLink CloseQuery;
    TPointLink onActivate;
    TPointLink onDeactivate;
    TPointLink onCreate;
    TPointLink onClose;

    void SetCaption(const std::string &Caption);
    void SetBorderStyle(uint8_t Style);
    void SetIcon(HICON Icon);
    void SetNoTaskbarButton(uint8_t Value);
    void AttachMenu(void *Menu);
    // Switches the scheme on: dispatch, then the start list (onCreate, visibility).
    void Start();
    // Gives the window the opacity AlphaBlend (Init does); nothing when unchanged.
    void ApplyAlphaBlend();

    void MouseDown(const TQorMouseRecord &Mouse) override;
    bool Message(MSG &Msg, LRESULT &Result) override;
    void Shown() override;
    void Init() override;

    // The registered message that makes secondary forms follow their source.
    static UINT InnerMessage();
    // The windows of the secondary forms.
    static std::vector<HWND> &SecondaryForms();

    // Position saving: nothing, an ini file beside the program, or the registry.
    void PositionNone(bool Save);
    void PositionIni(bool Save);
    void PositionRegistry(bool Save);
    // Where the ini variant looks for its file (the program's folder); tests may
    // put a folder of their own here.
    static std::string (*IniFolder)();

private:
    static void StartRoutine(void *Self);
    static void PaintBackgroundPicture(void *Self, winlayer::TWinControl *Sender, HDC Dc);
    // Returns whether the close message is handled (refused or kept).
    bool CloseRoutine(bool UserClose);
    void PostInner();

    uint8_t AppliedAlpha = 255; // what the window has now; never layered yet
    HWND ListedHandle = nullptr; // in the secondary-form list
};
