// The profile service on real files: lookups, line-preserving edits, refusals
// of what cannot be handled safely, and writers that race or die mid-write.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace wt {
namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/wt-profile-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        path_ = dir_ + "/test.ini";
        // The lock files of the test's writes go with the test's files.
        char runPattern[] = "/tmp/wt-profile-run-XXXXXX";
        ASSERT_NE(mkdtemp(runPattern), nullptr);
        run_ = runPattern;
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            oldRuntime_ = old;
        setenv("XDG_RUNTIME_DIR", run_.c_str(), 1);
    }
    void TearDown() override {
        if (oldRuntime_)
            setenv("XDG_RUNTIME_DIR", oldRuntime_->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
        std::system(("rm -rf '" + dir_ + "' '" + run_ + "'").c_str());
    }

    static void Put(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    static bool Exists(const std::string& path) {
        struct stat st {};
        return lstat(path.c_str(), &st) == 0;
    }
    std::string Read(std::string_view section, std::string_view key,
                     std::string_view def = "<default>", std::size_t size = 256) const {
        return ProfileReadString(section, key, def, size, path_);
    }
    std::vector<std::string> DirEntries() const {
        std::vector<std::string> names;
        if (DIR* d = opendir(dir_.c_str())) {
            while (dirent* e = readdir(d))
                if (std::string_view(e->d_name) != "." && std::string_view(e->d_name) != "..")
                    names.push_back(e->d_name);
            closedir(d);
        }
        return names;
    }

    std::string dir_;
    std::string path_;
    std::string run_;
    std::optional<std::string> oldRuntime_;
};

// A file as a user might have edited it by hand, CRLF line ends throughout.
const std::string HandEdited = "; Wingtucker settings, edited by hand\r\n"
                               "\r\n"
                               "[Wingtucker]\r\n"
                               "gwHideInspector = True\r\n"
                               "this line has no equals sign\r\n"
                               "myOwnKey=kept\r\n"
                               "; trailing comment of the section\r\n"
                               "\r\n"
                               "[HELP]\r\n"
                               "FindLostWindows=1\r\n";

TEST_F(ProfileTest, LookupMatchesNamesWithoutCaseAndTrimsTheValue) {
    Put(path_, "[WingTucker]\n  GWDELAY  =  300 ms = long  \nempty=\n;gwSide=9\n"
               "[other]\ngwSide=2\n");
    EXPECT_EQ(Read("wingtucker", "gwDelay"), "300 ms = long");
    EXPECT_EQ(Read("  WINGTUCKER ", "gwdelay"), "300 ms = long");
    EXPECT_EQ(Read("Wingtucker", "empty"), "");
    // A comment is no key, and a key of another section is not this section's.
    EXPECT_EQ(Read("Wingtucker", "gwSide"), "<default>");
    EXPECT_EQ(Read("Other", "gwSide"), "2");
    EXPECT_EQ(Read("Missing", "gwSide"), "<default>");
    EXPECT_EQ(ProfileReadString("Wingtucker", "gwDelay", "d", 256, dir_ + "/none.ini"), "d");
}

TEST_F(ProfileTest, ValuesAndDefaultsAreCutToTheBuffer) {
    std::string longValue(300, 'v');
    Put(path_, "[S]\nk=" + longValue + "\nu=\xC3\xA4\xC3\xA4\xC3\xA4\n");
    EXPECT_EQ(Read("S", "k"), std::string(255, 'v'));
    EXPECT_EQ(Read("S", "k", "", 4), "vvv");
    EXPECT_EQ(Read("S", "k", "", 1), "");
    EXPECT_EQ(Read("S", "missing", "abcdef", 4), "abc");
    // Three two-byte characters in a buffer of 6: two whole characters, not a broken third.
    EXPECT_EQ(Read("S", "u", "", 6), "\xC3\xA4\xC3\xA4");
}

TEST_F(ProfileTest, ArgumentsLongerThan255AreRefusedAndWriteNothing) {
    const std::string tooLong(256, 'x');
    const std::string longest(255, 'x');
    EXPECT_FALSE(ProfileWriteString(tooLong, "k", "v", path_));
    EXPECT_FALSE(ProfileWriteString("S", tooLong, "v", path_));
    EXPECT_FALSE(ProfileWriteString("S", "k", tooLong, path_));
    std::string longPath = dir_ + "/" + std::string(256 - dir_.size(), 'p');
    EXPECT_FALSE(ProfileWriteString("S", "k", "v", longPath));
    EXPECT_TRUE(DirEntries().empty());

    ASSERT_TRUE(ProfileWriteString(longest, longest, longest, path_));
    EXPECT_EQ(Read(longest, longest), longest);
    EXPECT_EQ(Read(tooLong, longest), "<default>");
    EXPECT_EQ(Read(longest, tooLong), "<default>");
}

TEST_F(ProfileTest, ValuesThatWouldBreakTheFileAreRefused) {
    Put(path_, HandEdited);
    EXPECT_FALSE(ProfileWriteString("Wingtucker", "k", "a\n[HELP]\nFindLostWindows=0", path_));
    EXPECT_FALSE(ProfileWriteString("Wingtucker", "k", "a\rb", path_));
    EXPECT_FALSE(ProfileWriteString("Wingtucker", "k=x", "v", path_));
    EXPECT_FALSE(ProfileWriteString("Wingtucker", ";k", "v", path_));
    EXPECT_FALSE(ProfileWriteString("Wingtucker", "", "v", path_));
    EXPECT_FALSE(ProfileWriteString("Wing]tucker", "k", "v", path_));
    EXPECT_FALSE(ProfileWriteString("", "k", "v", path_));
    EXPECT_EQ(Get(path_), HandEdited);
}

TEST_F(ProfileTest, WritesChangeOnlyTheirOwnLine) {
    Put(path_, HandEdited);
    ASSERT_TRUE(ProfileWriteString("wingtucker", "GWHIDEINSPECTOR", "False", path_));
    std::string expected = HandEdited;
    expected.replace(expected.find("gwHideInspector = True"), 22, "gwHideInspector = False");
    EXPECT_EQ(Get(path_), expected);

    // A new key follows the section's last key line, before its comments and
    // blank lines, in the file's own line-end style.
    ASSERT_TRUE(ProfileWriteString("Wingtucker", "gwDelay", "300", path_));
    expected.insert(expected.find("; trailing"), "gwDelay=300\r\n");
    EXPECT_EQ(Get(path_), expected);

    ASSERT_TRUE(ProfileWriteString("Wingtucker", "myownkey", std::nullopt, path_));
    expected.erase(expected.find("myOwnKey=kept\r\n"), 15);
    EXPECT_EQ(Get(path_), expected);

    ASSERT_TRUE(ProfileWriteString("help", std::nullopt, std::nullopt, path_));
    expected.erase(expected.find("[HELP]"));
    EXPECT_EQ(Get(path_), expected);
    EXPECT_EQ(Read("HELP", "FindLostWindows"), "<default>");
}

TEST_F(ProfileTest, WritesCreateDirectoriesFileAndSections) {
    std::string nested = dir_ + "/a/b/Wingtckr.ini";
    ASSERT_TRUE(ProfileWriteString("Wingtucker", "gwSide", "1", nested));
    ASSERT_TRUE(ProfileWriteString("Wingtucker", "gwDelay", "200", nested));
    ASSERT_TRUE(ProfileWriteString("HELP", "FindLostWindows", "True", nested));
    EXPECT_EQ(Get(nested), "[Wingtucker]\ngwSide=1\ngwDelay=200\n\n[HELP]\nFindLostWindows=True\n");

    // A last line without a line end gets one before anything is added after it.
    Put(path_, "[S]\na=1");
    ASSERT_TRUE(ProfileWriteString("S", "b", "2", path_));
    ASSERT_TRUE(ProfileWriteString("T", "c", "3", path_));
    EXPECT_EQ(Get(path_), "[S]\na=1\nb=2\n\n[T]\nc=3\n");
}

TEST_F(ProfileTest, DuplicatesReadTheFirstAndRemovalTakesEveryOne) {
    Put(path_, "[S]\nk=first\nk=second\n[T]\n[s]\nk=third\nother=1\n");
    EXPECT_EQ(Read("S", "k"), "first");
    ASSERT_TRUE(ProfileWriteString("S", "k", "new", path_));
    EXPECT_EQ(Read("S", "k"), "new");
    ASSERT_TRUE(ProfileWriteString("S", "k", std::nullopt, path_));
    EXPECT_EQ(Read("S", "k"), "<default>");
    EXPECT_EQ(Get(path_), "[S]\n[T]\n[s]\nother=1\n");
    ASSERT_TRUE(ProfileWriteString("S", std::nullopt, std::nullopt, path_));
    EXPECT_EQ(Get(path_), "[T]\n");
}

TEST_F(ProfileTest, ReadsAndRemovalsOfMissingThingsCreateNothing) {
    std::string nested = dir_ + "/sub/x.ini";
    EXPECT_EQ(ProfileReadString("S", "k", "d", 256, nested), "d");
    EXPECT_TRUE(ProfileWriteString("S", "k", std::nullopt, nested));
    EXPECT_TRUE(ProfileWriteString("S", std::nullopt, std::nullopt, path_));
    EXPECT_FALSE(Exists(nested));
    EXPECT_FALSE(Exists(dir_ + "/sub"));
    EXPECT_FALSE(Exists(path_));

    Put(path_, "[S]\nk=v\n");
    EXPECT_EQ(Read("S", "k"), "v");
    EXPECT_EQ(DirEntries(), std::vector<std::string>{"test.ini"}); // not even a lock file
}

TEST_F(ProfileTest, FilesThatAreNotTextGiveDefaultsAndAreNeverOverwritten) {
    std::string binary("[S]\nk=v\n\0\x01\x02 binary", 18);
    Put(path_, binary);
    EXPECT_EQ(Read("S", "k"), "<default>");
    EXPECT_FALSE(ProfileWriteString("S", "k", "w", path_));
    EXPECT_FALSE(ProfileWriteString("S", std::nullopt, std::nullopt, path_));
    EXPECT_EQ(Get(path_), binary);

    std::string huge = "[S]\nk=v\n" + std::string(ProfileMaxFileSize, ';');
    Put(path_, huge);
    EXPECT_EQ(Read("S", "k"), "<default>");
    EXPECT_FALSE(ProfileWriteString("S", "k", "w", path_));
    EXPECT_EQ(Get(path_).size(), huge.size());

    // A directory, or a FIFO that nobody writes to, in the file's place.
    std::string asDir = dir_ + "/dir.ini";
    ASSERT_EQ(mkdir(asDir.c_str(), 0755), 0);
    EXPECT_EQ(ProfileReadString("S", "k", "d", 256, asDir), "d");
    EXPECT_FALSE(ProfileWriteString("S", "k", "v", asDir));
    std::string fifo = dir_ + "/fifo.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(ProfileReadString("S", "k", "d", 256, fifo), "d");
}

TEST_F(ProfileTest, AControlByteInALineDoesNotVoidTheRestOfTheFile) {
    // Each file holds one control byte somewhere; every other key still reads.
    const std::string files[] = {
        "; \x01 a comment\n[S]\nk=v\nj=w\n",
        "[S]\nk=v\nodd=a\x1b"
        "b\nj=w\n",
        "[S]\nk=v\n\x7f stray line\nj=w\x1a\n",
        "[S]\n\x0e\nk=v\nj=w\n",
    };
    for (const std::string& content : files) {
        Put(path_, content);
        EXPECT_EQ(Read("S", "k"), "v") << content;
        EXPECT_EQ(Read("S", "j").substr(0, 1), "w") << content;
        // A write keeps the odd line as it is.
        ASSERT_TRUE(ProfileWriteString("S", "n", "1", path_)) << content;
        EXPECT_NE(Get(path_).find(content.substr(0, content.size() - 1)), std::string::npos)
            << content;
    }
    Put(path_, "[S]\nodd=a\x1b"
               "b\n");
    EXPECT_EQ(Read("S", "odd"), "a\x1b"
                                "b")
        << "a value read as it stands";
}

TEST_F(ProfileTest, ControlCharactersAreRefusedInSectionsKeysAndValues) {
    Put(path_, HandEdited);
    for (char c : {'\x01', '\x1b', '\x7f', '\v', '\f', '\x1a', '\b'}) {
        const std::string odd = std::string("a") + c + "b";
        EXPECT_FALSE(ProfileWriteString("Wingtucker", "k", odd, path_)) << int(c);
        EXPECT_FALSE(ProfileWriteString("Wingtucker", odd, "v", path_)) << int(c);
        EXPECT_FALSE(ProfileWriteString(odd, "k", "v", path_)) << int(c);
    }
    EXPECT_EQ(Get(path_), HandEdited);
    // A tab inside a value is text, and reads back.
    ASSERT_TRUE(ProfileWriteString("Wingtucker", "k", "a\tb", path_));
    EXPECT_EQ(Read("Wingtucker", "k"), "a\tb");
}

TEST_F(ProfileTest, AWriteThatWouldPassTheSizeLimitIsRefusedAndTouchesNothing) {
    const std::string head = "[S]\nk=v\n";
    std::string big = head + std::string(ProfileMaxFileSize - head.size() - 20, ';') + "\n";
    Put(path_, big);
    EXPECT_FALSE(ProfileWriteString("S", "new", std::string(30, 'x'), path_));
    EXPECT_FALSE(ProfileWriteString("S", "k", std::string(30, 'x'), path_));
    EXPECT_EQ(Get(path_), big);
    EXPECT_EQ(Read("S", "k"), "v");
    // Writes that keep within the limit still go through.
    ASSERT_TRUE(ProfileWriteString("S", "k", std::string(20, 'x'), path_));
    EXPECT_EQ(Get(path_).size(), ProfileMaxFileSize);
    ASSERT_TRUE(ProfileWriteString("S", "k", std::nullopt, path_));
    EXPECT_EQ(Read("S", "k"), "<default>");
}

TEST_F(ProfileTest, AReadOnlyFileIsNotReplaced) {
    Put(path_, "[S]\nk=1\n");
    ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
    EXPECT_FALSE(ProfileWriteString("S", "k", "2", path_));
    EXPECT_FALSE(ProfileWriteString("S", "k", std::nullopt, path_));
    EXPECT_FALSE(ProfileWriteString("S", std::nullopt, std::nullopt, path_));
    EXPECT_EQ(Get(path_), "[S]\nk=1\n");
    EXPECT_EQ(Read("S", "k"), "1") << "still read";
}

TEST_F(ProfileTest, WritingTheSameValueTwiceLeavesTheFileAsItWas) {
    // What a read gives back is what is stored: blanks around a value are not kept.
    const std::pair<std::string, std::string> cases[] = {
        {"[S]\nkey=v\n", "[S]\nkey=x\n"},
        {"[S]\nkey =  v  \n", "[S]\nkey =  x\n"},
        {"[S]\nkey=\n", "[S]\nkey=x\n"},
    };
    for (const auto& [before, after] : cases) {
        for (const char* value : {"\tx", "  x \t", "x"}) {
            Put(path_, before);
            ASSERT_TRUE(ProfileWriteString("S", "key", value, path_));
            EXPECT_EQ(Get(path_), after) << before << value;
            ASSERT_TRUE(ProfileWriteString("S", "key", value, path_));
            EXPECT_EQ(Get(path_), after) << "second write of " << value << " to " << before;
            EXPECT_EQ(Read("S", "key"), "x");
        }
    }
    ASSERT_TRUE(ProfileWriteString("S", "fresh", " y ", path_));
    EXPECT_EQ(Get(path_), "[S]\nkey=x\nfresh=y\n");
}

TEST_F(ProfileTest, AChangedFileEndsWithALineEnd) {
    const struct {
        std::string Before;
        std::optional<std::string> Key, Value;
        std::string After;
    } cases[] = {
        {"[S]\nk=1", "k", "2", "[S]\nk=2\n"},
        {"[S]\r\nk=1", "k", "2", "[S]\r\nk=2\r\n"},
        {"[S]\na=1\nb=2", "a", std::nullopt, "[S]\nb=2\n"},
        {"[S]\nk=1\n[T]", std::nullopt, std::nullopt, "[T]\n"},
        {"[S]\nk=1", "k", "1", "[S]\nk=1"}, // nothing to change: the file is not rewritten
    };
    for (const auto& c : cases) {
        Put(path_, c.Before);
        std::optional<std::string_view> key, value;
        if (c.Key)
            key = *c.Key;
        if (c.Value)
            value = *c.Value;
        ASSERT_TRUE(ProfileWriteString("S", key, value, path_)) << c.Before;
        EXPECT_EQ(Get(path_), c.After) << c.Before;
    }
}

std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.')
                names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(ProfileTest, TheLockLiesWithRuntimeFilesAndNothingStaysBesideTheFile) {
    std::string settings = dir_ + "/config/test.ini";
    ASSERT_TRUE(ProfileWriteString("S", "k", "1", settings));
    // A lock file an earlier version left beside the file goes.
    Put(settings + ".lock", "");
    ASSERT_TRUE(ProfileWriteString("S", "k", "2", settings));
    EXPECT_EQ(Entries(dir_ + "/config"), std::vector<std::string>{"test.ini"});
    std::vector<std::string> locks = Entries(run_ + "/wingtucker");
    ASSERT_EQ(locks.size(), 1u);
    EXPECT_EQ(locks[0].substr(0, 9), "test.ini-");

    // Without a runtime directory: a private one in /tmp.
    const std::string uid = std::to_string(geteuid());
    struct stat st {};
    if (stat(("/run/user/" + uid).c_str(), &st) == 0)
        return; // the session's runtime directory stands in; nothing more to see
    const std::string fallback = "/tmp/wingtucker-" + uid;
    std::vector<std::string> before = Entries(fallback);
    unsetenv("XDG_RUNTIME_DIR"); // TearDown puts it back
    ASSERT_TRUE(ProfileWriteString("S", "k", "3", settings));
    EXPECT_EQ(ProfileReadString("S", "k", "", 256, settings), "3");
    ASSERT_EQ(lstat(fallback.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    std::vector<std::string> added;
    for (const std::string& name : Entries(fallback))
        if (std::find(before.begin(), before.end(), name) == before.end())
            added.push_back(name);
    for (const std::string& name : added)
        std::remove((fallback + "/" + name).c_str());
    EXPECT_LE(added.size(), 1u);
    EXPECT_EQ(Entries(dir_ + "/config"), std::vector<std::string>{"test.ini"});
}

TEST_F(ProfileTest, ReplacementKeepsModeByteOrderMarkAndSymbolicLinks) {
    Put(path_, "\xEF\xBB\xBF[S]\nk=1\n");
    ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
    EXPECT_EQ(Read("S", "k"), "1");
    ASSERT_TRUE(ProfileWriteString("S", "k", "2", path_));
    EXPECT_EQ(Get(path_), "\xEF\xBB\xBF[S]\nk=2\n");
    struct stat st {};
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    std::string link = dir_ + "/link.ini";
    ASSERT_EQ(symlink(path_.c_str(), link.c_str()), 0);
    ASSERT_TRUE(ProfileWriteString("S", "k", "3", link));
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(Read("S", "k"), "3");
}

TEST_F(ProfileTest, TempFilesOfADeadWriterAreClearedByTheNextWrite) {
    Put(path_, "[S]\nk=1\n");
    Put(path_ + ".tmp.99999.0", "[S]\nk=half");
    ASSERT_TRUE(ProfileWriteString("S", "k", "2", path_));
    EXPECT_FALSE(Exists(path_ + ".tmp.99999.0"));
    EXPECT_EQ(Read("S", "k"), "2");
}

// Runs body as nobody when the test runs as root (root reads any file).
bool AsUnprivileged(const std::function<bool()>& body) {
    if (geteuid() != 0)
        return body();
    pid_t pid = fork();
    if (pid == 0)
        _exit(setgid(65534) == 0 && setuid(65534) == 0 && body() ? 0 : 1);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(ProfileTest, FileStatusNamesWhatStandsInTheWay) {
    ASSERT_EQ(chmod(dir_.c_str(), 0755), 0); // for the unprivileged look
    const struct {
        const char* Name;
        std::function<void(const std::string&)> Make;
        ProfileFileState State;
        const char* Reason;
    } cases[] = {
        {"absent", [](const std::string&) {}, ProfileFileState::Absent, ""},
        {"text", [](const std::string& f) { Put(f, "[S]\nk=\x1b\n"); }, ProfileFileState::Usable,
         ""},
        {"read-only",
         [](const std::string& f) {
             Put(f, "[S]\n");
             chmod(f.c_str(), 0444);
         },
         ProfileFileState::ReadOnly, "it is read-only"},
        {"NUL", [](const std::string& f) { Put(f, std::string("[S]\n\0", 5)); },
         ProfileFileState::NotText, "it is not a text file (it holds a NUL byte)"},
        {"large", [](const std::string& f) { Put(f, std::string(ProfileMaxFileSize + 1, ';')); },
         ProfileFileState::TooLarge, "it is larger than 4 MiB"},
        {"just fits", [](const std::string& f) { Put(f, std::string(ProfileMaxFileSize, ';')); },
         ProfileFileState::Usable, ""},
        {"directory", [](const std::string& f) { mkdir(f.c_str(), 0755); },
         ProfileFileState::IsDirectory, "it is a directory"},
        {"fifo", [](const std::string& f) { mkfifo(f.c_str(), 0644); },
         ProfileFileState::NotRegularFile, "it is not a regular file"},
    };
    for (const auto& c : cases) {
        std::string file = dir_ + "/" + c.Name + ".ini";
        c.Make(file);
        ProfileStatus status = ProfileFileStatus(file);
        EXPECT_EQ(status.State, c.State) << c.Name;
        EXPECT_EQ(ProfileStatusReason(status), c.Reason) << c.Name;
        EXPECT_EQ(status.Readable(),
                  std::string_view(c.Reason).empty() || c.State == ProfileFileState::ReadOnly)
            << c.Name;
    }
    std::string locked = dir_ + "/locked.ini";
    Put(locked, "[S]\nk=v\n");
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    EXPECT_TRUE(AsUnprivileged([&] {
        return ProfileFileStatus(locked).State == ProfileFileState::PermissionDenied &&
               ProfileStatusReason(ProfileFileStatus(locked)) == "permission denied";
    }));
    EXPECT_EQ(ProfileFileStatus(dir_ + "/" + std::string(300, 'p')).State,
              ProfileFileState::PathTooLong);
    EXPECT_EQ(ProfileFileStatus("").State, ProfileFileState::Absent);
}

TEST_F(ProfileTest, ARefusalSaysWhichCharacter) {
    const std::pair<ProfileEdit, std::string> cases[] = {
        {{"S", "k",
          "a\x1b"
          "b"},
         "the value holds the control character 0x1B (ESC), which a settings file cannot hold"},
        {{"S", "k", "a\nb"},
         "the value holds the control character 0x0A (LF), which a settings file cannot hold"},
        {{"S", "k\x01", "v"},
         "the key holds the control character 0x01 (SOH), which a settings file cannot hold"},
        {{"S\x7f", std::nullopt, std::nullopt},
         "the section name holds the control character 0x7F (DEL), which a settings file cannot "
         "hold"},
        {{"S", "a=b", "v"}, "the key holds \"=\", which would end it"},
        {{"S]", "k", "v"}, "the section name holds \"]\", which would end it"},
        {{" ", "k", "v"}, "the section name is empty"},
        {{"S", "k", std::string_view("a\tb")}, ""},
    };
    for (const auto& [edit, refusal] : cases)
        EXPECT_EQ(ProfileEditRefusal(edit), refusal);
}

TEST_F(ProfileTest, SeveralEditsAreWrittenAllOrNone) {
    Put(path_, HandEdited);
    const ProfileEdit bad[] = {{"Wingtucker", "a", "1"},
                               {"HELP", "FindLostWindows", std::nullopt},
                               {"Wingtucker", "b", "2\x1b"}};
    EXPECT_EQ(ProfileWriteStrings(bad, path_).Outcome, ProfileWriteOutcome::Refused);
    EXPECT_EQ(Get(path_), HandEdited);

    const ProfileEdit good[] = {
        {"Wingtucker", "a", "1"}, {"HELP", "FindLostWindows", std::nullopt}, {"New", "b", "2"}};
    EXPECT_EQ(ProfileWriteStrings(good, path_).Outcome, ProfileWriteOutcome::Written);
    EXPECT_EQ(Read("Wingtucker", "a"), "1");
    EXPECT_EQ(Read("HELP", "FindLostWindows"), "<default>");
    EXPECT_EQ(Read("New", "b"), "2");
    EXPECT_EQ(ProfileWriteStrings(good, path_).Outcome, ProfileWriteOutcome::Unchanged);
}

// Runs body in a child process; the child's exit status tells whether every write succeeded.
pid_t Spawn(const std::function<bool()>& body) {
    pid_t pid = fork();
    if (pid == 0)
        _exit(body() ? 0 : 1);
    return pid;
}

int WaitExit(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Two processes add 150 keys each to the same file, each through its own
// spelling of the path; none may be lost.
void WriteConcurrently(const std::string& pathA, const std::string& pathB) {
    constexpr int Writes = 150;
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    auto writer = [&](char name) {
        const std::string& path = name == 'a' ? pathA : pathB;
        return Spawn([&, name] {
            char c;
            close(go[1]);
            if (read(go[0], &c, 1) != 0) // released when the parent closes the pipe
                return false;
            for (int i = 0; i < Writes; ++i)
                if (!ProfileWriteString("Wingtucker", name + std::to_string(i), std::to_string(i),
                                        path))
                    return false;
            return true;
        });
    };
    pid_t a = writer('a');
    pid_t b = writer('b');
    close(go[0]);
    close(go[1]);
    EXPECT_EQ(WaitExit(a), 0);
    EXPECT_EQ(WaitExit(b), 0);
    for (int i = 0; i < Writes; ++i) {
        for (char name : {'a', 'b'})
            EXPECT_EQ(ProfileReadString("Wingtucker", name + std::to_string(i), "", 256, pathA),
                      std::to_string(i));
    }
}

TEST_F(ProfileTest, ConcurrentWriterProcessesLoseNoKey) {
    Put(path_, HandEdited);
    WriteConcurrently(path_, path_);
    EXPECT_EQ(Read("Wingtucker", "myOwnKey"), "kept");
    EXPECT_EQ(Read("HELP", "FindLostWindows"), "1");
}

TEST_F(ProfileTest, WritersThroughOtherSpellingsOfThePathShareTheLock) {
    Put(path_, HandEdited);
    ASSERT_EQ(symlink(dir_.c_str(), (dir_ + "/linked").c_str()), 0);
    WriteConcurrently(path_, dir_ + "/linked/./test.ini");
    EXPECT_EQ(Read("Wingtucker", "myOwnKey"), "kept");
}

TEST_F(ProfileTest, AWriterKilledMidWriteLeavesTheOldOrTheNewFile) {
    // A large file makes each write long enough to be caught in the middle.
    std::string filler;
    for (int i = 0; i < 4000; ++i)
        filler += "; filler line " + std::to_string(i) + " of a long hand-written comment\n";
    auto fileWith = [&](const std::string& value) {
        return "[Wingtucker]\ncounter=" + value + "\n" + filler + "[HELP]\nFindLostWindows=1\n";
    };
    // Values alternate between short and long, so a torn file would also be the wrong size.
    auto valueOf = [](long i) { return std::to_string(i) + std::string(i % 2 ? 200 : 0, 'x'); };
    Put(path_, fileWith("0"));

    std::mt19937 random(12345);
    long lastSeen = 0;
    for (int round = 0; round < 25; ++round) {
        pid_t child = Spawn([&] {
            for (long i = lastSeen + 1;; ++i)
                if (!ProfileWriteString("Wingtucker", "counter", valueOf(i), path_))
                    return false;
        });
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        kill(child, SIGKILL);
        EXPECT_EQ(WaitExit(child), -1) << "the writer stopped by itself";

        std::string value = Read("Wingtucker", "counter", "<missing>", 256);
        long n = std::atol(value.c_str());
        ASSERT_EQ(value, valueOf(n)) << "round " << round;
        ASSERT_EQ(Get(path_), fileWith(value)) << "round " << round;
        lastSeen = n;
    }
    ASSERT_TRUE(ProfileWriteString("Wingtucker", "counter", "done", path_));
    EXPECT_EQ(Get(path_), fileWith("done"));
    for (const std::string& name : DirEntries())
        EXPECT_EQ(name, "test.ini");
}

} // namespace
} // namespace wt
