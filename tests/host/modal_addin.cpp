// A test add-in built on the toolkit: its expert shows a dialog modally
// (TForm::ShowModal), so hostide's tests can see what goes on while an
// add-in's modal loop runs: script commands, quit signals, the termination
// procedure. It logs one event a line to the file named by MODAL_ADDIN_LOG.
// MODAL_ADDIN_ON says when the dialog comes up: "execute" (the default, from
// its Tools entry) or "desktop" (inside notification 8, a desktop loaded).
// The dialog stands at DialogLeft,DialogTop; its OK button (modal result
// mrOk) fills the client area from OkLeft,OkTop. It runs on the simulated
// desktop: it needs forms only, no other program's windows.
#include "addin/interface_impl.h"
#include "hostapi/toolsapi.h"
#include "platform/platform.h"
#include "platform/sim/sim_platform.h"
#include "toolkit/forms/application.h"
#include "toolkit/controls/button.h"
#include "toolkit/forms/form.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

using namespace wt;

namespace {

constexpr int DialogLeft = 400, DialogTop = 300, OkLeft = 10, OkTop = 10;

TIToolServices* services = nullptr;
TForm* dialog = nullptr; // made at entry, freed by the termination procedure

bool ShowsOn(const std::string& when) {
    const char* value = std::getenv("MODAL_ADDIN_ON");
    return when == (value && *value ? value : "execute");
}

void Log(const std::string& line) {
    const char* file = std::getenv("MODAL_ADDIN_LOG");
    if (!file || !*file)
        return;
    if (FILE* out = std::fopen(file, "a")) {
        std::fprintf(out, "%s\n", line.c_str());
        std::fclose(out);
    }
}

void ShowDialog() {
    const int result = dialog->ShowModal();
    Log("modal result " + std::to_string(result));
}

void MakeDialog() {
    dialog = new TForm(nullptr);
    dialog->SetCaption(QStringLiteral("Modal Test"));
    dialog->SetBorderStyle(bsDialog);
    dialog->SetBounds(DialogLeft, DialogTop, 220, 100);
    auto* ok = new TButton(dialog);
    ok->SetParent(dialog);
    ok->SetCaption(QStringLiteral("OK"));
    ok->SetModalResult(mrOk);
    ok->SetBounds(OkLeft, OkTop, 180, 50);
    dialog->OnShow = [](TObject*) { Log("dialog shown"); };
}

class ModalExpert final : public TInterfaceImpl<TIExpert, ModalExpert> {
public:
    const char* GetName() override { return "Modal"; }
    const char* GetAuthor() override { return ""; }
    const char* GetComment() override { return "Shows a modal dialog"; }
    const char* GetPage() override { return ""; }
    uintptr_t GetGlyph() override { return 0; }
    TExpertStyle GetStyle() override { return esStandard; }
    TExpertState GetState() override { return TExpertState{}.Include(esEnabled); }
    const char* GetIDString() override { return "Tests.ModalExpert"; }
    const char* GetMenuText() override { return "Modal Expert"; }
    void Execute() override {
        if (ShowsOn("execute"))
            ShowDialog();
    }
};

class DesktopNotifier final : public TInterfaceImpl<TIAddInNotifier, DesktopNotifier> {
public:
    void Notify(uint8_t code, const char*, bool*) override {
        if (code == fnProjectDesktopLoad && ShowsOn("desktop"))
            ShowDialog();
    }
};

DesktopNotifier* notifier = nullptr;

void Terminate() {
    Log("terminate");
    services->UnregisterNotifier(notifier);
    notifier->Release();
    notifier = nullptr;
    delete dialog;
    dialog = nullptr;
}

} // namespace

extern "C" bool INITEXPERT0016(TIToolServices* toolServices, TExpertRegisterProc registerProc,
                               TExpertTerminateProc* terminate) {
    services = toolServices;
    if (!PlatformInstalled())
        InstallPlatform(std::make_unique<SimPlatform>());
    Application()->SetOwnerWindow(services->OwnerWindowHandle());
    MakeDialog();
    *terminate = Terminate;
    registerProc(new ModalExpert);
    notifier = new DesktopNotifier;
    services->RegisterNotifier(notifier);
    Log("entry");
    return true;
}
