// Accelerator characters of captions: "&Accept" is reached by 'a' (with or
// without Alt, as the form delivers it); "&&" stands for a plain ampersand.
#pragma once

#include <QChar>
#include <QString>

namespace wt {

// Whether ch is the accelerator of caption, compared without case.
bool IsAccel(QChar ch, const QString& caption);
// The accelerator character of caption, or a null character.
QChar AccelOf(const QString& caption);

} // namespace wt
