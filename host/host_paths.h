// Where hostide keeps its own files: the configuration directory (its
// default desktop DELPHI32.DSK and the list of add-ins) and where the
// default add-in is looked for.
#pragma once

#include <QString>
#include <QStringList>

namespace wt {

// $XDG_CONFIG_HOME/hostide, else ~/.config/hostide; made when first written.
QString HostConfigurationDirectory();
QString DefaultDesktopFileName();
// One add-in file per line; '#' starts a comment line. When the file exists
// it is the whole list (an empty file loads none); when it is missing the
// default add-in is loaded.
QString AddInListFileName();

inline constexpr char DefaultAddInFile[] = "libwingtucker.so";

// The places for the default add-in, most likely first: beside the
// executable, in the build tree, then in the installed add-in folder.
QStringList DefaultAddInCandidates(const QString& executableDir);

struct AddInList {
    QStringList Files; // absolute file names
    bool FromListFile = false;
    QString Error; // why the list file could not be read, else empty
};

// Relative names in the list file are taken from the configuration directory.
AddInList ReadAddInList(const QString& listFileName);
AddInList ParseAddInList(const QByteArray& text, const QString& baseDir);

} // namespace wt
