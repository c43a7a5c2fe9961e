// The main panel TfrmMain: six buttons over the auto-hide engine, the two INI
// components, the reveal and caption timers, and the two window messages the
// engine runs on (the hook's pointer reports and application activation).
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/forms/form.h"

#include <string>

namespace wt {

class TBevel;
class TBitBtn;
class TIniEditor;
class TTimer;

class TfrmMain : public TForm {
    Q_OBJECT
public:
    explicit TfrmMain(TComponent* owner = nullptr);
    ~TfrmMain() override;

    TBevel* Bevel1 = nullptr;
    TBevel* Bevel2 = nullptr;
    TBevel* Bevel3 = nullptr;
    TBitBtn* btnOptions = nullptr;
    TBitBtn* btnStop = nullptr;
    TBitBtn* btnHide = nullptr;
    TBitBtn* btnHelp = nullptr;
    TBitBtn* btnAbout = nullptr;
    TBitBtn* btnStart = nullptr;
    TIniEditor* ini = nullptr;
    TIniEditor* iniProj = nullptr;
    TTimer* timerWait = nullptr;
    TTimer* timerMess = nullptr;

    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void btnStartClick(TObject* sender);
    void btnStopClick(TObject* sender);
    void btnHideClick(TObject* sender);
    // A new About box, owned by the application, shown modally and freed.
    void btnAboutClick(TObject* sender);
    // The Options dialog, owned by the application, shown modally and freed;
    // then the settings are read again from the file.
    void btnOptionsClick(TObject* sender);
    void btnHelpClick(TObject* sender);
    void timerWaitTimer(TObject* sender);
    void timerMessTimer(TObject* sender);

    // The panel has no system menu, but a window manager may still ask it to
    // close: that hides it, as Hide does.
    void WindowCloseRequested() override;

    // Set while ClosePanel closes the panel: only then does closing free it.
    bool FreeOnClose = false;
};

WT_REGISTER_CLASS(TfrmMain);

// The one panel; null until first created and after ClosePanel.
extern TfrmMain* Panel;
// The caption the panel returns to.
extern const std::string PanelCaption;

// Shows a message in the stay-on-top message dialog, owned by the panel.
void ShowOops(const std::string& message);

} // namespace wt
