#include "host/error_reporter.h"

#include "host/messages_window.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include <cstdio>

namespace wt {

ErrorReporter::ErrorReporter(MessagesWindow* pane, QObject* parent)
    : QObject(parent), pane_(pane) {}

void ErrorReporter::Note(const QString& message) {
    std::fprintf(stderr, "%s: %s\n", QCoreApplication::applicationName().toLocal8Bit().constData(),
                 message.toLocal8Bit().constData());
    std::fflush(stderr);
    if (pane_)
        pane_->Append(message);
}

void ErrorReporter::Report(const QString& message) {
    Note(message);
    if (!boxes_)
        return;
    auto* box = new QMessageBox(QMessageBox::Warning, QCoreApplication::applicationName(), message,
                                QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->adjustSize();
    // In the middle of the screen, where it covers neither IDE window's edge.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    box->move(screen.center() - QPoint(box->width() / 2, box->height() / 2));
    box->show();
}

} // namespace wt
