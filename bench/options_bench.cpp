// How long the Options dialog takes on a private Xvfb with the X11 platform,
// as the panel's Options button runs it: creating it (reading its form
// description, the four pages and their controls) and showing it until its
// first paint has been handled; then closing it, by Accept (the twelve keys
// written) or by the close box, freeing it and reading the settings again.
// Usage: options_bench [rounds]
#include "platform/x11/x11_platform.h"
#include "settings/EasyINI.h"
#include "settings/options.h"
#include "settings/settings_store.h"
#include "tests/x11/x_server.h"
#include "toolkit/controls/bitbtn.h"
#include "toolkit/forms/application.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

void Report(const char* what, std::vector<double> ms, double targetMs) {
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("%-44s median %7.3f  p90 %7.3f  max %7.3f ms  (%zu; target median <= %g: %s)\n",
                what, median, ms[ms.size() * 9 / 10], ms.back(), ms.size(), targetMs,
                median <= targetMs ? "met" : "MISSED");
}

// Notes the first paint of a widget.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Creates and shows the dialog; returns it once its window was painted.
wt::TfrmOptions* OpenDialog(wt::TIniEditor& ini) {
    auto* options = new wt::TfrmOptions(wt::Application());
    options->SetIni(&ini);
    PaintWatch watch;
    QWidget* window = options->Widget();
    window->installEventFilter(&watch);
    options->Show();
    QElapsedTimer limit;
    limit.start();
    while (!watch.painted && limit.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    window->removeEventFilter(&watch);
    if (!watch.painted) {
        std::fprintf(stderr, "options_bench: the dialog was never painted\n");
        std::exit(1);
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 100;

    wt::test::XvfbServer server;
    server.Start(1024, 768, 160);
    setenv("DISPLAY", server.DisplayName().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    const fs::path config =
        fs::temp_directory_path() / ("wt-options-bench-" + std::to_string(getpid()));
    fs::create_directories(config / "wingtucker");
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    std::ofstream(config / "wingtucker" / wt::SettingsFileName)
        << "[Wingtucker]\ngwHideInspector=True\ngwSide=1\ngwHideDelphi=True\ngwAnimate=True\n"
           "gwWindowSounds=True\nMoveOutSound=out.wav\nMoveInSound=in.wav\ngwDelay=300\n";

    QApplication app(argc, argv);
    wt::InstallPlatform(std::make_unique<wt::X11Platform>());
    {
        // The panel's INI component, as the Options button hands it over.
        wt::TIniEditor ini(wt::Application());
        ini.SetFileName(wt::SettingsFileName);
        ini.SetFileLocation(wt::TIniEditor::WindowsPath);
        wt::LoadSettings(ini);

        // The first showing loads fonts and the platform plugin's caches:
        // measured apart, as the user's first press of the button.
        auto start = Clock::now();
        wt::TfrmOptions* first = OpenDialog(ini);
        const double firstMs = Ms(start);
        first->Close();
        delete first;
        std::printf("options_bench on Xvfb %s, %d rounds; first showing %.3f ms\n",
                    server.DisplayName().c_str(), rounds, firstMs);

        std::vector<double> open, accept, closeBox;
        for (int i = 0; i < rounds; ++i) {
            start = Clock::now();
            wt::TfrmOptions* options = OpenDialog(ini);
            open.push_back(Ms(start));

            const bool byAccept = i % 2 == 0;
            start = Clock::now();
            if (byAccept)
                options->btnClose->Click();
            else
                options->Close();
            delete options;
            wt::LoadSettings(ini);
            (byAccept ? accept : closeBox).push_back(Ms(start));
            QCoreApplication::processEvents();
        }
        Report("create and show until painted", open, 100);
        Report("Accept, free and read the settings again", accept, 10);
        Report("close box, free and read the settings again", closeBox, 10);
    }
    wt::InstallPlatform(nullptr);
    fs::remove_all(config);
    return 0;
}
