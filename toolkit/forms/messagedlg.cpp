#include "toolkit/forms/messagedlg.h"

#include "toolkit/core/enums.h"
#include "toolkit/forms/messagebox.h"

#include <QCoreApplication>

namespace wt {

QString MessageDlgCaption(TMsgDlgType type) {
    switch (type) {
    case mtWarning: return QStringLiteral("Warning");
    case mtError: return QStringLiteral("Error");
    case mtInformation: return QStringLiteral("Information");
    case mtConfirmation: return QStringLiteral("Confirm");
    case mtCustom: break;
    }
    const QString title = QCoreApplication::applicationName();
    return title.isEmpty() ? QStringLiteral("Wingtucker") : title;
}

int MessageDlg(const QString& text, TMsgDlgType type, int /*helpContext*/) {
    // The platform's box has exactly one OK button; a help context of 0 (the
    // only one used) means no help button either.
    ShowMessageBox(text, MessageDlgCaption(type));
    return mrOk;
}

} // namespace wt
