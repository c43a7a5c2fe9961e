// The built wingtucker-config program against directories of hand-written
// settings files: what show prints, what set writes, and what it refuses.
#include "settings_fixture.h"
#include "platform/window_presets.h"

#include <cstdlib>
#include <functional>
#include <poll.h>
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

// Reads both pipes to their ends together, so a child that fills one while
// the other is read cannot stall.
void Drain(int outFd, int errFd, std::string& out, std::string& err) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* texts[2] = {&out, &err};
    int open = 2;
    while (open > 0) {
        if (poll(fds, 2, -1) < 0)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[4096];
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                texts[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

// Runs the tool with its configuration and runtime directories under root;
// unprivileged runs it as nobody when the test runs as root, so that file
// permissions hold for it.
RunResult RunTool(const std::vector<std::string>& args, const std::string& root,
                  bool unprivileged = false) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0)
        return {};
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        close(out[0]);
        close(err[0]);
        setenv("XDG_CONFIG_HOME", (root + "/xdg").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (root + "/run").c_str(), 1);
        if (unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(126);
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
    Drain(out[0], err[0], result.Out, result.Err);
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
        ASSERT_EQ(mkdir((root_ + "/run").c_str(), 0700), 0);
        ASSERT_EQ(chmod(root_.c_str(), 0755), 0); // for the unprivileged runs
    }
    void TearDown() override { std::system(("rm -rf '" + root_ + "'").c_str()); }

    RunResult Run(std::vector<std::string> args) { return RunTool(args, root_); }

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
                     "HangOutPixels=10\nAnimate=False\nAnimateSpeed=5\nOpenDelay=7\n"
                     "UseAutoHide=False\nDisableOnFocusLoss=False\nRevealKey=\n"
                     "FindLostWindows=False\n"
                     "Windows.Main=\nWindows.Inspector=\n");
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
                       "MoveOutSound=", "MoveInSound=/snd/in.wav", "gwSide=1"});
    EXPECT_EQ(r.Status, 0) << r.Err;
    std::string file = GetFile(file_);
    for (const char* line : {"# written by hand\n[WINGTUCKER]\n", "gwDelay=350\n", "stray line\n",
                             "gwSide=1\n", "gwHideDelphi=True\n", "MoveInSound=/snd/in.wav\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line << "\nin:\n" << file;
    EXPECT_EQ(file.find("MoveOutSound"), std::string::npos);

    r = Run({"show", "--dir", dir_});
    EXPECT_NE(r.Out.find("Side=1\n"), std::string::npos) << r.Out;
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

TEST_F(ConfigToolTest, AControlCharacterIsRefusedByNameAndNothingIsWritten) {
    PutFile(file_, HandWritten);
    const std::pair<std::string, std::string> cases[] = {
        {"MoveOutSound=a\x1b"
         "b",
         "0x1B"},
        {"MoveInSound=\x01x", "0x01"},
        {"MoveOutSound=a\x7f", "0x7F"},
        {"MoveOutSound=a\vb", "0x0B"},
    };
    for (const auto& [arg, code] : cases) {
        RunResult r = Run({"set", "--dir", dir_, arg});
        EXPECT_EQ(r.Status, 2) << code;
        EXPECT_NE(r.Err.find(code), std::string::npos) << r.Err;
        EXPECT_EQ(r.Err.find_first_of("\x01\x1b\x7f\v"), std::string::npos)
            << "the message echoes the raw character";
        EXPECT_EQ(GetFile(file_), HandWritten) << code;
    }
}

TEST_F(ConfigToolTest, ASetThatWouldPassTheSizeLimitIsRefusedWholeAndTouchesNothing) {
    const std::size_t limit = 4 * 1024 * 1024;
    const std::string head = "[Wingtucker]\ngwDelay=300\n";
    // Room for gwDelay=5 or the sound name alone, but not for both.
    const std::string big = head + std::string(limit - head.size() - 41, ';') + "\n";
    PutFile(file_, big);
    const std::string sound = "MoveInSound=/snd/" + std::string(20, 's') + ".wav";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"set", "--dir", dir_, "gwAnimate=True", sound},
          std::vector<std::string>{"set", "--dir", dir_, "gwAnimate=True", "gwHideDelphi=True",
                                   "gwUseAutoHide=True"}}) {
        RunResult r = Run(args);
        EXPECT_EQ(r.Status, 1) << args.back();
        EXPECT_NE(r.Err.find("4 MiB"), std::string::npos) << r.Err;
        EXPECT_EQ(GetFile(file_), big) << args.back();
    }
    RunResult r = Run({"show", "--dir", dir_});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Out.find("OpenDelay=300\n"), std::string::npos);
    r = Run({"set", "--dir", dir_, "gwAnimate=True"});
    EXPECT_EQ(r.Status, 0) << r.Err << "what fits is written";
}

