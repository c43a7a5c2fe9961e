// wingtucker-snap: renders registered forms to PNG files without a display,
// so that anyone can look at a form. Forms are made as the program makes
// them (read from their descriptions), shown under Qt's offscreen platform
// on a simulated desktop, and grabbed.
//
//   wingtucker-snap FORM OUT.png     one form, by class name (TfrmOops)
//   wingtucker-snap --all DIR        every registered form, DIR/<class>.png
//   wingtucker-snap --list           the class names of the registered forms

#include "toolkit/application.h"
#include "toolkit/classes.h"
#include "toolkit/form.h"

#include "platform/platform.h"
#include "platform/sim/sim_platform.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace wt;

std::vector<const TClassInfo*> FormClasses() {
    std::vector<const TClassInfo*> out;
    for (const TClassInfo* info : RegisteredClasses())
        if (info->MetaObject != &TForm::staticMetaObject && info->MetaObject->inherits(&TForm::staticMetaObject))
            out.push_back(info);
    return out;
}

// Makes, shows, grabs and frees one form; false (with a message) on failure.
bool Snap(const TClassInfo& info, const QString& outFile) {
    try {
        std::unique_ptr<TComponent> component(info.Create(Application()));
        auto* form = dynamic_cast<TForm*>(component.get());
        if (!form) {
            std::fprintf(stderr, "%s is not a form\n", qPrintable(info.Name));
            return false;
        }
        form->Show();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        const QPixmap picture = form->Widget()->grab();
        form->Hide();
        if (picture.isNull() || !picture.save(outFile, "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", qPrintable(info.Name), qPrintable(outFile));
            return false;
        }
        std::printf("%s -> %s (%dx%d)\n", qPrintable(info.Name), qPrintable(outFile), picture.width(),
                    picture.height());
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(info.Name), e.what());
        return false;
    }
}

int Usage() {
    std::fprintf(stderr,
                 "usage: wingtucker-snap FORM OUT.png\n"
                 "       wingtucker-snap --all DIR\n"
                 "       wingtucker-snap --list\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);

    // Forms may read settings or post messages; none of that reaches the
    // real desktop or the user's configuration.
    QTemporaryDir configDir;
    InstallPlatform(std::make_unique<SimPlatform>(configDir.path().toStdString()));
    // Failures the forms report while shown go to the terminal, not a box.
    Application()->OnException = [](TObject*, const std::exception& e) {
        std::fprintf(stderr, "error report: %s\n", e.what());
    };

    if (args.size() == 1 && args[0] == QLatin1String("--list")) {
        for (const TClassInfo* info : FormClasses())
            std::printf("%s\n", qPrintable(info->Name));
        return 0;
    }
    if (args.size() != 2)
        return Usage();
    if (args[0] == QLatin1String("--all")) {
        QDir dir(args[1]);
        if (!dir.mkpath(QStringLiteral("."))) {
            std::fprintf(stderr, "cannot make directory %s\n", qPrintable(args[1]));
            return 1;
        }
        const auto forms = FormClasses();
        if (forms.empty())
            std::fprintf(stderr, "no forms are registered\n");
        bool ok = true;
        for (const TClassInfo* info : forms)
            ok = Snap(*info, dir.filePath(info->Name + QStringLiteral(".png"))) && ok;
        return ok ? 0 : 1;
    }
    const TClassInfo* info = FindClassInfo(args[0]);
    if (!info || !info->MetaObject->inherits(&TForm::staticMetaObject)) {
        std::fprintf(stderr, "no form class %s is registered; --list shows them\n", qPrintable(args[0]));
        return 1;
    }
    return Snap(*info, args[1]) ? 0 : 1;
}
