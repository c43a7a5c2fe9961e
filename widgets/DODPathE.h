// TCDKPathEditor: a one-line edit with a browse button at its right end for
// the path of a file or a directory. By its Style the button opens the
// open-file dialog, a save-file dialog or the directory selection; a
// confirmed choice goes into the edit. The edit's properties and events are
// republished under the editor's name, so that it acts as one control.
#pragma once

#include "toolkit/controls/edit.h"
#include "toolkit/controls/speedbutton.h"
#include "toolkit/core/classes.h"
#include "toolkit/forms/filedialogs.h"
#include "widgets/DOD_Comp.h"

namespace wt {

// The toolkit's speed button; its Align is published by every control here.
class TCDKAlignSpeedButton : public TSpeedButton {
    Q_OBJECT
public:
    explicit TCDKAlignSpeedButton(TComponent* owner = nullptr) : TSpeedButton(owner) {}
};

class TCDKPathEditor : public TCompoundComponentPanel {
    Q_OBJECT
    Q_PROPERTY(bool SmartShowBrowseButton READ SmartShowBrowseButton WRITE SetSmartShowBrowseButton)
    Q_PROPERTY(wt::TBitmap BrowseButtonGlyph READ BrowseButtonGlyph WRITE SetBrowseButtonGlyph)
    Q_PROPERTY(QString BrowseButtonHint READ BrowseButtonHint WRITE SetBrowseButtonHint)
    Q_PROPERTY(wt::ui::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(wt::TEdit::TEditCharCase CharCase READ CharCase WRITE SetCharCase)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(wt::TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool OEMConvert READ OEMConvert WRITE SetOEMConvert)
    Q_PROPERTY(QString PasswordChar READ PasswordChar WRITE SetPasswordChar)
    Q_PROPERTY(wt::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QString DefaultExt READ DefaultExt WRITE SetDefaultExt)
    Q_PROPERTY(
        wt::TOpenDialog::TFileEditStyle FileEditStyle READ FileEditStyle WRITE SetFileEditStyle)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(int FilterIndex READ FilterIndex WRITE SetFilterIndex)
    Q_PROPERTY(QString InitialDir READ InitialDir WRITE SetInitialDir)
    Q_PROPERTY(QStringList HistoryList READ HistoryList WRITE SetHistoryList)
    Q_PROPERTY(wt::TOpenDialog::TOpenOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_PROPERTY(bool UseDefaultGlyphs READ UseDefaultGlyphs WRITE SetUseDefaultGlyphs)
    Q_PROPERTY(TCDKPathEdStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int ButtonOffset READ ButtonOffset WRITE SetButtonOffset)
    Q_CLASSINFO("Default.UseDefaultGlyphs", "True")
    Q_CLASSINFO("Default.Style", "_SelectFile")
    Q_CLASSINFO("Default.ButtonOffset", "6")

public:
    enum TCDKPathEdStyle : std::uint8_t { _SelectFile, _SelectDirectory, _SaveFile };
    Q_ENUM(TCDKPathEdStyle)

    explicit TCDKPathEditor(TComponent* owner = nullptr);
    ~TCDKPathEditor() override;

    TCDKAlignSpeedButton* BrowseButton = nullptr;
    TEdit* MainPathEdit = nullptr;
    TSaveDialog* SaveDialog = nullptr; // only during one _SaveFile browse
    TOpenDialog* OpenDialog = nullptr; // keeps the nine dialog settings

    bool SmartShowBrowseButton() const { return smartShowBrowseButton_; }
    // Shows the button only while the edit has the focus (the space stays).
    void SetSmartShowBrowseButton(bool value);
    const TBitmap& BrowseButtonGlyph() const { return BrowseButton->Glyph(); }
    // An image turns UseDefaultGlyphs off and is shown; an empty bitmap
    // turns it on again.
    void SetBrowseButtonGlyph(const TBitmap& value);
    QString BrowseButtonHint() const { return BrowseButton->Hint(); }
    void SetBrowseButtonHint(const QString& value) { BrowseButton->SetHint(value); }

    TBorderStyle BorderStyle() const { return MainPathEdit->BorderStyle(); }
    void SetBorderStyle(TBorderStyle value) { MainPathEdit->SetBorderStyle(value); }
    TEditCharCase CharCase() const { return MainPathEdit->CharCase(); }
    void SetCharCase(TEditCharCase value) { MainPathEdit->SetCharCase(value); }
    bool Ctl3D() const { return MainPathEdit->Ctl3D(); }
    void SetCtl3D(bool value) { MainPathEdit->SetCtl3D(value); }
    const TFont& Font() const { return MainPathEdit->Font(); }
    void SetFont(const TFont& value) { MainPathEdit->SetFont(value); }
    int MaxLength() const { return MainPathEdit->MaxLength(); }
    void SetMaxLength(int value) { MainPathEdit->SetMaxLength(value); }
    bool OEMConvert() const { return MainPathEdit->OEMConvert(); }
    void SetOEMConvert(bool value) { MainPathEdit->SetOEMConvert(value); }
    QString PasswordChar() const { return MainPathEdit->PasswordChar(); }
    void SetPasswordChar(const QString& value) { MainPathEdit->SetPasswordChar(value); }
    // The edit's: a right click on the edit shows it.
    TPopupMenu* PopupMenu() const { return MainPathEdit->PopupMenu(); }
    void SetPopupMenu(TPopupMenu* value) { MainPathEdit->SetPopupMenu(value); }
    QString Text() const { return MainPathEdit->Text(); }
    // The edit then reports the change: FileName follows, OnChange runs.
    void SetText(const QString& value) { MainPathEdit->SetText(value); }

    QString DefaultExt() const { return OpenDialog->DefaultExt(); }
    void SetDefaultExt(const QString& value) { OpenDialog->SetDefaultExt(value); }
    TFileEditStyle FileEditStyle() const { return OpenDialog->FileEditStyle(); }
    void SetFileEditStyle(TFileEditStyle value) { OpenDialog->SetFileEditStyle(value); }
    QString FileName() const { return OpenDialog->FileName(); }
    void SetFileName(const QString& value) { OpenDialog->SetFileName(value); }
    QString Filter() const { return OpenDialog->Filter(); }
    void SetFilter(const QString& value) { OpenDialog->SetFilter(value); }
    int FilterIndex() const { return OpenDialog->FilterIndex(); }
    void SetFilterIndex(int value) { OpenDialog->SetFilterIndex(value); }
    QString InitialDir() const { return OpenDialog->InitialDir(); }
    // One trailing "/" is dropped, but not from the root "/".
    void SetInitialDir(const QString& value);
    QStringList HistoryList() const { return OpenDialog->HistoryList(); }
    void SetHistoryList(const QStringList& value) { OpenDialog->SetHistoryList(value); }
    TOpenOptions Options() const { return OpenDialog->Options(); }
    void SetOptions(TOpenOptions value) { OpenDialog->SetOptions(value); }
    QString Title() const { return OpenDialog->Title(); }
    void SetTitle(const QString& value) { OpenDialog->SetTitle(value); }

    bool UseDefaultGlyphs() const { return useDefaultGlyphs_; }
    // On: the style's own glyph is shown. Off keeps the glyph shown.
    void SetUseDefaultGlyphs(bool value);
    TCDKPathEdStyle Style() const { return style_; }
    void SetStyle(TCDKPathEdStyle value);
    int ButtonOffset() const { return buttonOffset_; }
    // The gap between the edit's right end and the button's, plus 2: the
    // editor grows or shrinks with it, the edit keeps its width. Negative
    // values are ignored.
    void SetButtonOffset(int value);

    // Raises OnDialogDrop.
    virtual void DialogDrop();
    // Runs the dialog of the current style.
    virtual void Browse();
    // FileName := the edit's text.
    virtual void SyncFileName();
    // Loads the style's glyph resource into the browse button.
    void LoadDefaultGlyph();

    void Loaded() override;
    // The focus goes to the edit.
    void SetFocus() override;
    bool IsPropertyStored(const char* name) const override;

    TNotifyEvent OnChange{this, "OnChange"};
    TDragDropEvent OnDragDrop{this, "OnDragDrop"};
    TDragOverEvent OnDragOver{this, "OnDragOver"};
    TEndDragEvent OnEndDrag{this, "OnEndDrag"};
    TNotifyEvent OnBrowseButtonClick{this, "OnBrowseButtonClick"};
    TNotifyEvent OnDialogDrop{this, "OnDialogDrop"};

protected:
    void Resize() override;
    // The editor's height follows the edit's, the edit's width the editor's.
    void LayoutControls();

private:
    void ForwardEditEvents();
    void BrowseButtonClick(TObject* sender);
    void BrowseForFile();
    void BrowseForSaveFile();
    void BrowseForDirectory();

    bool smartShowBrowseButton_ = false;
    TCDKPathEdStyle style_ = _SelectFile;
    int buttonOffset_ = 6;
    bool useDefaultGlyphs_ = true;
    bool layingOut_ = false;
};

using TCDKPathEdStyle = TCDKPathEditor::TCDKPathEdStyle;

// Makes path the current directory after dropping its trailing "/" (but
// the root's); a failure leaves the current directory as it was, silently.
void ChangeDirQuietly(QString path);

WT_REGISTER_CLASS(TCDKPathEditor);
WT_REGISTER_CLASS(TCDKAlignSpeedButton);

} // namespace wt
