#include "toolkit/forms/snapshot.h"

#include "platform/backends.h"
#include "platform/platform.h"
#include "platform/sim/sim_platform.h"
#include "toolkit/core/classes.h"
#include "toolkit/forms/application.h"
#include "toolkit/forms/form.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <exception>

namespace wt {

struct TSnapshotSession::State {
    std::unique_ptr<QApplication> App;
    QTemporaryDir ConfigDir;
    QTemporaryDir DriveDir;
    SimPlatform* Sim = nullptr;
};

namespace {

// A drive of its own for the directory dialogs: the current directory three
// levels below its root, with subdirectories, so that every folder glyph
// shows and nothing of the user's files does.
void MakeSampleDrive(SimPlatform& sim, const QString& drive) {
    const QString current = drive + QStringLiteral("/Projects/Wingtucker/Sounds");
    for (const char* name : {"Moved in", "Moved out", "Reveal", "Archive 2", "archive 10"})
        QDir().mkpath(current + u'/' + QLatin1String(name));
    QDir().mkpath(drive + QStringLiteral("/Projects/Notes"));
    sim.SetMountPoints({"/", drive.toStdString()});
    sim.SetCurrentDirectory(current.toStdString());
}

} // namespace

TSnapshotSession::TSnapshotSession(int& argc, char** argv) : state_(std::make_unique<State>()) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    state_->App = std::make_unique<QApplication>(argc, argv);
    // Forms may read settings or post messages; none of that reaches the
    // real desktop or the user's configuration.
    auto sim = MakeSimulatedPlatform(state_->ConfigDir.path().toStdString());
    state_->Sim = sim.get();
    InstallPlatform(std::move(sim));
    MakeSampleDrive(*state_->Sim, state_->DriveDir.path());
    // Failures the forms report while shown go to the terminal, not a box.
    Application()->OnException = [](TObject*, const std::exception& e) {
        std::fprintf(stderr, "error report: %s\n", e.what());
    };
}

TSnapshotSession::~TSnapshotSession() = default;

std::vector<std::string> TSnapshotSession::FormNames() const {
    std::vector<std::string> out;
    for (const TClassInfo* info : RegisteredClasses())
        if (info->MetaObject != &TForm::staticMetaObject &&
            info->MetaObject->inherits(&TForm::staticMetaObject))
            out.push_back(ToStd(info->Name));
    return out;
}

bool TSnapshotSession::Render(const std::string& formClass, const std::string& pngFile,
                              std::int64_t atMs, std::string& message) {
    const TClassInfo* info = FindClassInfo(FromStd(formClass));
    if (!info || !info->MetaObject->inherits(&TForm::staticMetaObject)) {
        message = "no form class " + formClass + " is registered; --list shows them";
        return false;
    }
    try {
        std::unique_ptr<TComponent> component(info->Create(Application()));
        auto* form = dynamic_cast<TForm*>(component.get());
        if (!form) {
            message = formClass + " is not a form";
            return false;
        }
        form->Show();
        // A shown form is the active window, so focus marks show as they do.
        QApplication::setActiveWindow(form->Widget());
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        if (atMs > 0) {
            state_->Sim->Advance(atMs);
            for (int i = 0; i < 3; ++i)
                QCoreApplication::processEvents();
        }
        const QPixmap picture = form->Widget()->grab();
        form->Hide();
        if (picture.isNull() || !picture.save(FromStd(pngFile), "PNG")) {
            message = formClass + ": cannot write " + pngFile;
            return false;
        }
        message = formClass + " -> " + pngFile + " (" + std::to_string(picture.width()) + "x" +
                  std::to_string(picture.height()) + ")";
        return true;
    } catch (const std::exception& e) {
        message = formClass + ": " + e.what();
        return false;
    }
}

} // namespace wt
