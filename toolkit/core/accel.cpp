#include "toolkit/core/accel.h"

namespace wt {

QChar AccelOf(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] == u'&') {
            ++i; // "&&": a literal ampersand
            continue;
        }
        return caption[i + 1];
    }
    return {};
}

bool IsAccel(QChar ch, const QString& caption) {
    const QChar accel = AccelOf(caption);
    return !accel.isNull() && accel.toUpper() == ch.toUpper();
}

} // namespace wt
