#include "toolkit/controls/dirlistbox.h"

#include "platform/platform.h"
#include "toolkit/controls/drivecombo.h"
#include "toolkit/forms/application.h"

#include <QCollator>
#include <QDir>
#include <QFontMetrics>

#include <algorithm>
#include <cerrno>

namespace wt {

EInOutError::EInOutError(int errorCode, const QString& path)
    : std::runtime_error(
          ToStd(QStringLiteral("I/O error %1: cannot enter %2").arg(errorCode).arg(path))),
      errorCode_(errorCode) {}

namespace {

QString FromPlatform(const std::string& text) { return QString::fromStdString(text); }

std::vector<QString> MountedDrives() {
    std::vector<QString> drives;
    for (const std::string& point : ThePlatform().MountPoints())
        drives.push_back(FromPlatform(point));
    return drives;
}

// Whether path is root or lies below it, by whole path components.
bool IsWithin(const QString& path, const QString& root) {
    if (root == u"/")
        return path.startsWith(u'/');
    return path == root || path.startsWith(root + u'/');
}

// File-manager order: case ignored, runs of digits by their value
// ("Take 2" before "take 10"), the locale's collation for the rest; names
// equal so far are ordered by their plain text.
bool NaturalLess(const QString& a, const QString& b) {
    static const QCollator collator = [] {
        QCollator c;
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const bool digits = a[i].isDigit();
        if (digits != b[j].isDigit())
            return digits; // numbers before letters
        qsizetype ei = i, ej = j;
        while (ei < a.size() && a[ei].isDigit() == digits)
            ++ei;
        while (ej < b.size() && b[ej].isDigit() == digits)
            ++ej;
        QStringView ra = QStringView(a).mid(i, ei - i), rb = QStringView(b).mid(j, ej - j);
        int order;
        if (digits) {
            while (ra.size() > 1 && ra.front() == u'0')
                ra = ra.mid(1);
            while (rb.size() > 1 && rb.front() == u'0')
                rb = rb.mid(1);
            order = ra.size() != rb.size() ? (ra.size() < rb.size() ? -1 : 1) : ra.compare(rb);
        } else {
            order = collator.compare(ra, rb);
        }
        if (order != 0)
            return order < 0;
        i = ei;
        j = ej;
    }
    if ((i < a.size()) != (j < b.size()))
        return j < b.size(); // the shorter name first
    return a < b;
}

// The error number of a failed change into path, told by what is there.
int EnterError(const QString& path) {
    const FileAttributes attributes = ThePlatform().GetFileAttributes(ToStd(path));
    if (!attributes.Exists)
        return ENOENT;
    return attributes.Directory ? EACCES : ENOTDIR;
}

// The toolkit's own folder glyph: a 16 x 15 folder, open or closed, its
// bottom-left pixel the colour that shows through.
TBitmap DrawFolder(TFolderRole role) {
    TBitmap glyph(16, 15);
    TCanvas& c = glyph.Canvas();
    c.Brush.Color = clFuchsia;
    c.FillRect({0, 0, 16, 15});
    const TColor face = role == TDirectoryListBox::frCurrent ? clAqua : clYellow;
    c.Brush.Color = clBlack;
    c.FillRect({1, 3, 15, 13});
    c.Brush.Color = face;
    c.FillRect({2, 4, 14, 12});
    c.Brush.Color = clBlack;
    c.FillRect({2, 2, 7, 3});
    if (role != TDirectoryListBox::frClosed) {
        c.Brush.Color = clOlive;
        c.FillRect({4, 7, 15, 12});
    }
    glyph.SetTransparent(true);
    return glyph;
}

} // namespace

TDirectoryListBox::TDirectoryListBox(TComponent* owner) : TListBox(owner) {
    SetStyle(lbOwnerDrawFixed);
    SetBounds(0, 0, 145, 97);
    ReadEntries();
}

TDirectoryListBox::~TDirectoryListBox() {
    if (driveCombo_ && driveCombo_->dirList_ == this)
        driveCombo_->dirList_ = nullptr;
}

void TDirectoryListBox::SetDirectory(const QString& path) {
    if (path.isEmpty() || path == directory_)
        return;
    if (!ThePlatform().SetCurrentDirectory(ToStd(path)))
        throw EInOutError(EnterError(path), path);
    ReadEntries();
}

void TDirectoryListBox::Reread() { ReadEntries(); }

QString TDirectoryListBox::Drive() const { return DriveOf(directory_, MountedDrives()); }

QString TDirectoryListBox::DriveOf(const QString& path, const std::vector<QString>& drives) {
    QString best = QStringLiteral("/");
    for (const QString& drive : drives)
        if (IsWithin(path, drive) && drive.size() > best.size())
            best = drive;
    return best;
}

void TDirectoryListBox::ReadEntries() {
    directory_ = FromPlatform(ThePlatform().GetCurrentDirectory());
    const QString root = Drive();
    entries_.clear();
    QStringList names;

    // The levels from the drive root down to the current directory.
    entries_.push_back({root, 0, frOpen});
    names << root;
    const QString below = directory_.mid(root == u"/" ? 1 : root.size() + 1);
    QString path = root;
    int level = 0;
    for (const QString& part : below.split(u'/', Qt::SkipEmptyParts)) {
        path = path == u"/" ? u'/' + part : path + u'/' + part;
        entries_.push_back({path, ++level, frOpen});
        names << part;
    }
    entries_.back().Role = frCurrent;

    // Its subdirectories, in the order a file manager shows them (hidden
    // dot directories stay hidden, as there).
    QStringList subdirectories =
        QDir(directory_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(subdirectories.begin(), subdirectories.end(), NaturalLess);
    const QString prefix = directory_ == u"/" ? directory_ : directory_ + u'/';
    for (const QString& name : subdirectories) {
        entries_.push_back({prefix + name, level + 1, frClosed});
        names << name;
    }

    SetItems(names);
    SetItemIndex(level);
    if (driveCombo_)
        driveCombo_->ShowDrive(root);
    UpdateLabel();
}

void TDirectoryListBox::OpenEntry(int index) {
    if (index >= 0 && index < static_cast<int>(entries_.size()))
        SetDirectory(entries_[static_cast<std::size_t>(index)].Path);
}

void TDirectoryListBox::DblClick() {
    OpenEntry(ItemIndex());
    TListBox::DblClick();
}

void TDirectoryListBox::SetDirLabel(TLabel* label) {
    dirLabel_ = label;
    UpdateLabel();
}

void TDirectoryListBox::BoundsChanged() {
    TListBox::BoundsChanged();
    UpdateLabel();
}

void TDirectoryListBox::Loaded() {
    TListBox::Loaded();
    UpdateLabel(); // the label's place in its form is known now
}

void TDirectoryListBox::UpdateLabel() {
    TLabel* label = dirLabel_.data();
    if (!label)
        return;
    int width = label->AutoSize() ? Width() : label->Width();
    // What shows of the label: a label wider than its parent is cut there.
    if (const TWinControl* parent = label->Parent())
        width = std::min(width, parent->ClientWidth() - label->Left());
    label->SetCaption(MinimizeName(directory_, label->Font(), width));
}

QString TDirectoryListBox::MinimizeName(const QString& path, const TFont& font, int width) {
    const QFontMetrics metrics(ToQFont(font));
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    // Keep the root and as many trailing folders as fit: "/.../b/c".
    QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    while (parts.size() > 1) {
        parts.removeFirst();
        const QString shortened = QStringLiteral("/.../") + parts.join(u'/');
        if (metrics.horizontalAdvance(shortened) <= width)
            return shortened;
    }
    return parts.isEmpty() ? path : QStringLiteral("/.../") + parts.front();
}

bool TDirectoryListBox::NameLess(const QString& a, const QString& b) { return NaturalLess(a, b); }

const TBitmap& TDirectoryListBox::Glyph(TFolderRole role) {
    if (!glyphsRead_) {
        glyphsRead_ = true;
        ReadBitmaps(glyphs_);
        for (TBitmap& glyph : glyphs_) { // the bottom-left pixel shows through
            glyph.SetTransparentMode(tmAuto);
            glyph.SetTransparent(true);
        }
    }
    return glyphs_[static_cast<std::size_t>(role)];
}

void TDirectoryListBox::ReadBitmaps(std::array<TBitmap, 3>& glyphs) {
    glyphs = {DrawFolder(frOpen), DrawFolder(frClosed), DrawFolder(frCurrent)};
}

void TDirectoryListBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas& canvas = *Canvas();
    const bool selected = state.testFlag(odSelected);
    canvas.Brush.Color = selected ? clHighlight : Color();
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(rect);
    if (index < 0 || index >= static_cast<int>(entries_.size()))
        return;
    const TEntry& entry = entries_[static_cast<std::size_t>(index)];
    const TBitmap& glyph = Glyph(entry.Role);
    const int x = rect.Left + 2 + entry.Level * kIndent;
    canvas.Draw(x, rect.Top + (rect.Height() - glyph.Height()) / 2, glyph);
    canvas.Font = Font();
    if (selected)
        canvas.Font.Color = clHighlightText;
    canvas.Brush.Style = bsClear;
    const QString name = Items().value(index);
    canvas.TextOut(x + glyph.Width() + 4, rect.Top + (rect.Height() - canvas.TextHeight(name)) / 2,
                   name);
}

} // namespace wt
