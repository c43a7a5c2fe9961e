// Helpers of the widget and dialog tests: one QApplication for the program
// and a simulated desktop installed for each test.
#pragma once

#include "platform/platform.h"
#include "platform/sim/sim_platform.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace wt::test {

inline void EnsureUiApplication() {
    if (qApp)
        return;
    static int argc = 1;
    static char name[] = "wt_ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureUiApplication();
        auto sim = std::make_unique<SimPlatform>();
        platform_ = sim.get();
        previous_ = InstallPlatform(std::move(sim));
    }
    void TearDown() override { InstallPlatform(std::move(previous_)); }
    SimPlatform& Sim() { return *platform_; }

private:
    SimPlatform* platform_ = nullptr;
    std::unique_ptr<Platform> previous_;
};

} // namespace wt::test
