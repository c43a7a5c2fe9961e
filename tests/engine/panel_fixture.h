// The engine's panel stood up as the host does it, through the add-in's
// entry point, on a simulated desktop that holds the host IDE's main window
// and Object Inspector, with a settings file of the test's choosing; the
// host's notifications reach the engine through the add-in's notifier.
// Every test starts from a fresh add-in and ends with termination.
#pragma once

#include "tests/engine/test_host.h"

#include "addin/addin.h"
#include "dialogs/oops.h"
#include "engine/engine_state.h"
#include "engine/main.h"
#include "platform/sim/sim_platform.h"
#include "settings/settings_store.h"
#include "toolkit/controls/bitbtn.h"
#include "toolkit/controls/timer.h"
#include "widgets/CDKROMem.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>

namespace wt {
inline void PrintTo(const TRect& r, std::ostream* os) {
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
} // namespace wt

namespace wt::test {

// The simulated desktop, able to fail the way a lost display connection does.
class FaultySim : public SimPlatform {
public:
    using SimPlatform::SimPlatform;
    bool FailFindWindow = false;
    bool FailMoveWindow = false;
    // Forms of this class get no window, as when the display is gone.
    std::string FailAttachOf;
    // Runs once inside the next message pump: a click handled while a move
    // lets messages through.
    std::function<void()> DuringNextPump;

    void ProcessMessages() override {
        if (auto action = std::exchange(DuringNextPump, nullptr))
            action();
        SimPlatform::ProcessMessages();
    }

    WindowHandle FindWindow(std::string_view className,
                            std::optional<std::string_view> title) override {
        if (FailFindWindow)
            throw std::runtime_error("The display connection was lost");
        return SimPlatform::FindWindow(className, title);
    }
    WindowHandle AttachWindow(std::uintptr_t nativeId, std::string_view className,
                              MessageHandler handler) override {
        if (!FailAttachOf.empty() && className == FailAttachOf)
            throw std::runtime_error("The display connection was lost");
        return SimPlatform::AttachWindow(nativeId, className, std::move(handler));
    }
    bool MoveWindow(WindowHandle window, int x, int y, int width, int height,
                    bool repaint) override {
        if (FailMoveWindow)
            throw std::runtime_error("The window could not be moved");
        return SimPlatform::MoveWindow(window, x, y, width, height, repaint);
    }
};

class AddInTest : public ::testing::Test {
protected:
    static constexpr TRect DelphiAtStart{0, 0, 1024, 106};
    static constexpr TRect InspectorAtStart{0, 120, 200, 570};
    // Screen 1024 wide; full-screen height 750 plus an 18-pixel caption.
    static constexpr int UsableHeight = 768;

    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("wt_addin_" + std::to_string(getpid()) + "_" + std::to_string(counter_++));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        auto sim = std::make_unique<FaultySim>(dir_.string());
        sim_ = sim.get();
        sim_->SetScreen(1024, 750, 18);
        InstallPlatform(std::move(sim));
        delphi_ = sim_->AddWindow("TAppBuilder", "Delphi 2.0 - Demo", DelphiAtStart);
        inspector_ = sim_->AddWindow("TPropertyInspector", "Object Inspector", InspectorAtStart);
    }

    void TearDown() override {
        sim_->FailFindWindow = false;
        sim_->FailMoveWindow = false;
        Unload();
        InstallPlatform(nullptr);
        std::filesystem::remove_all(dir_);
    }

    // The host terminates the add-in and drops its experts; the add-in's
    // state is forgotten so that it can be loaded again.
    void Unload() {
        if (terminate_)
            terminate_();
        terminate_ = nullptr;
        for (TIExpert* e : RegisteredExperts())
            e->Release();
        RegisteredExperts().clear();
        ResetEngineState();
        ResetSettings();
        ResetAddInForTests();
        host_ = TestToolServices{};
    }

    // Section Wingtucker of the settings file; extra is appended as it stands.
    void WriteSettings(const std::string& keys, const std::string& extra = {}) {
        std::ofstream(dir_ / "Wingtckr.ini") << "[Wingtucker]\n" << keys << extra;
    }

    // The host loads the add-in.
    void Load() {
        ASSERT_TRUE(INITEXPERT0016(&host_, &RegisterExpert, &terminate_));
        ASSERT_NE(Panel, nullptr);
        ASSERT_EQ(RegisteredExperts().size(), 1u);
    }

    TIExpert* Expert() { return RegisteredExperts().at(0); }

    // Start with a project open; the records of the desktop start afresh.
    void Start() {
        host_.project = "/work/Demo/Demo.dpr";
        Panel->btnStart->Click();
        ASSERT_EQ(sim_->HookWindow(), Panel->Handle()) << "Start did not set the hook";
        sim_->ClearRecords();
    }

    // Start, answering the one message it may show; returns its text.
    std::string StartAndAnswer() {
        std::string said;
        QTimer::singleShot(0, [&] {
            for (TComponent* c : Panel->Components())
                if (auto* oops = dynamic_cast<TfrmOops*>(c)) {
                    said = ToStd(oops->memo->Text());
                    oops->btnOk->Click();
                }
        });
        Start();
        return said;
    }

    // The hook reports a pointer position; the message is handled at once.
    void Pointer(int x, int y) {
        ASSERT_TRUE(sim_->MovePointer(x, y)) << "no hook set";
        sim_->ProcessMessages();
    }

    TRect Rect(WindowHandle w) const { return sim_->GetWindowRect(w); }
    bool RevealPending() const { return Panel->timerWait->Enabled(); }
    std::string Caption() const { return ToStd(Panel->Caption()); }

    // The windows moved so far, in order.
    std::vector<WindowHandle> MovedWindows() const {
        std::vector<WindowHandle> out;
        for (const auto& call : sim_->MoveCalls())
            out.push_back(call.Window);
        return out;
    }

    FaultySim* sim_ = nullptr;
    TestToolServices host_;
    TExpertTerminateProc terminate_ = nullptr;
    WindowHandle delphi_ = 0;
    WindowHandle inspector_ = 0;
    std::filesystem::path dir_;
    static inline int counter_ = 0;
};

} // namespace wt::test
