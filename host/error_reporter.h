// How the program (hostide, wingtucker) tells the user about errors: a message box that does not
// block the caller, a line in the messages pane, and a line on standard error.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace wt {

class MessagesWindow;

class ErrorReporter : public QObject {
    Q_OBJECT
public:
    explicit ErrorReporter(MessagesWindow* pane, QObject* parent = nullptr);

    // The box is modeless: an add-in calling ReportError from a timer or a
    // notification gets control back at once and no nested event loop runs
    // inside its call.
    void Report(const QString& message);
    // The messages pane and standard error only.
    void Note(const QString& message);
    // At exit no boxes come up any more.
    void SetBoxesEnabled(bool enabled) { boxes_ = enabled; }

private:
    QPointer<MessagesWindow> pane_;
    bool boxes_ = true;
};

} // namespace wt
