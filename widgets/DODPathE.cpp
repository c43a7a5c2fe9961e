#include "widgets/DODPathE.h"

#include "toolkit/core/paths.h"
#include "widgets/DODDirCr.h"
#include "widgets/DODDirSe.h"

#include <memory>

namespace wt {

namespace {

constexpr int kButtonWidth = 23;

// The glyph resource of each style, in the order of TCDKPathEdStyle.
const char* const kDefaultGlyphs[] = {"BMP_OPEN_FILE", "BMP_BROWSE_FOLDERS", "BMP_SAVE_FILE"};

// What the editor publishes besides its own properties; the rest of what it
// inherits is not written to a form.
bool Published(const char* name) {
    static const char* const inherited[] = {"Name",   "Tag",    "Left", "Top",        "Width",
                                            "Height", "Cursor", "Hint", "HelpContext"};
    for (const char* own : inherited)
        if (std::strcmp(own, name) == 0)
            return true;
    const int index = TCDKPathEditor::staticMetaObject.indexOfProperty(name);
    return index >= TCDKPathEditor::staticMetaObject.propertyOffset();
}

// Copies the nine dialog settings, in the order the save browse uses.
void CopySettings(const TOpenDialog& from, TOpenDialog& to) {
    to.SetOptions(from.Options());
    to.SetTitle(from.Title());
    to.SetInitialDir(from.InitialDir());
    to.SetDefaultExt(from.DefaultExt());
    to.SetFileEditStyle(from.FileEditStyle());
    to.SetFileName(from.FileName());
    to.SetFilter(from.Filter());
    to.SetHistoryList(from.HistoryList());
    to.SetFilterIndex(from.FilterIndex());
}

// Runs a step when the scope ends, however it ends.
template <class F>
struct AtExit {
    F Step;
    ~AtExit() { Step(); }
};
template <class F>
AtExit(F) -> AtExit<F>;

} // namespace

TCDKPathEditor::TCDKPathEditor(TComponent* owner) : TCompoundComponentPanel(owner) {
    // Its parts are its own: a designer drops nothing into it, and its name
    // is not its caption.
    SetControlStyle(ControlStyle() & ~TControlStyle(csAcceptsControls | csSetCaption));
    SetBounds(44, 126, Width(), 23);
    SetBevelOuter(bvNone);
    SetTabStop(false);
    SetTabOrder(0);

    BrowseButton = new TCDKAlignSpeedButton(this);
    BrowseButton->SetParent(this);
    BrowseButton->SetBounds(Width() - kButtonWidth, 0, kButtonWidth, 23);
    BrowseButton->SetAlign(alRight);
    BrowseButton->SetNumGlyphs(2);
    BrowseButton->OnClick.Bind(this, &TCDKPathEditor::BrowseButtonClick);

    MainPathEdit = new TEdit(this);
    MainPathEdit->SetParent(this);
    MainPathEdit->SetBounds(2, 1, Width() - BrowseButton->Width() - buttonOffset_, 22);
    MainPathEdit->SetTabOrder(0);
    ForwardEditEvents();

    OpenDialog = new TOpenDialog(this);
    // An editor made in code shows its glyph too; one read from a form gets
    // it again once loading completes.
    LoadDefaultGlyph();
    OrderEvents({"OnChange", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag",
                 "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
                 "OnMouseMove", "OnMouseUp", "OnBrowseButtonClick", "OnDialogDrop"});
}

TCDKPathEditor::~TCDKPathEditor() {
    delete OpenDialog; // first, then the children with the container
    OpenDialog = nullptr;
}

void TCDKPathEditor::ForwardEditEvents() {
    // Each of the edit's events runs the editor's own with the editor as
    // Sender; the rest, by-reference ones included, passes through.
    TEdit& e = *MainPathEdit;
    e.OnChange = [this](TObject*) {
        SyncFileName();
        OnChange(this);
    };
    e.OnClick = [this](TObject*) { OnClick(this); };
    e.OnDblClick = [this](TObject*) { OnDblClick(this); };
    e.OnDragDrop = [this](TObject*, TObject* source, int x, int y) {
        OnDragDrop(this, source, x, y);
    };
    e.OnDragOver = [this](TObject*, TObject* source, int x, int y, TDragState state, bool& accept) {
        OnDragOver(this, source, x, y, state, accept);
    };
    e.OnEndDrag = [this](TObject*, TObject* target, int x, int y) {
        OnEndDrag(this, target, x, y);
    };
    e.OnEnter = [this](TObject*) {
        if (smartShowBrowseButton_)
            BrowseButton->Show();
        OnEnter(this);
    };
    e.OnExit = [this](TObject*) {
        if (smartShowBrowseButton_)
            BrowseButton->Hide();
        OnExit(this);
    };
    e.OnKeyDown = [this](TObject*, std::uint16_t& key, TShiftState shift) {
        OnKeyDown(this, key, shift);
    };
    e.OnKeyPress = [this](TObject*, char& key) { OnKeyPress(this, key); };
    e.OnKeyUp = [this](TObject*, std::uint16_t& key, TShiftState shift) {
        OnKeyUp(this, key, shift);
    };
    e.OnMouseDown = [this](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
        OnMouseDown(this, button, shift, x, y);
    };
    e.OnMouseMove = [this](TObject*, TShiftState shift, int x, int y) {
        OnMouseMove(this, shift, x, y);
    };
    e.OnMouseUp = [this](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
        OnMouseUp(this, button, shift, x, y);
    };
}

void TCDKPathEditor::SetSmartShowBrowseButton(bool value) {
    smartShowBrowseButton_ = value;
    BrowseButton->SetVisible(!value);
}

void TCDKPathEditor::SetBrowseButtonGlyph(const TBitmap& value) {
    if (IsReading()) { // straight into the button; Loaded decides what shows
        BrowseButton->SetGlyph(value);
        return;
    }
    if (value.Empty()) {
        SetUseDefaultGlyphs(true);
        return;
    }
    SetUseDefaultGlyphs(false);
    BrowseButton->SetGlyph(value);
}

void TCDKPathEditor::SetInitialDir(const QString& value) {
    QString dir = value;
    if (dir.size() > 1 && dir.endsWith(PathDelim))
        dir.chop(1);
    OpenDialog->SetInitialDir(dir);
}

void TCDKPathEditor::SetUseDefaultGlyphs(bool value) {
    if (value == useDefaultGlyphs_)
        return;
    useDefaultGlyphs_ = value;
    if (value && !IsReading())
        LoadDefaultGlyph();
}

void TCDKPathEditor::SetStyle(TCDKPathEdStyle value) {
    if (value == style_ || value > _SaveFile)
        return;
    style_ = value;
    if (useDefaultGlyphs_ && !IsReading())
        LoadDefaultGlyph();
}

void TCDKPathEditor::SetButtonOffset(int value) {
    if (value == buttonOffset_ || value < 0)
        return;
    const int old = buttonOffset_;
    buttonOffset_ = value;
    if (!IsReading())
        SetWidth(Width() + value - old);
}

void TCDKPathEditor::LoadDefaultGlyph() {
    TBitmap glyph;
    glyph.LoadFromResourceName(QString::fromLatin1(kDefaultGlyphs[style_]));
    BrowseButton->SetGlyph(glyph);
}

void TCDKPathEditor::Loaded() {
    TCompoundComponentPanel::Loaded();
    if (useDefaultGlyphs_)
        LoadDefaultGlyph();
    LayoutControls();
}

void TCDKPathEditor::SetFocus() {
    if (MainPathEdit)
        MainPathEdit->SetFocus();
    else
        TCompoundComponentPanel::SetFocus();
}

bool TCDKPathEditor::IsPropertyStored(const char* name) const {
    return Published(name) && TCompoundComponentPanel::IsPropertyStored(name);
}

void TCDKPathEditor::Resize() {
    LayoutControls();
    TCompoundComponentPanel::Resize();
}

void TCDKPathEditor::LayoutControls() {
    if (!MainPathEdit || !BrowseButton || layingOut_)
        return;
    layingOut_ = true;
    const AtExit done{[this] { layingOut_ = false; }};
    MainPathEdit->SetBounds(2, 1, Width() - BrowseButton->Width() - buttonOffset_,
                            MainPathEdit->Height());
    SetBounds(Left(), Top(), Width(), MainPathEdit->Height() + 2);
}

void TCDKPathEditor::SyncFileName() { OpenDialog->SetFileName(MainPathEdit->Text()); }

void TCDKPathEditor::DialogDrop() { OnDialogDrop(this); }

void TCDKPathEditor::BrowseButtonClick(TObject*) {
    if (HasState(ComponentState::Designing))
        return;
    OnBrowseButtonClick(this);
    Browse();
}

void TCDKPathEditor::Browse() {
    switch (style_) {
    case _SelectFile: BrowseForFile(); break;
    case _SaveFile: BrowseForSaveFile(); break;
    case _SelectDirectory: BrowseForDirectory(); break;
    }
}

void TCDKPathEditor::BrowseForFile() {
    if (!OpenDialog->Execute())
        return;
    SetText(OpenDialog->FileName());
    DialogDrop();
}

void TCDKPathEditor::BrowseForSaveFile() {
    SaveDialog = new TSaveDialog(this);
    const AtExit destroy{[this] {
        delete SaveDialog;
        SaveDialog = nullptr;
    }};
    CopySettings(*OpenDialog, *SaveDialog);
    const bool confirmed = SaveDialog->Execute();
    if (confirmed) {
        SetText(SaveDialog->FileName());
        DialogDrop();
    }
    // What a confirmed dialog chose is kept for the next browse; after a
    // cancel these are the values copied in.
    CopySettings(*SaveDialog, *OpenDialog);
}

void TCDKPathEditor::BrowseForDirectory() {
    if (!InitialDir().isEmpty())
        ChangeDirQuietly(InitialDir());
    else if (!Text().isEmpty() && DirectoryExists(Text()))
        ChangeDirQuietly(Text());

    const std::unique_ptr<TDirectorySelectForm> dialog(new TDirectorySelectForm(nullptr));
    const bool keepDir = Options().testFlag(TOpenDialog::ofNoChangeDir);
    const QString before = keepDir ? CurrentDirWithSeparator() : QString();
    // The current directory comes back also when a handler fails.
    const AtExit restore{[&] {
        if (keepDir)
            ChangeDirQuietly(before);
    }};
    dialog->CreateDirectoryButton->SetVisible(!Options().testFlag(TOpenDialog::ofPathMustExist));
    if (!Title().isEmpty())
        dialog->SetCaption(Title());
    if (dialog->ShowModal() == mrOk) {
        SetText(dialog->DirectoryListBox->Directory());
        DialogDrop();
    }
}

void ChangeDirQuietly(QString path) {
    while (path.size() > 1 && path.endsWith(PathDelim))
        path.chop(1);
    SetCurrentDir(path);
}

} // namespace wt
