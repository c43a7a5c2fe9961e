// A simulated desktop with the host IDE's two windows, installed as the
// platform, and the engine state and settings at their start values.
#pragma once

#include "engine/discovery.h"
#include "engine/engine_state.h"
#include "platform/platform.h"
#include "platform/sim/sim_platform.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

namespace wt {
inline void PrintTo(const TRect& r, std::ostream* os) {
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
} // namespace wt

namespace wt::test {

class EngineTest : public ::testing::Test {
protected:
    static constexpr int ScreenWidth = 1024;
    static constexpr int FullScreenHeight = 738;
    static constexpr int CaptionHeight = 18;

    void SetUp() override {
        auto sim = std::make_unique<SimPlatform>();
        Sim = sim.get();
        InstallPlatform(std::move(sim));
        Sim->SetScreen(ScreenWidth, FullScreenHeight, CaptionHeight);
        ResetEngineState();
        ResetSettings();
    }

    void TearDown() override {
        ResetEngineState();
        ResetSettings();
        InstallPlatform(nullptr);
    }

    WindowHandle AddDelphi(TRect rect, std::string title = "Delphi 2.0 - Project1") {
        return Sim->AddWindow(std::string(DelphiClassName), std::move(title), rect);
    }
    WindowHandle AddInspector(TRect rect, std::string title = std::string(InspectorTitle)) {
        return Sim->AddWindow(std::string(InspectorClassName), std::move(title), rect);
    }

    SimPlatform* Sim = nullptr;
};

} // namespace wt::test