TEST_F(ConfigToolTest, AnUnusableFileIsReportedByShowAndLeftAsItIs) {
    const struct {
        const char* Name;
        std::function<void(const std::string&)> Make;
        const char* Reason;
        bool Unprivileged;
    } cases[] = {
        {"NUL",
         [](const std::string& f) { PutFile(f, std::string("[Wingtucker]\ngwDelay=9\n\0", 25)); },
         "not a text file", false},
        {"large", [](const std::string& f) { PutFile(f, std::string(4 * 1024 * 1024 + 1, ';')); },
         "larger than 4 MiB", false},
        {"directory", [](const std::string& f) { mkdir(f.c_str(), 0755); }, "is a directory",
         false},
        {"mode 000",
         [](const std::string& f) {
             PutFile(f, "[Wingtucker]\ngwDelay=9\n");
             chmod(f.c_str(), 0);
         },
         "permission denied", true},
    };
    for (const auto& c : cases) {
        std::system(("rm -rf '" + file_ + "'").c_str());
        c.Make(file_);
        const std::string before = GetFile(file_);
        for (const char* command : {"show", "set"}) {
            std::vector<std::string> args{command, "--dir", dir_};
            if (std::string_view(command) == "set")
                args.push_back("gwDelay=100");
            RunResult r = RunTool(args, root_, c.Unprivileged);
            EXPECT_EQ(r.Status, 1) << c.Name << " " << command;
            EXPECT_EQ(r.Out, "") << c.Name << " " << command;
            EXPECT_NE(r.Err.find(c.Reason), std::string::npos) << c.Name << ": " << r.Err;
            EXPECT_NE(r.Err.find(file_), std::string::npos) << c.Name << ": " << r.Err;
            EXPECT_EQ(GetFile(file_), before) << c.Name;
        }
    }
}

TEST_F(ConfigToolTest, ADirectoryThatIsAPlainFileIsReportedByShowAndSet) {
    const std::string plain = root_ + "/afile";
    PutFile(plain, "not a directory");
    for (const char* command : {"show", "set"}) {
        std::vector<std::string> args{command, "--dir", plain};
        if (std::string_view(command) == "set")
            args.push_back("gwDelay=100");
        RunResult r = Run(args);
        EXPECT_EQ(r.Status, 1) << command;
        EXPECT_EQ(r.Out, "") << command;
        EXPECT_NE(r.Err.find("the settings directory " + plain + " is not a directory"),
                  std::string::npos)
            << command << ": " << r.Err;
    }
    EXPECT_EQ(GetFile(plain), "not a directory");
}

TEST_F(ConfigToolTest, AReadOnlyFileIsReadButNotReplaced) {
    PutFile(file_, HandWritten);
    ASSERT_EQ(chmod(file_.c_str(), 0444), 0);
    RunResult r = Run({"set", "--dir", dir_, "gwDelay=100"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Err.find("read-only"), std::string::npos) << r.Err;
    EXPECT_EQ(GetFile(file_), HandWritten);
    r = Run({"show", "--dir", dir_});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Out.find("OpenDelay=7\n"), std::string::npos);
}

