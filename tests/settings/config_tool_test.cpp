// The built wingtucker-config program against directories of hand-written
// settings files: what show prints, what set writes, and what it refuses.
#include "settings_fixture.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace wt {
namespace {

using testing::GetFile;
using testing::PutFile;

struct RunResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};

std::string Drain(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    close(fd);
    return text;
}

RunResult RunTool(const std::vector<std::string>& args, const std::string& xdgConfigHome) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0)
        return {};
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        close(out[0]);
        close(err[0]);
        setenv("XDG_CONFIG_HOME", xdgConfigHome.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(WT_CONFIG_TOOL)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(WT_CONFIG_TOOL, argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    RunResult result;
    result.Out = Drain(out[0]);
    result.Err = Drain(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class ConfigToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = testing::MakeTempDir();
        ASSERT_FALSE(root_.empty());
        dir_ = root_ + "/settings";
        ASSERT_EQ(mkdir(dir_.c_str(), 0755), 0);
        file_ = dir_ + "/Wingtckr.ini";
    }
    void TearDown() override { std::system(("rm -rf '" + root_ + "'").c_str()); }

    RunResult Run(std::vector<std::string> args) { return RunTool(args, root_ + "/xdg"); }

    std::string root_, dir_, file_;
};

const std::string HandWritten = "# written by hand\n"
                                "[WINGTUCKER]\n"
                                "gwHideInspector=yes\n"
                                "gwSide=0\n"
                                "MoveOutSound=/usr/share/sounds/out file.wav\n"
                                "gwAnimateSpeed=31\n"
                                "gwDelay=7.9\n"
                                "HangOutPixels=300\n"
                                "gwDisableOnFocusLoss=\n"
                                "stray line\n";

TEST_F(ConfigToolTest, ShowPrintsWhatTheAddInWouldLoad) {
    PutFile(file_, HandWritten);
    RunResult r = Run({"show", "--dir", dir_});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "HideInspector=True\nSide=0\nHideDelphi=False\nWindowSounds=False\n"
                     "MoveOutSound=/usr/share/sounds/out file.wav\nMoveInSound=\n"
                     "HangOutPixels=44\nAnimate=False\nAnimateSpeed=5\nOpenDelay=7\n"
                     "UseAutoHide=False\nDisableOnFocusLoss=False\n");
    EXPECT_EQ(GetFile(file_), HandWritten) << "show wrote to the file";

    r = Run({"show", "--dir=" + root_ + "/nothing-here"});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Out.find("Side=1\n"), std::string::npos);
    EXPECT_NE(r.Out.find("OpenDelay=200\n"), std::string::npos);
    struct stat st {};
    EXPECT_NE(stat((root_ + "/nothing-here").c_str(), &st), 0) << "show made a directory";
}

TEST_F(ConfigToolTest, SetWritesThroughTheIniComponent) {
    PutFile(file_, HandWritten);
    RunResult r = Run({"set", "--dir", dir_, "gwdelay=350", "gwHideDelphi=yes",
                       "MoveOutSound=", "MoveInSound=/snd/in.wav", "gwSide=-1"});
    EXPECT_EQ(r.Status, 0) << r.Err;
    std::string file = GetFile(file_);
    for (const char* line : {"# written by hand\n[WINGTUCKER]\n", "gwDelay=350\n", "stray line\n",
                             "gwSide=-1\n", "gwHideDelphi=True\n", "MoveInSound=/snd/in.wav\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line << "\nin:\n" << file;
    EXPECT_EQ(file.find("MoveOutSound"), std::string::npos);

    r = Run({"show", "--dir", dir_});
    EXPECT_NE(r.Out.find("Side=255\n"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("OpenDelay=350\n"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("MoveOutSound=\n"), std::string::npos) << r.Out;
}

TEST_F(ConfigToolTest, WithoutDirTheConfigurationDirectoryIsMadeOnFirstWrite) {
    RunResult r = Run({"set", "gwAnimate=True"});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(GetFile(root_ + "/xdg/wingtucker/Wingtckr.ini"), "[Wingtucker]\ngwAnimate=True\n");
    r = Run({"show"});
    EXPECT_NE(r.Out.find("Animate=True\n"), std::string::npos) << r.Out;
}

TEST_F(ConfigToolTest, MalformedArgumentsExitWith2AndWriteNothing) {
    PutFile(file_, HandWritten);
    const std::vector<std::vector<std::string>> bad = {
        {"set", "--dir", dir_, "gwDelay=100", "gwDelay"},
        {"set", "--dir", dir_, "gwDelay=100", "=5"},
        {"set", "--dir", dir_, "gwDelay=100", "gwDelay=abc"},
        {"set", "--dir", dir_, "gwDelay=99999999999"},
        {"set", "--dir", dir_, "gwAnimate=maybe"},
        {"set", "--dir", dir_, "gwDealy=100"},
        {"set", "--dir", dir_, "MoveInSound=" + std::string(256, 'a')},
        {"set", "--dir", dir_, "MoveInSound=a\nb"},
        {"set", "--dir", dir_},
        {"set", "--dir"},
        {"set", "--colour", "gwDelay=100"},
        {"show", "--dir", dir_, "extra"},
        {"frobnicate"},
        {},
    };
    for (const auto& args : bad) {
        std::string joined;
        for (const auto& a : args)
            joined += a + " ";
        RunResult r = Run(args);
        EXPECT_EQ(r.Status, 2) << joined;
        EXPECT_EQ(r.Out, "") << joined;
        EXPECT_FALSE(r.Err.empty()) << joined;
        EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << "not one line: " << r.Err;
        EXPECT_EQ(GetFile(file_), HandWritten) << joined;
    }
    struct stat st {};
    EXPECT_NE(stat((root_ + "/xdg").c_str(), &st), 0);
}

TEST_F(ConfigToolTest, AFileItCannotReadIsLeftAloneAndTheFailureReported) {
    const std::string binary("[Wingtucker]\ngwDelay=300\n\0\0", 27);
    PutFile(file_, binary);
    RunResult r = Run({"set", "--dir", dir_, "gwDelay=100"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_FALSE(r.Err.empty());
    EXPECT_EQ(GetFile(file_), binary);
}

} // namespace
} // namespace wt
