#include "settings/options.h"

#include "dialogs/oops.h"
#include "settings/EasyINI.h"
#include "settings/settings_store.h"
#include "toolkit/controls/bitbtn.h"
#include "toolkit/controls/checkbox.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/radiogroup.h"
#include "toolkit/controls/spinedit.h"
#include "toolkit/forms/application.h"
#include "widgets/DODPathE.h"
#include "widgets/DODRotat.h"
#include "widgets/notebook/CSNoteBk.h"

#include "options_wfm.h"

namespace wt {

TfrmOptions::TfrmOptions(TComponent* owner) : TForm(owner) {
    Handler("FormShow", &TfrmOptions::FormShow);
    Handler("cbHideInspectorClick", &TfrmOptions::cbHideInspectorClick);
    Handler("cbUseSoundsClick", &TfrmOptions::cbUseSoundsClick);
    Handler("cbAnimateClick", &TfrmOptions::cbAnimateClick);
    Handler("btnCloseClick", &TfrmOptions::btnCloseClick);
    Handler("btnHelpClick", &TfrmOptions::btnHelpClick);
    Field("btnClose", btnClose);
    Field("btnHelp", btnHelp);
    Field("notebook", notebook);
    Field("cbHideDelphi", cbHideDelphi);
    Field("cbHideInspector", cbHideInspector);
    Field("rgSide", rgSide);
    Field("cbUseSounds", cbUseSounds);
    Field("pnlFiles", pnlFiles);
    Field("editIn", editIn);
    Field("editOut", editOut);
    Field("cbAnimate", cbAnimate);
    Field("pnlAniOptions", pnlAniOptions);
    Field("editAniCount", editAniCount);
    Field("editDelay", editDelay);
    Field("cbAutoStart", cbAutoStart);
    Field("cbDisable", cbDisable);
    Field("editHang", editHang);
    ReadForm(forms::options, QString::fromLatin1(forms::optionsFile));
}

void TfrmOptions::FormShow(TObject*) {
    // Setting a box runs its click handler, so the dependent controls follow.
    cbHideInspector->SetChecked(Settings.HideInspector);
    rgSide->SetItemIndex(Settings.InspectorEdge == TEdge::Right ? 1 : 0);
    cbHideDelphi->SetChecked(Settings.HideDelphi);
    cbAnimate->SetChecked(Settings.Motion == TMotion::Animated);
    cbUseSounds->SetChecked(Settings.WindowSounds);
    cbAutoStart->SetChecked(Settings.UseAutoHide);
    cbDisable->SetChecked(Settings.DisableOnFocusLoss);
    editIn->SetText(FromStd(Settings.MoveInSound));
    editOut->SetText(FromStd(Settings.MoveOutSound));
    editAniCount->SetValue(Settings.AnimateSpeed);
    editDelay->SetValue(Settings.OpenDelay);
    editHang->SetValue(Settings.HangOutPixels);
}

void TfrmOptions::cbHideInspectorClick(TObject*) { rgSide->SetVisible(cbHideInspector->Checked()); }

void TfrmOptions::cbUseSoundsClick(TObject*) { pnlFiles->SetVisible(cbUseSounds->Checked()); }

void TfrmOptions::cbAnimateClick(TObject*) { pnlAniOptions->SetVisible(cbAnimate->Checked()); }

// What the file keeps for a setting, as its control holds it now.
std::string TfrmOptions::ControlText(const TSettingInfo& setting) const {
    TComponent* control = FindComponent(QString::fromLatin1(setting.Control));
    if (auto* box = dynamic_cast<TCheckBox*>(control))
        return box->Checked() ? "True" : "False";
    if (auto* group = dynamic_cast<TRadioGroup*>(control))
        return std::to_string(group->ItemIndex());
    if (auto* spin = dynamic_cast<TSpinEdit*>(control))
        return std::to_string(spin->Value());
    if (auto* path = dynamic_cast<TCDKPathEditor*>(control))
        return ToStd(path->Text());
    return {};
}

void TfrmOptions::btnCloseClick(TObject*) {
    TIniEditor* ini = ini_;
    if (!ini) {
        if (!ownIni_) {
            ownIni_ = new TIniEditor(this);
            ownIni_->SetFileName(SettingsFileName);
            ownIni_->SetFileLocation(TIniEditor::WindowsPath);
        }
        ini = ownIni_;
    }
    const std::string outSound = ToStd(editOut->Text());
    const std::string inSound = ToStd(editIn->Text());
    // Every key, changed or not, shown or hidden, in the dialog's order, as
    // one replacement of the file.
    std::vector<std::pair<std::string, std::string>> values;
    for (TSettingId id : DialogWriteOrder)
        values.emplace_back(SettingOf(id).Key, ControlText(SettingOf(id)));
    const std::string problem = SaveSettings(*ini, values);
    if (!problem.empty()) {
        // The dialog stays, with the user's choices, until the cause is mended.
        SetModalResult(mrNone);
        ShowOops(this, FromStd(problem));
        return;
    }
    if (const std::string warnings = SoundWarnings(outSound, inSound); !warnings.empty())
        ShowOops(this, FromStd(warnings));
    Close();
}

std::string TfrmOptions::SoundWarnings(const std::string& outSound, const std::string& inSound) {
    if (!cbUseSounds->Checked())
        return {};
    std::string lines;
    for (const auto& [key, name] :
         {std::pair{"MoveOutSound", outSound}, std::pair{"MoveInSound", inSound}}) {
        if (name.empty())
            continue;
        if (std::string warning = SoundFileWarning(std::string(key) + " \"" + name + "\"", name);
            !warning.empty())
            lines += "\n" + warning + ".";
    }
    if (lines.empty())
        return {};
    return "The options were saved, but these sounds will not be heard:\n" + lines;
}

const char* TfrmOptions::HelpTopicOfPage(int pageIndex) {
    switch (pageIndex) {
    case 0: return "Hidden_Button";
    case 1: return "Sound_Button";
    case 2: return "Movement_Button";
    case 3: return "General_Button";
    default: return "";
    }
}

void TfrmOptions::btnHelpClick(TObject*) {
    const char* topic = HelpTopicOfPage(notebook->PageIndex());
    if (*topic)
        Application()->HelpJump(QString::fromLatin1(topic));
}

} // namespace wt