TEST_F(ConfigToolTest, SetRefusesNumbersOutsideTheRangeTheAddInKeeps) {
    PutFile(file_, HandWritten);
    const std::pair<const char*, const char*> refused[] = {
        {"gwSide=2", "0 to 1"},          {"gwSide=-1", "0 to 1"},
        {"Side=257", "0 to 1"},          {"HangOutPixels=1", "2 to 10"},
        {"HangOutPixels=11", "2 to 10"}, {"HangOutPixels=-5", "2 to 10"},
        {"gwAnimateSpeed=1", "2 to 30"}, {"gwAnimateSpeed=31", "2 to 30"},
        {"gwDelay=-1", "0 to 1000"},     {"gwDelay=1001", "0 to 1000"},
    };
    for (auto [arg, range] : refused) {
        RunResult r = Run({"set", "--dir", dir_, arg});
        EXPECT_EQ(r.Status, 2) << arg;
        EXPECT_NE(r.Err.find(range), std::string::npos) << arg << ": " << r.Err;
        EXPECT_EQ(GetFile(file_), HandWritten) << arg;
    }
    RunResult r = Run(
        {"set", "--dir", dir_, "gwSide=0", "HangOutPixels=2", "gwAnimateSpeed=30", "gwDelay=1000"});
    EXPECT_EQ(r.Status, 0) << r.Err;
    r = Run({"show", "--dir", dir_});
    for (const char* line :
         {"Side=0\n", "HangOutPixels=2\n", "AnimateSpeed=30\n", "OpenDelay=1000\n"})
        EXPECT_NE(r.Out.find(line), std::string::npos) << line << r.Out;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    for (std::size_t nl; (nl = text.find('\n', pos)) != std::string::npos; pos = nl + 1)
        lines.push_back(text.substr(pos, nl - pos));
    return lines;
}

TEST_F(ConfigToolTest, WhatShowPrintsSetTakesBack) {
    PutFile(file_, "[Wingtucker]\ngwHideDelphi=True\ngwSide=0\ngwDelay=450\nHangOutPixels=8\n"
                   "gwAnimate=yes\ngwAnimateSpeed=12\ngwDisableOnFocusLoss=0\n"
                   "[HELP]\nFindLostWindows=1\n");
    RunResult shown = Run({"show", "--dir", dir_});
    ASSERT_EQ(shown.Status, 0) << shown.Err;
    std::vector<std::string> args{"set", "--dir", root_ + "/copy"};
    for (const std::string& line : Lines(shown.Out))
        args.push_back(line);
    RunResult r = Run(args);
    EXPECT_EQ(r.Status, 0) << r.Err;
    r = Run({"show", "--dir", root_ + "/copy"});
    EXPECT_EQ(r.Out, shown.Out);
}

TEST_F(ConfigToolTest, FindLostWindowsIsShownAndSet) {
    RunResult r = Run({"show", "--dir", dir_});
    EXPECT_NE(r.Out.find("FindLostWindows=False\n"), std::string::npos) << r.Out;
    r = Run({"set", "--dir", dir_, "gwDelay=300", "findlostwindows=yes"});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(GetFile(file_), "[Wingtucker]\ngwDelay=300\n\n[HELP]\nFindLostWindows=True\n");
    r = Run({"show", "--dir", dir_});
    EXPECT_NE(r.Out.find("FindLostWindows=True\n"), std::string::npos) << r.Out;
    r = Run({"set", "--dir", dir_, "FindLostWindows="});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(GetFile(file_).find("FindLostWindows"), std::string::npos);
}

// Rules are set and shown under their section's name; a malformed one is
// refused with its column and nothing is written.
TEST_F(ConfigToolTest, WindowRulesAreSetShownAndCheckedFirst) {
    RunResult r =
        Run({"set", "--dir", dir_, "Windows.Main=class=\"^Lazarus\" title=\"^Lazarus IDE\""});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(GetFile(file_), "[Windows]\nMain=class=\"^Lazarus\" title=\"^Lazarus IDE\"\n");
    r = Run({"show", "--dir", dir_});
    EXPECT_NE(r.Out.find("Windows.Main=class=\"^Lazarus\" title=\"^Lazarus IDE\"\n"),
              std::string::npos)
        << r.Out;
    const std::string before = GetFile(file_);
    for (const char* bad :
         {"Windows.Inspector=title=\"(\"", "Windows.Main=klass=\"x\"", "Windows.Main=class=\"x"}) {
        r = Run({"set", "--dir", dir_, "gwDelay=300", bad});
        EXPECT_EQ(r.Status, 2) << bad;
        EXPECT_NE(r.Err.find("cannot be read at column"), std::string::npos) << r.Err;
        EXPECT_EQ(GetFile(file_), before) << bad;
    }
}

