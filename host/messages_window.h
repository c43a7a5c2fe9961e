// The messages pane: every error and note of the session, in order, in a
// window of its own that comes up when a message arrives.
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace wt {

class MessagesWindow : public QWidget {
    Q_OBJECT
public:
    explicit MessagesWindow(QWidget* parent = nullptr);

    void Append(const QString& message);
    QString Text() const;

private:
    QPlainTextEdit* text_;
};

} // namespace wt
