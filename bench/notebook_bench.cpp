// How long the notebook takes to paint and to change pages, under Qt's
// offscreen platform on the simulated desktop: a full repaint (background
// erase and paint step over the whole control) of the options dialog's
// notebook (244 x 142, tabs on the left, four bitmap pages) and of a
// three-row notebook (seven captioned pages on top), and a page change by
// the arrow key with the repaint it causes, events processed.
// Usage: notebook_bench [rounds]
#include "platform/platform.h"
#include "platform/sim/sim_platform.h"
#include "toolkit/forms/form.h"
#include "widgets/notebook/CSNoteBk.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using N = wt::TcsNotebook;

void Report(const char* what, std::vector<double>& ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-40s median %6.3f  p99 %6.3f  max %6.3f ms  (%zu)\n", what, ms[ms.size() / 2],
                ms[ms.size() * 99 / 100], ms.back(), ms.size());
}

std::vector<double> Time(int rounds, const std::function<void()>& step) {
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        step();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return ms;
}

wt::TBitmap Glyph(wt::TColor color) {
    wt::TBitmap b(32, 32);
    b.Canvas().Brush.Color = wt::clFuchsia;
    b.Canvas().FillRect({0, 0, 32, 32});
    b.Canvas().Brush.Color = color;
    b.Canvas().FillRect({4, 4, 28, 28});
    return b;
}

N* OptionsNotebook(wt::TForm& form) {
    auto* nb = new N(&form);
    nb->SetParent(&form);
    nb->SetBounds(8, 8, 244, 142);
    nb->SetTabOrientation(N::toLeft);
    nb->SetTabsPerRow(4);
    nb->SetTabHeight(35);
    nb->SetCornerSize(3);
    nb->SetTextAlignment(N::taInvisible);
    nb->SetBitmapAlignment(N::baCentreMiddle);
    nb->SetPages({"Hiding", "Sound", "Movement", "General"});
    nb->SetPageIndex(0);
    const wt::TColor colors[] = {wt::clLime, wt::clRed, wt::clYellow, wt::clAqua};
    for (int i = 0; i < 4; ++i)
        nb->Page(i)->SetBitmap(Glyph(colors[i]));
    return nb;
}

N* ThreeRowNotebook(wt::TForm& form) {
    auto* nb = new N(&form);
    nb->SetParent(&form);
    nb->SetBounds(260, 8, 300, 190);
    nb->SetTextAlignment(N::taCentreMiddle);
    nb->SetTabHeight(22);
    nb->SetPages({"&One", "T&wo", "Th&ree", "&Four", "F&ive", "&Six", "Se&ven"});
    nb->SetPageIndex(4);
    return nb;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;
    auto previous = wt::InstallPlatform(std::make_unique<wt::SimPlatform>());
    {
        wt::TForm form;
        form.SetBounds(0, 0, 600, 220);
        N* options = OptionsNotebook(form);
        N* rows = ThreeRowNotebook(form);
        form.Show();
        QApplication::setActiveWindow(form.Widget());
        QCoreApplication::processEvents();

        auto repaintOptions = Time(rounds, [&] { options->PaintToImage(); });
        Report("full repaint, options notebook", repaintOptions);
        auto repaintRows = Time(rounds, [&] { rows->PaintToImage(); });
        Report("full repaint, three-row notebook", repaintRows);

        options->SetFocus();
        QCoreApplication::processEvents();
        auto changeOptions = Time(rounds, [&] {
            options->Perform(wt::WM_KEYDOWN, wt::VK_DOWN);
            QCoreApplication::processEvents();
        });
        Report("page change by key, options notebook", changeOptions);
        rows->SetFocus();
        QCoreApplication::processEvents();
        auto changeRows = Time(rounds, [&] {
            rows->Perform(wt::WM_KEYDOWN, wt::VK_RIGHT);
            QCoreApplication::processEvents();
        });
        Report("page change by key, three-row notebook", changeRows);
    }
    wt::InstallPlatform(std::move(previous));
    return 0;
}