// The reveal key, which the dialog does not show: set as written, shown,
// and refused when the add-in could not grab it or it would eat a letter.
TEST_F(ConfigToolTest, TheRevealKeyIsSetShownAndChecked) {
    RunResult r = Run({"set", "--dir", dir_, "RevealKey=ctrl+alt+w"});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(GetFile(file_), "[Wingtucker]\nRevealKey=ctrl+alt+w\n");
    r = Run({"show", "--dir", dir_});
    EXPECT_NE(r.Out.find("RevealKey=ctrl+alt+w\n"), std::string::npos) << r.Out;
    for (const char* bad : {"RevealKey=w", "RevealKey=ctrl+", "RevealKey=hyper+w"}) {
        r = Run({"set", "--dir", dir_, bad});
        EXPECT_EQ(r.Status, 2) << bad;
        EXPECT_NE(r.Err.find("not a key: "), std::string::npos) << r.Err;
        EXPECT_EQ(GetFile(file_), "[Wingtucker]\nRevealKey=ctrl+alt+w\n") << bad;
    }
}

// A preset writes both rules and whether the main window is tucked; the
// rules it writes are ones set would take; a run's preset shows in place of
// the file's rules without changing the file.
TEST_F(ConfigToolTest, PresetsWriteRulesSetWouldTake) {
    for (const TWindowPreset& preset : WindowPresets()) {
        RunResult r = Run({"preset", "--dir", dir_, std::string(preset.Name)});
        ASSERT_EQ(r.Status, 0) << preset.Name << r.Err;
        r = Run({"show", "--dir", dir_});
        EXPECT_NE(r.Out.find("Windows.Inspector=" + std::string(preset.InspectorRule) + "\n"),
                  std::string::npos)
            << r.Out;
        EXPECT_NE(r.Out.find(std::string("HideDelphi=") + (preset.TuckMain ? "True" : "False")),
                  std::string::npos)
            << r.Out;
    }
    const std::string before = GetFile(file_);
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"preset", "--dir", dir_, "vim"},
          {"preset", "--dir", dir_},
          {"preset", "--dir", dir_, "lazarus", "designer"}}) {
        EXPECT_EQ(Run(bad).Status, 2) << bad.back();
        EXPECT_EQ(GetFile(file_), before);
    }
    EXPECT_EQ(ProjectFromTitle(*FindWindowPreset("Lazarus"), "Lazarus IDE v2.2.6+dfsg2-2 - a - b"),
              "b");
    EXPECT_EQ(ProjectFromTitle(*FindWindowPreset("lazarus"), "Lazarus IDE v2.2.6+dfsg2-2"), "");
    EXPECT_EQ(ProjectFromTitle(*FindWindowPreset("designer"), "Qt Designer"), "Qt Designer");
}

TEST_F(ConfigToolTest, ErrorsCutALongArgument) {
    const std::string huge(100 * 1024, '7');
    const std::vector<std::vector<std::string>> cases = {
        {"set", "--dir", dir_, "gwDelay=" + huge},
        {"set", "--dir", dir_, "gwAnimate=" + huge},
        {"set", "--dir", dir_, huge + "=1"},
        {"set", "--dir", dir_, huge},
        {"set", "--" + huge},
        {"show", "--dir", dir_, huge},
        {huge},
    };
    for (const auto& args : cases) {
        RunResult r = Run(args);
        EXPECT_EQ(r.Status, 2);
        EXPECT_FALSE(r.Err.empty());
        EXPECT_LT(r.Err.size(), 300u) << r.Err.substr(0, 300);
    }
}

TEST_F(ConfigToolTest, ASoundThatIsNoWaveFileIsWrittenWithAWarning) {
    const std::string wave = root_ + "/in.wav";
    PutFile(wave, std::string("RIFF\x24\0\0\0WAVEfmt ", 16));
    const std::string text = root_ + "/notes.wav";
    PutFile(text, "not a sound");
    const std::pair<std::string, const char*> cases[] = {
        {root_ + "/missing.wav", "does not exist"},
        {text, "not a wave file"},
        {root_, "is a directory"},
        {wave, nullptr},
    };
    for (const auto& [sound, warning] : cases) {
        RunResult r = Run({"set", "--dir", dir_, "MoveOutSound=" + sound});
        EXPECT_EQ(r.Status, 0) << sound << r.Err;
        if (warning) {
            EXPECT_NE(r.Err.find(warning), std::string::npos) << sound << ": " << r.Err;
            EXPECT_NE(r.Err.find(sound), std::string::npos) << r.Err;
        } else {
            EXPECT_EQ(r.Err, "") << sound;
        }
        EXPECT_NE(GetFile(file_).find("MoveOutSound=" + sound + "\n"), std::string::npos);
    }
}

} // namespace
} // namespace wt
