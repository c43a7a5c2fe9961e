// TfrmOptions: the dialog in which the user edits the settings: four pages
// in a notebook with tabs on the left (hiding, sound, movement, general),
// Accept, which writes every setting to the settings file, and Help for the
// page in front. It shows the in-memory settings and never changes them; the
// caller loads the file again afterwards.
#pragma once

#include "settings/settings_schema.h"
#include "toolkit/core/classes.h"
#include "toolkit/forms/form.h"

namespace wt {

class TBitBtn;
class TCheckBox;
class TcsNotebook;
class TCDKPathEditor;
class TIniEditor;
class TPanel;
class TRadioGroup;
class TSpinEdit;

// The help topic of the main panel's window, beside the pages' topics.
inline constexpr char WindowHelpTopic[] = "Wingtucker_Window_Description";

class TfrmOptions : public TForm {
    Q_OBJECT
public:
    explicit TfrmOptions(TComponent* owner = nullptr);

    // The file Accept writes to; without one the dialog writes through an
    // INI component of its own on the same file as the main panel's.
    void SetIni(TIniEditor* ini) { ini_ = ini; }

    TBitBtn* btnClose = nullptr;
    TBitBtn* btnHelp = nullptr;
    TcsNotebook* notebook = nullptr;
    TCheckBox* cbHideDelphi = nullptr;
    TCheckBox* cbHideInspector = nullptr;
    TRadioGroup* rgSide = nullptr;
    TCheckBox* cbUseSounds = nullptr;
    TPanel* pnlFiles = nullptr;
    TCDKPathEditor* editIn = nullptr;
    TCDKPathEditor* editOut = nullptr;
    TCheckBox* cbAnimate = nullptr;
    TPanel* pnlAniOptions = nullptr;
    TSpinEdit* editAniCount = nullptr;
    TSpinEdit* editDelay = nullptr;
    TCheckBox* cbAutoStart = nullptr;
    TCheckBox* cbDisable = nullptr;
    TSpinEdit* editHang = nullptr;

    void FormShow(TObject* sender);
    // Each shows its dependent controls exactly while its box is ticked.
    void cbHideInspectorClick(TObject* sender);
    void cbUseSoundsClick(TObject* sender);
    void cbAnimateClick(TObject* sender);
    // Writes the twelve keys, hidden controls included, then closes.
    void btnCloseClick(TObject* sender);
    void btnHelpClick(TObject* sender);

    // Why the chosen sounds will be silence, one line each, or empty.
    std::string SoundWarnings(const std::string& outSound, const std::string& inSound);

    // The help topic of a page, empty for none.
    static const char* HelpTopicOfPage(int pageIndex);

private:
    std::string ControlText(const TSettingInfo& setting) const;

    TIniEditor* ini_ = nullptr;
    TIniEditor* ownIni_ = nullptr;
};

WT_REGISTER_CLASS(TfrmOptions);

} // namespace wt
