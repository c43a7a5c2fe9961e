// libwingtucker.so loaded the way a host loads it: dlopen, the one exported
// entry point, the expert's answers, Execute, a notification and the
// termination procedure, on the simulated desktop the environment picks.
#include "tests/engine/test_host.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace wt::test {
namespace {

// The add-in's panel, found among the application's windows by its title.
QWidget* PanelWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle().startsWith(QStringLiteral("Wingtucker 1.2d")))
            return w;
    return nullptr;
}

TEST(LibraryTest, AHostLoadsRunsAndTerminatesTheAddIn) {
    const auto config =
        std::filesystem::temp_directory_path() / ("wt_addin_library_" + std::to_string(getpid()));
    std::filesystem::create_directories(config / "wingtucker");
    std::ofstream(config / "wingtucker" / "Wingtckr.ini") << "[Wingtucker]\ngwHideDelphi=True\n";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("WINGTUCKER_PLATFORM", "sim", 1);

    void* library = dlopen(WT_ADDIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto entry = reinterpret_cast<TExpertInitProc>(dlsym(library, ExpertEntryPointName));
    ASSERT_NE(entry, nullptr) << dlerror();
    // Nothing of the add-in's own is exported besides the entry point.
    EXPECT_EQ(dlsym(library, "_ZN2wt14TerminateAddInEv"), nullptr);
    EXPECT_EQ(dlsym(library, "_ZN2wt11ApplicationEv"), nullptr);
    EXPECT_EQ(PanelWindow(), nullptr); // loading alone creates nothing

    TestToolServices host;
    TExpertTerminateProc terminate = nullptr;
    ASSERT_TRUE(entry(&host, &RegisterExpert, &terminate));
    ASSERT_NE(terminate, nullptr);
    ASSERT_EQ(RegisteredExperts().size(), 1u);
    ASSERT_EQ(host.registered.size(), 1u);
    EXPECT_EQ(host.countAfterRegister, 2);
    EXPECT_FALSE(entry(&host, &RegisterExpert, &terminate));
    EXPECT_EQ(RegisteredExperts().size(), 1u);

    TIExpert* expert = RegisteredExperts()[0];
    EXPECT_STREQ(expert->GetName(), "Wingtucker 1.2d");
    EXPECT_STREQ(expert->GetComment(),
                 "Makes Delphi and Object Inspector act like autohide taskbars.");
    EXPECT_EQ(expert->GetStyle(), esStandard);
    EXPECT_EQ(expert->GetState().Bits, 1);
    EXPECT_STREQ(expert->GetIDString(), "GullwindSotware.TWingtuckerExpert12");
    EXPECT_STREQ(expert->GetMenuText(), "Wingtucker 1.2d");
    EXPECT_EQ(expert->GetVersion(), 2);
    EXPECT_EQ(expert->AddRef(), 2);
    EXPECT_EQ(expert->Release(), 1);

    // Created hidden by the entry point, shown by the menu entry.
    QWidget* panel = PanelWindow();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isVisible());
    expert->Execute();
    EXPECT_TRUE(panel->isVisible());

    // The host's desktop and project events reach the controller.
    bool cancel = false;
    host.notifier->Notify(8, "/work/Demo/Demo.dsk", &cancel);
    host.notifier->Notify(5, "/work/Demo/Demo.dpr", &cancel);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(host.errors.empty());

    terminate();
    ASSERT_EQ(host.unregistered.size(), 1u);
    EXPECT_EQ(host.countAfterUnregister, 1);
    EXPECT_EQ(PanelWindow(), nullptr);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(expert->Release(), 0);
    RegisteredExperts().clear();

    std::filesystem::remove_all(config);
}

} // namespace
} // namespace wt::test

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
