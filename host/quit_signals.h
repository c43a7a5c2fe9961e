// Ends hostide in good order on SIGTERM, SIGINT and SIGHUP: the signal is
// turned into an event on the user-interface thread, which then asks the
// session to exit like File|Exit does.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace wt {

class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

    bool IsInstalled() const { return notifier_ != nullptr; }

signals:
    void QuitRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace wt
