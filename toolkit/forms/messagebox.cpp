#include "toolkit/forms/messagebox.h"

#include "platform/platform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

namespace wt {

void ShowMessage(const QString& text) {
    QString caption = QCoreApplication::applicationName();
    if (caption.isEmpty())
        caption = QStringLiteral("Wingtucker");
    ShowMessageBox(text, caption);
}

void ShowMessageBox(const QString& text, const QString& caption) {
    const QByteArray t = text.toUtf8();
    const QByteArray c = caption.toUtf8();
    ThePlatform().System().MessageBox(
        std::string_view(t.constData(), static_cast<std::size_t>(t.size())),
        std::string_view(c.constData(), static_cast<std::size_t>(c.size())));
}

void ShowToolkitMessageBox(const QString& text, const QString& caption) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    QMessageBox::warning(nullptr, caption, text);
}

} // namespace wt
