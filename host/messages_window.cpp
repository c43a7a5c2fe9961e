#include "host/messages_window.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

namespace wt {

MessagesWindow::MessagesWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Messages"));
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);
    // Along the bottom of the screen, clear of the two IDE windows.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    setGeometry(screen.left() + 240, screen.bottom() - 180, qMin(640, screen.width() - 260), 150);
}

void MessagesWindow::Append(const QString& message) {
    text_->appendPlainText(message);
    if (!isVisible())
        show();
}

QString MessagesWindow::Text() const { return text_->toPlainText(); }

} // namespace wt
