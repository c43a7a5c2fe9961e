#include "engine/main.h"

#include "dialogs/about.h"
#include "dialogs/oops.h"
#include "engine/controller.h"
#include "engine/discovery.h"
#include "engine/edge_watch.h"
#include "engine/engine_state.h"
#include "engine/geometry.h"
#include "engine/moves.h"
#include "hostapi/toolsapi.h"
#include "platform/platform.h"
#include "settings/EasyINI.h"
#include "settings/options.h"
#include "settings/settings_store.h"
#include "toolkit/forms/application.h"
#include "toolkit/controls/bevel.h"
#include "toolkit/controls/bitbtn.h"
#include "toolkit/controls/timer.h"

#include "main_wfm.h"
#include "wingtucker_version.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

namespace wt {

TfrmMain* Panel = nullptr;
const std::string PanelCaption = "Wingtucker " WT_PRODUCT_VERSION;

namespace {

bool panelCreated = false;
TIToolServices* controllerServices = nullptr;

constexpr char NoWindowsMessage[] =
    "No windows are set to be hidden.  Use the options button to choose which windows to hide.";

} // namespace

TfrmMain::TfrmMain(TComponent* owner) : TForm(owner) {
    Field("Bevel1", Bevel1);
    Field("Bevel2", Bevel2);
    Field("Bevel3", Bevel3);
    Field("btnOptions", btnOptions);
    Field("btnStop", btnStop);
    Field("btnHide", btnHide);
    Field("btnHelp", btnHelp);
    Field("btnAbout", btnAbout);
    Field("btnStart", btnStart);
    Field("ini", ini);
    Field("iniProj", iniProj);
    Field("timerWait", timerWait);
    Field("timerMess", timerMess);
    Handler("FormCreate", &TfrmMain::FormCreate);
    Handler("FormClose", &TfrmMain::FormClose);
    Handler("btnStartClick", &TfrmMain::btnStartClick);
    Handler("btnStopClick", &TfrmMain::btnStopClick);
    Handler("btnHideClick", &TfrmMain::btnHideClick);
    Handler("btnAboutClick", &TfrmMain::btnAboutClick);
    Handler("btnOptionsClick", &TfrmMain::btnOptionsClick);
    Handler("btnHelpClick", &TfrmMain::btnHelpClick);
    Handler("timerWaitTimer", &TfrmMain::timerWaitTimer);
    Handler("timerMessTimer", &TfrmMain::timerMessTimer);
    SetMessageHandler(WM_WATCHMOUSE, [](TMessage& m) { WatchMouse(m.LParam); });
    SetMessageHandler(WM_ACTIVATEAPP, [](TMessage& m) { ActivateApp(m.WParam); });
    SetMessageHandler(WM_DISPLAYCHANGE, [](TMessage&) { MonitorsChanged(); });
    SetMessageHandler(WM_HOTKEY, [](TMessage&) { RevealByKey(); });
    ReadForm(forms::main, forms::mainFile);
}

TfrmMain::~TfrmMain() {
    // However the panel goes, nothing may reach it afterwards.
    if (Panel == this) {
        Panel = nullptr;
        panelCreated = false;
    }
}

void TfrmMain::FormCreate(TObject*) {
    Application()->SetHelpFile("WINGTCKR.HLP");
    Settings.MoveOutSound.clear();
    Settings.MoveInSound.clear();
    Settings.AnimateSpeed = 5;
    Settings.HangOutPixels = 5;
    Settings.DisableOnFocusLoss = true;
    DisabledByFocus = false;
    HookActive = false;
}

void TfrmMain::FormClose(TObject*, TCloseAction& action) {
    // Only ClosePanel frees the panel; a close request of the window system
    // hides it as Hide does, so no later operation finds a destroyed panel.
    action = FreeOnClose ? caFree : caHide;
}

void TfrmMain::btnStartClick(TObject*) {
    // The file as it is now: a change made while the panel was open counts.
    const TSettings running = Settings;
    ReadSettings(true);
    if (ini->ReadBool(SettingOf(sFindLostWindows).Section, SettingOf(sFindLostWindows).Key,
                      false)) {
        DelphiWindow.RestoreRect = {0, 0, 600, 106};
        InspectorWindow.RestoreRect = {0, 0, 220, 450};
        MoveInspector(InspectorWindow.RestoreRect, Settings.Motion, Settings.MoveOutSound, true);
        MoveDelphi(DelphiWindow.RestoreRect, Settings.Motion, Settings.MoveOutSound, true);
        InspectorWindow.Hidden = false;
        DelphiWindow.Hidden = false;
    }
    const char* project = controllerServices ? controllerServices->CurrentProjectName() : "";
    const bool noProject = !project || !*project;
    const bool noWindow = !Settings.HideInspector && !Settings.HideDelphi;
    if ((noProject || noWindow) && EngineRunning) {
        // A running engine keeps the settings its windows were placed by.
        Settings = running;
        timerWait->SetInterval(Settings.OpenDelay);
    }
    if (noProject) {
        SetCaption(FromStd("Please load a project first..."));
        timerMess->SetEnabled(true);
        return;
    }
    if (noWindow) {
        ShowOops(NoWindowsMessage);
        return;
    }
    // A second Start takes the places from before the first, not the tucked ones.
    if (EngineRunning)
        RestoreAll();
    BringBackLostWindows();
    SettleShowStates();
    MeasureWindows();
    EngineRunning = true;
    ++EngineRun;
    HideAll();
    if (!EngineRunning)
        return; // stopped while the windows were being tucked away
    GrabRevealKey();
    btnStart->SetEnabled(false);
    btnStop->SetEnabled(true);
    btnOptions->SetEnabled(false);
    Hide();
}

void TfrmMain::btnStopClick(TObject*) { StopHiding(); }

void TfrmMain::btnHideClick(TObject*) { Hide(); }

void TfrmMain::btnAboutClick(TObject*) { ShowAbout(Application()); }

void TfrmMain::btnOptionsClick(TObject*) {
    {
        // Freed also when showing fails; the failure then goes on to the
        // default report and the settings are not read again.
        std::unique_ptr<TfrmOptions> options(new TfrmOptions(Application()));
        options->SetIni(ini);
        options->ShowModal();
    }
    // Whichever way it closed: an unsaved dialog leaves the file's values.
    LoadSettings(*ini);
    timerWait->SetInterval(Settings.OpenDelay);
}

void TfrmMain::btnHelpClick(TObject*) {
    Application()->HelpJump(QString::fromLatin1(WindowHelpTopic));
}

void TfrmMain::timerWaitTimer(TObject*) { RevealTimerTick(); }

void TfrmMain::timerMessTimer(TObject*) {
    SetCaption(FromStd(PanelCaption));
    timerMess->SetEnabled(false);
}

void TfrmMain::WindowCloseRequested() { Hide(); }

void ShowOops(const std::string& message) { ShowOops(Panel, FromStd(message)); }

// --- The controller -------------------------------------------------------------

bool PanelCreated() { return panelCreated && Panel != nullptr; }

void OpenPanel(TIToolServices* services) {
    controllerServices = services;
    const bool first = !PanelCreated();
    if (first) {
        Panel = new TfrmMain(Application());
        panelCreated = true;
        Panel->Show();
        Panel->Hide();
    } else {
        Panel->Show();
        ThePlatform().Windows().BringWindowToTop(Panel->Handle());
    }
    // Which windows are the IDE's is the settings file's to say; the rest of
    // the settings are read only once the IDE is found.
    if (!EngineRunning)
        LoadWindowRules(*Panel->ini);
    if (!FindIdeWindows()) {
        ThePlatform().System().MessageBox("Delphi could not be found.", PanelCaption);
        return;
    }
    // The running engine keeps the settings its windows were placed by until
    // Stop; the next Start reads the file again.
    if (!EngineRunning)
        ReadSettings(!first);
}

void ReadSettings(bool tellProblem) {
    if (!Panel)
        return;
    LoadSettings(*Panel->ini);
    Panel->timerWait->SetInterval(Settings.OpenDelay);
    // Said once, and only in answer to the user: not while the host starts.
    if (!tellProblem || SettingsProblemTold)
        return;
    std::string problem = SettingsFileProblem(*Panel->ini);
    if (problem.empty())
        problem = WindowRuleProblem(Settings);
    if (!problem.empty()) {
        SettingsProblemTold = true;
        ThePlatform().System().MessageBox(problem, PanelCaption);
    }
}

void ClosePanel() {
    StopHook();
    LetGoRevealKey();
    if (PanelCreated()) {
        TfrmMain* panel = Panel;
        panel->FreeOnClose = true;
        panel->Close();
        delete panel; // at once: no timer tick or message may reach it later
    }
    Panel = nullptr;
    panelCreated = false;
}

void StopHiding() {
    // First of all: a tuck or reveal still under way, or a pointer message or
    // tick arriving later, belongs to the run that ends here.
    EngineRunning = false;
    ++EngineRun;
    if (PanelCreated())
        Panel->timerWait->SetEnabled(false);
    StopHook();
    LetGoRevealKey();
    RestoreAll();
    for (HiddenWindow* window : {&InspectorWindow, &DelphiWindow})
        window->Managed = false;
    if (PanelCreated()) {
        Panel->btnStart->SetEnabled(true);
        Panel->btnStop->SetEnabled(false);
        Panel->btnOptions->SetEnabled(true);
    }
}

namespace {

// A window marked hidden goes back; so does one the engine revealed, which
// stands on its shown rectangle rather than where it was before Start.
bool ToBeRestored(const HiddenWindow& window) {
    return window.Hidden || (window.Managed && ThePlatform().Windows().GetWindowRect(
                                                   window.Handle) != window.RestoreRect);
}

// Where a window goes back to: its place before Start, brought onto a
// monitor when the one it stood on has gone since.
TRect HomeOnAMonitor(const HiddenWindow& window) {
    if (RestoreMonitors.empty())
        return window.RestoreRect;
    const TMonitors now = MonitorLayout();
    if (now == RestoreMonitors || !LiesOffMonitors(window.RestoreRect, now))
        return window.RestoreRect;
    return BroughtOnMonitors(window.RestoreRect, now);
}

} // namespace

void RestoreAll() {
    RefindInspector();
    if (ToBeRestored(InspectorWindow))
        MoveInspector(HomeOnAMonitor(InspectorWindow), Settings.Motion, Settings.MoveOutSound,
                      false);
    if (ToBeRestored(DelphiWindow))
        MoveDelphi(HomeOnAMonitor(DelphiWindow), Settings.Motion, Settings.MoveOutSound, false);
    for (HiddenWindow* window : {&InspectorWindow, &DelphiWindow})
        if (std::exchange(window->WasMaximized, false))
            ThePlatform().Windows().ShowWindow(window->Handle, SW_MAXIMIZE);
    InspectorWindow.Hidden = false;
    DelphiWindow.Hidden = false;
}

void HideAll() {
    InspectorWindow.KeyRevealed = DelphiWindow.KeyRevealed = false;
    InspectorWindow.Managed = Settings.HideInspector;
    DelphiWindow.Managed = Settings.HideDelphi;
    if (Settings.HideInspector && !MoveInspector(InspectorWindow.HiddenRect, Settings.Motion,
                                                 Settings.MoveInSound, false, TMoveScope::ThisRun))
        return; // Stop ran in the pump and brought everything back
    InspectorWindow.Hidden = true;
    if (Settings.HideDelphi && !MoveDelphi(DelphiWindow.HiddenRect, Settings.Motion,
                                           Settings.MoveInSound, false, TMoveScope::ThisRun))
        return;
    DelphiWindow.Hidden = true;
    StartHook(Panel ? Panel->Handle() : 0);
}

void BringBackLostWindows() {
    const TMonitors monitors = MonitorLayout();
    for (HiddenWindow* window : {&InspectorWindow, &DelphiWindow}) {
        if (window == &InspectorWindow)
            RefindInspector();
        const TRect now = ThePlatform().Windows().GetWindowRect(window->Handle);
        if (window->Handle == 0 || !LiesOffMonitors(now, monitors))
            continue;
        const TRect back = BroughtOnMonitors(now, monitors);
        if (window == &InspectorWindow)
            MoveInspector(back, Settings.Motion, Settings.MoveOutSound, true);
        else
            MoveDelphi(back, Settings.Motion, Settings.MoveOutSound, true);
        window->Hidden = false;
    }
}

void SettleShowStates() {
    struct Chosen {
        HiddenWindow* Window;
        bool* Hide;
        const char* Name;
    };
    std::string left;
    for (const Chosen& c :
         {Chosen{&DelphiWindow, &Settings.HideDelphi, "the IDE main window"},
          Chosen{&InspectorWindow, &Settings.HideInspector, "the Object Inspector"}}) {
        c.Window->WasMaximized = false;
        if (!*c.Hide || c.Window->Handle == 0)
            continue;
        const TShowState state = ThePlatform().Windows().ShowStateOf(c.Window->Handle);
        if (state == TShowState::Maximized) {
            ThePlatform().Windows().ShowWindow(c.Window->Handle, SW_RESTORE);
            c.Window->WasMaximized = true;
        } else if (state == TShowState::Minimized || state == TShowState::Shaded) {
            *c.Hide = false;
            left += std::string(left.empty() ? "" : " and ") + c.Name +
                    (state == TShowState::Minimized ? " is minimized" : " is rolled up");
        }
    }
    if (left.empty())
        return;
    left[0] = static_cast<char>(left[0] - 'a' + 'A');
    const bool one = left.find(" and ") == std::string::npos;
    ShowOops(left + ": Wingtucker leaves " + (one ? "it where it is" : "them where they are") +
             " this time.  Show " + (one ? "it" : "them") + " as usual and press Start again.");
}

void MonitorsChanged() {
    if (!EngineRunning || InHookMessage)
        return;
    const std::uint32_t run = EngineRun;
    RemeasureWindows();
    if (Settings.HideInspector)
        MoveInspector(InspectorWindow.Hidden ? InspectorWindow.HiddenRect
                                             : InspectorWindow.ShownRect,
                      Settings.Motion, "", false, TMoveScope::ThisRun);
    if (EngineRun == run && Settings.HideDelphi)
        MoveDelphi(DelphiWindow.Hidden ? DelphiWindow.HiddenRect : DelphiWindow.ShownRect,
                   Settings.Motion, "", false, TMoveScope::ThisRun);
}

namespace {
// The text after the last colon, backslash or slash, at most 255 characters,
// ASCII upper case. Hosts name files in their own way, so every separator counts.
std::string DesktopBaseName(std::string_view fileName) {
    std::size_t cut = fileName.find_last_of(":\\/");
    std::string base(cut == std::string_view::npos ? fileName : fileName.substr(cut + 1));
    if (base.size() > 255)
        base.resize(255);
    std::transform(base.begin(), base.end(), base.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return base;
}
} // namespace

void DesktopLoaded(std::string_view fileName) {
    if (!PanelCreated())
        return;
    Panel->iniProj->SetFileName(fileName);
    // The places recorded here are where Stop puts the windows: never the
    // tucked or revealed ones.
    if (EngineRunning)
        RestoreAll();
    BringBackLostWindows();
    MeasureWindows();
    if (Settings.UseAutoHide && (Settings.HideDelphi || Settings.HideInspector) &&
        DesktopBaseName(fileName) != "DELPHI32.DSK")
        Panel->btnStart->Click();
}

} // namespace wt
