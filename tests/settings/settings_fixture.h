// Shared by the settings tests: a simulated desktop whose configuration
// directory is a fresh temporary directory, and helpers for its files.
#pragma once

#include "platform/platform.h"
#include "platform/sim/sim_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

namespace wt::testing {

inline std::string MakeTempDir() {
    char pattern[] = "/tmp/wt-settings-XXXXXX";
    if (!mkdtemp(pattern))
        return {};
    return pattern;
}

inline void PutFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string GetFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class SimDesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        configDir_ = MakeTempDir();
        ASSERT_FALSE(configDir_.empty());
        // The profile service's lock files go with the test's files.
        runtimeDir_ = MakeTempDir();
        ASSERT_FALSE(runtimeDir_.empty());
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            oldRuntimeDir_ = old;
        setenv("XDG_RUNTIME_DIR", runtimeDir_.c_str(), 1);
        auto sim = std::make_unique<SimPlatform>(configDir_);
        sim_ = sim.get();
        previous_ = InstallPlatform(std::move(sim));
    }
    void TearDown() override {
        InstallPlatform(std::move(previous_));
        if (oldRuntimeDir_)
            setenv("XDG_RUNTIME_DIR", oldRuntimeDir_->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
        std::system(("rm -rf '" + configDir_ + "' '" + runtimeDir_ + "'").c_str());
    }

    std::string ConfigFile(const std::string& name) const { return configDir_ + "/" + name; }

    std::string configDir_;
    std::string runtimeDir_;
    std::optional<std::string> oldRuntimeDir_;
    SimPlatform* sim_ = nullptr;
    std::unique_ptr<Platform> previous_;
};

} // namespace wt::testing
