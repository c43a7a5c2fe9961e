// The user's XDG autostart entry for wingtucker: written with the options
// the runner is to start with, or removed.
#pragma once

#include <QString>
#include <QStringList>

namespace wt {

// $XDG_CONFIG_HOME/autostart/wingtucker.desktop, else under ~/.config.
QString AutostartFileName();
// The entry's text: it runs program with arguments.
QByteArray AutostartEntry(const QString& program, const QStringList& arguments);
// Writes the entry whole (a new file renamed over the old one) or removes
// it; "" when done, else why not.
QString SetAutostart(bool on, const QString& program, const QStringList& arguments);

} // namespace wt
