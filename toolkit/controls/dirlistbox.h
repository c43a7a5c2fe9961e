// TDirectoryListBox: the directory list of the directory dialogs. It shows
// the levels from the drive root (a mount point) down to the process's
// current directory, then that directory's subdirectories, each with a
// folder glyph by its role, and changes the current directory (through the
// platform) when an entry is opened. Linked to a TDriveComboBox and a label.
#pragma once

#include "toolkit/controls/drivecombo.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/listbox.h"
#include "toolkit/core/classes.h"
#include "toolkit/graphics/bitmap.h"

#include <QPointer>
#include <QString>

#include <array>
#include <stdexcept>
#include <vector>

namespace wt {

// The run-time library's input/output error: a directory that could not be
// made current. ErrorCode is the system's error number.
class EInOutError : public std::runtime_error {
public:
    EInOutError(int errorCode, const QString& path);
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};

class TDirectoryListBox : public TListBox {
    Q_OBJECT
    Q_PROPERTY(QString Directory READ Directory WRITE SetDirectory STORED false)
    Q_PROPERTY(wt::TLabel* DirLabel READ DirLabel WRITE SetDirLabel)

public:
    // What an entry's glyph says about it.
    enum TFolderRole { frOpen, frClosed, frCurrent };
    Q_ENUM(TFolderRole)

    struct TEntry {
        QString Path;  // full path
        int Level = 0; // 0 for the drive root
        TFolderRole Role = frClosed;
    };

    // Starts at the process's current directory.
    explicit TDirectoryListBox(TComponent* owner = nullptr);
    ~TDirectoryListBox() override;

    // The current directory: a full path, without a trailing "/" but for "/".
    QString Directory() const { return directory_; }
    // Enters a directory (relative ones against the current directory): it
    // becomes the process's current directory, the entries are rebuilt and
    // the label and drive selector follow. Empty or unchanged: nothing.
    // Throws EInOutError, changing nothing, when it cannot be entered.
    void SetDirectory(const QString& path);
    // The mount point that holds the current directory.
    QString Drive() const;
    // Reads the current directory and its subdirectories anew.
    void Reread();

    TLabel* DirLabel() const { return dirLabel_.data(); }
    void SetDirLabel(TLabel* label);
    TDriveComboBox* DriveCombo() const { return driveCombo_.data(); }

    const std::vector<TEntry>& Entries() const { return entries_; }
    // Opens the entry at index (what a double-click does).
    void OpenEntry(int index);
    // The glyph drawn for a role.
    const TBitmap& Glyph(TFolderRole role);
    // Pixels of indentation per level.
    static constexpr int kIndent = 10;

    // The mount point of the given drives that holds path (the longest that
    // is a leading part of it), "/" when none does.
    static QString DriveOf(const QString& path, const std::vector<QString>& drives);
    // Whether a comes before b in the list: the order of a file manager.
    static bool NameLess(const QString& a, const QString& b);
    // path shortened to fit width pixels in font: leading folders after the
    // root give way to "...".
    static QString MinimizeName(const QString& path, const TFont& font, int width);

protected:
    // The glyph-loading hook: fills the three glyphs, in the order open,
    // closed, current. Runs once, the first time a glyph is needed (so that
    // a subclass's version is the one that runs).
    virtual void ReadBitmaps(std::array<TBitmap, 3>& glyphs);
    void DrawItem(int index, TRect rect, TOwnerDrawState state) override;
    void DblClick() override;
    void BoundsChanged() override;
    void Loaded() override;

private:
    friend class TDriveComboBox;
    void SetDriveCombo(TDriveComboBox* combo) { driveCombo_ = combo; }
    void ReadEntries();
    void UpdateLabel();

    QString directory_;
    std::vector<TEntry> entries_;
    std::array<TBitmap, 3> glyphs_;
    bool glyphsRead_ = false;
    QPointer<TLabel> dirLabel_;
    QPointer<TDriveComboBox> driveCombo_;
};

using TFolderRole = TDirectoryListBox::TFolderRole;

WT_REGISTER_CLASS(TDirectoryListBox);

} // namespace wt
