// The engine on the simulated desktop, loaded as the host loads the add-in:
// random pointer positions, timer advances, activation changes, Start, Stop,
// Hide, the host's project and desktop notifications, and the Inspector
// re-created by the IDE. Nothing crashes; a managed window only ever lands
// on its restore, shown or hidden rectangle, or where it is brought back on
// screen, or (while animating) a step between those and where it stood; and
// after Stop no IDE window is left off screen.
#include "fuzz/fuzz_support.h"

#include "tests/engine/test_host.h"

#include "addin/addin.h"
#include "engine/engine_state.h"
#include "engine/geometry.h"
#include "engine/main.h"
#include "platform/sim/sim_platform.h"
#include "settings/settings_store.h"
#include "toolkit/controls/bitbtn.h"
#include "toolkit/core/messages.h"

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>

namespace wt::fuzz {
namespace {

constexpr int ScreenWidth = 1024;
constexpr int FullScreenHeight = 750;
constexpr int CaptionHeight = 18;

struct Desk {
    SimPlatform* Sim = nullptr;
    test::TestToolServices Host;
    TExpertTerminateProc Terminate = nullptr;
    WindowHandle Delphi = 0;
    WindowHandle Inspector = 0;
    bool Animate = false;
};

bool Between(std::int32_t v, std::initializer_list<std::int32_t> ends) {
    return v >= std::min(ends) && v <= std::max(ends);
}

// Where the engine may put a window it manages, given where it stands.
void CheckLanding(const Desk& desk, const SimPlatform::MoveCall& call) {
    const HiddenWindow* w = call.Window == DelphiWindow.Handle      ? &DelphiWindow
                            : call.Window == InspectorWindow.Handle ? &InspectorWindow
                                                                    : nullptr;
    if (!w) {
        Check(call.Window != desk.Delphi && call.Window != desk.Inspector,
              "an IDE window was moved under a handle the engine does not hold");
        return;
    }
    const TRect target = call.Rect();
    const TRect before = desk.Sim->GetWindowRect(call.Window);
    const TRect back = BroughtOnScreen(before, ScreenRect());
    if (target == w->RestoreRect || target == w->ShownRect || target == w->HiddenRect ||
        target == back)
        return;
    Check(desk.Animate, "a window landed on none of its rectangles");
    const TRect r[] = {w->RestoreRect, w->ShownRect, w->HiddenRect, before, back};
    auto inside = [&](std::int32_t v, std::int32_t TRect::*edge) {
        return Between(v, {r[0].*edge, r[1].*edge, r[2].*edge, r[3].*edge, r[4].*edge});
    };
    Check(inside(target.Left, &TRect::Left) && inside(target.Top, &TRect::Top) &&
              inside(target.Right, &TRect::Right) && inside(target.Bottom, &TRect::Bottom),
          "an animation step left the span of the window's rectangles");
}

void CheckNothingLost(const Desk& desk) {
    for (WindowHandle w : {desk.Delphi, desk.Inspector})
        if (desk.Sim->FindById(w))
            Check(!LiesOffScreen(desk.Sim->GetWindowRect(w), ScreenRect()),
                  "an IDE window is off screen after Stop");
}

std::string Flag(FuzzedDataProvider& in) { return in.ConsumeBool() ? "True" : "False"; }

void WriteSettings(FuzzedDataProvider& in, Desk& desk) {
    const bool inspector = in.ConsumeBool();
    const bool delphi = !inspector || in.ConsumeBool(); // one at least: no Oops dialog
    desk.Animate = in.ConsumeBool();
    std::ofstream file(WorkDirectory() + "/" + SettingsFileName, std::ios::trunc);
    file << "[" << SettingsSection << "]\n"
         << "gwHideInspector=" << (inspector ? "True" : "False") << "\n"
         << "gwHideDelphi=" << (delphi ? "True" : "False") << "\n"
         << "gwSide=" << in.ConsumeIntegralInRange(0, 1) << "\n"
         << "gwAnimate=" << (desk.Animate ? "True" : "False") << "\n"
         << "gwAnimateSpeed=" << in.ConsumeIntegralInRange(0, 40) << "\n"
         << "HangOutPixels=" << in.ConsumeIntegralInRange(0, 12) << "\n"
         << "gwDelay=" << in.ConsumeIntegralInRange(-10, 1200) << "\n"
         << "gwUseAutoHide=" << Flag(in) << "\n"
         << "gwDisableOnFocusLoss=" << Flag(in) << "\n";
}

// A rectangle wholly on screen, as a user or a desktop file leaves a window.
TRect OnScreen(FuzzedDataProvider& in) {
    const int w = in.ConsumeIntegralInRange(50, ScreenWidth);
    const int h = in.ConsumeIntegralInRange(50, FullScreenHeight);
    const int x = in.ConsumeIntegralInRange(0, ScreenWidth - w);
    const int y = in.ConsumeIntegralInRange(0, FullScreenHeight - h);
    return {x, y, x + w, y + h};
}

// A pointer position, mostly near the edges where the watch looks.
TPoint Pointer(FuzzedDataProvider& in) {
    const int edge = in.ConsumeIntegralInRange(0, 3);
    if (edge == 0)
        return {in.ConsumeIntegralInRange(-20, ScreenWidth + 20),
                in.ConsumeIntegralInRange(-20, FullScreenHeight + CaptionHeight + 20)};
    const int near = in.ConsumeIntegralInRange(-3, 250);
    const int along = in.ConsumeIntegralInRange(0, FullScreenHeight);
    if (edge == 1)
        return {in.ConsumeIntegralInRange(0, ScreenWidth), near};
    return {edge == 2 ? near : ScreenWidth - 1 - near, along};
}

void OneStep(FuzzedDataProvider& in, Desk& desk) {
    SimPlatform& sim = *desk.Sim;
    const int op = in.ConsumeIntegralInRange(0, 11);
    Trace("step %d at %lld ms\n", op, static_cast<long long>(sim.Now()));
    switch (op) {
    case 0:
    case 1:
    case 2: {
        const TPoint p = Pointer(in);
        if (sim.MovePointer(p.X, p.Y))
            sim.ProcessMessages();
        break;
    }
    case 3:
    case 4: sim.Advance(in.ConsumeIntegralInRange(0, 1500)); break;
    case 5:
        if (Panel)
            sim.SendMessage(Panel->Handle(), WM_ACTIVATEAPP, in.ConsumeIntegralInRange(0, 1), 0);
        break;
    case 6:
        desk.Host.project = in.ConsumeIntegralInRange(0, 5) == 0 ? "" : "/work/Demo/Demo.dpr";
        if (Panel && Panel->btnStart->Enabled())
            Panel->btnStart->Click();
        break;
    case 7:
        if (Panel && Panel->btnStop->Enabled()) {
            Panel->btnStop->Click();
            CheckNothingLost(desk);
        }
        break;
    case 8:
        if (Panel)
            Panel->btnHide->Click();
        break;
    case 9: {
        static const std::uint8_t codes[] = {fnProjectClosing, fnProjectDesktopLoad,
                                             fnDefaultDesktopLoad, fnDesktopSave};
        const std::uint8_t code = codes[in.ConsumeIntegralInRange(0, 3)];
        const char* file = in.ConsumeBool() ? "/work/Demo/Demo.dsk" : "/opt/ide/bin/DELPHI32.DSK";
        // Loading a desktop puts the IDE's windows where the file says, first.
        if ((code == fnProjectDesktopLoad || code == fnDefaultDesktopLoad) && in.ConsumeBool())
            for (WindowHandle w : {desk.Delphi, desk.Inspector})
                if (sim.FindById(w))
                    sim.SetWindowRect(w, OnScreen(in));
        if (desk.Host.notifier)
            desk.Host.Send(code, file);
        if (code == fnProjectClosing)
            CheckNothingLost(desk);
        break;
    }
    case 10:
        // The IDE re-creates its Inspector elsewhere; the engine finds it again.
        sim.DestroyWindow(desk.Inspector);
        desk.Inspector = sim.AddWindow("TPropertyInspector", "Object Inspector", OnScreen(in));
        break;
    default: sim.ProcessMessages(); break;
    }
}

} // namespace
} // namespace wt::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wt::fuzz::EnsureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wt;
    using namespace wt::fuzz;
    FuzzedDataProvider in(data, size);
    Desk desk;
    auto sim = std::make_unique<SimPlatform>(WorkDirectory());
    desk.Sim = sim.get();
    desk.Sim->SetScreen(ScreenWidth, FullScreenHeight, CaptionHeight);
    InstallPlatform(std::move(sim));
    desk.Delphi = desk.Sim->AddWindow("TAppBuilder", "Delphi 2.0 - Demo", {0, 0, 1024, 106});
    desk.Inspector = desk.Sim->AddWindow("TPropertyInspector", "Object Inspector", OnScreen(in));
    WriteSettings(in, desk);
    desk.Sim->OnMoveWindow = [&desk](const SimPlatform::MoveCall& call) {
        CheckLanding(desk, call);
    };

    Check(INITEXPERT0016(&desk.Host, &test::RegisterExpert, &desk.Terminate) && Panel,
          "the add-in did not load");
    for (int step = 0; step < 48 && in.remaining_bytes() > 0; ++step)
        OneStep(in, desk);

    desk.Sim->OnMoveWindow = nullptr;
    if (desk.Terminate)
        desk.Terminate();
    for (TIExpert* e : test::RegisteredExperts())
        e->Release();
    test::RegisteredExperts().clear();
    ResetEngineState();
    ResetSettings();
    ResetAddInForTests();
    InstallPlatform(nullptr);
    return 0;
}
