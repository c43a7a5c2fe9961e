// The plain message box: a text with one OK button, shown modally through
// the platform (the simulated desktop records it, the real one shows it).
#pragma once

#include <QString>

namespace wt {

// Shows text under the application's name.
void ShowMessage(const QString& text);
void ShowMessageBox(const QString& text, const QString& caption);
// A message box straight from the toolkit, for when no desktop backend could
// be started (the platform's own box is then not available).
void ShowToolkitMessageBox(const QString& text, const QString& caption);

} // namespace wt
