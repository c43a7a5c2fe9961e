#include "toolkit/forms/offscreen_app.h"

#include <QApplication>

#include <cstdlib>

namespace wt {

void EnsureOffscreenApplication() {
    if (qApp)
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "wingtucker";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives as long as the process
}

} // namespace wt
