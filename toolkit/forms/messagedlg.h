// The message dialog of a type (error, warning, ...) with one OK button and
// a help context, titled by its type as the class library titles it; shown
// modally through the platform's message box.
#pragma once

#include <QString>

namespace wt {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using enum TMsgDlgType;

// The caption the dialog of that type carries ("Error" for mtError; the
// application's title for mtCustom).
QString MessageDlgCaption(TMsgDlgType type);
// Shows text and waits for OK; answers the modal result of OK.
int MessageDlg(const QString& text, TMsgDlgType type, int helpContext = 0);

} // namespace wt
