// Runs the tests of the real desktop on a private Xvfb.
#include "tests/x11/x_environment.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <memory>

namespace wt::test {

namespace {

XvfbServer* server = nullptr;

class XEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        server_.Start();
        server = &server_;
        setenv("DISPLAY", server_.DisplayName().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        static int argc = 1;
        static char name[] = "wt_x11_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override {
        app_.reset(); // before the server goes, or Qt loses its connection
        server_.Stop();
        server = nullptr;
    }

private:
    XvfbServer server_;
    std::unique_ptr<QApplication> app_;
};

} // namespace

const std::string& TestDisplay() {
    static const std::string none;
    return server ? server->DisplayName() : none;
}

} // namespace wt::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new wt::test::XEnvironment);
    return RUN_ALL_TESTS();
}
