// A temporary directory standing for a drive, made the simulated current
// directory, and a way to act on a modal form once it is up.
#pragma once

#include "ui_support.h"

#include "toolkit/forms/application.h"
#include "toolkit/forms/form.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

namespace wt::test {

class DriveTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        root = drive.path();
        Sim().SetMountPoints({"/", root.toStdString()});
        Enter(root);
    }
    void Enter(const QString& dir) { ASSERT_TRUE(Sim().SetCurrentDirectory(dir.toStdString())); }
    QString Current() { return QString::fromStdString(Sim().GetCurrentDirectory()); }
    QString Path(const QString& relative) const { return root + u'/' + relative; }
    QString Make(const QString& relative) {
        QDir().mkpath(Path(relative));
        return Path(relative);
    }
    bool Exists(const QString& relative) const { return QDir(Path(relative)).exists(); }

    // Runs step on the first modal form of class F once it shows.
    template <class F>
    static void WhenModal(std::function<void(F&)> step) {
        QTimer::singleShot(0, [step] {
            for (TForm* form : Application()->Forms())
                if (auto* f = dynamic_cast<F*>(form); f && f->Modal()) {
                    step(*f);
                    return;
                }
            ADD_FAILURE() << "no modal form of the class showed";
        });
    }

    QTemporaryDir drive;
    QString root;
};

} // namespace wt::test
