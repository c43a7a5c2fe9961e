#include "widgets/DODDirCr.h"

#include "toolkit/core/paths.h"

#include "DODDirCr_wfm.h"

namespace wt {

TCreateDirectoryForm::TCreateDirectoryForm(TComponent* owner) : TForm(owner) {
    Handler("OKButtonClick", &TCreateDirectoryForm::OKButtonClick);
    Field("OKButton", OKButton);
    Field("CancelButton", CancelButton);
    Field("DirectoryToCreateEdit", DirectoryToCreateEdit);
    Field("Label1", Label1);
    Field("CurrentDirectoryLabel", CurrentDirectoryLabel);
    Field("Label2", Label2);
    ReadForm(forms::DODDirCr, QString::fromLatin1(forms::DODDirCrFile));
}

void TCreateDirectoryForm::OKButtonClick(TObject*) {
    MakeDirectoryTree(DirectoryToCreateEdit->Text());
}

QString CurrentDirWithSeparator() {
    QString dir = GetCurrentDir();
    if (!dir.endsWith(PathDelim))
        dir += PathDelim;
    return dir;
}

namespace {

void MakeTree(QString path) {
    // Each call works on a shorter path than its caller, so the recursion
    // ends after at most as many calls as the path has characters.
    if (path.isEmpty())
        return;
    if (path.endsWith(PathDelim))
        path.chop(1);
    // "a//": the path would be its own directory part; the separators left
    // over go too, so the next call still gets a shorter path.
    while (path.endsWith(PathDelim))
        path.chop(1);
    if (path.isEmpty() || DirectoryExists(path)) // "/" itself, or already there
        return;
    MakeTree(path.left(path.lastIndexOf(PathDelim) + 1));
    CreateDir(path); // a failure is not reported: the directory is just missing
}

} // namespace

void MakeDirectoryTree(const QString& path) {
    if (!IsUsablePath(path))
        return;
    MakeTree(path);
}

} // namespace wt
