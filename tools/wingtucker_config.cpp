// wingtucker-config: shows the settings the add-in would load and sets keys of
// its settings file, for users and scripts. Runs on the simulated desktop, so
// it needs no display; every file access goes through TIniEditor.
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/sim/sim_platform.h"
#include "settings/EasyINI.h"
#include "settings/settings_store.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace wt;

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

const char* const Usage =
    "usage: wingtucker-config show [--dir DIR]\n"
    "       wingtucker-config set [--dir DIR] KEY=VALUE...\n"
    "Shows the settings as the add-in loads them, or sets keys of section Wingtucker\n"
    "of Wingtckr.ini (an empty VALUE removes the key). DIR defaults to the\n"
    "configuration directory.\n";

enum class KeyType { Boolean, Integer, Text };

struct KnownKey {
    const char* Name;
    KeyType Type;
};

// The keys of section Wingtucker, in the order the Options dialog writes them.
const KnownKey Keys[] = {
    {"gwHideInspector", KeyType::Boolean}, {"gwSide", KeyType::Integer},
    {"gwHideDelphi", KeyType::Boolean},    {"gwAnimate", KeyType::Boolean},
    {"gwWindowSounds", KeyType::Boolean},  {"gwDisableOnFocusLoss", KeyType::Boolean},
    {"MoveOutSound", KeyType::Text},       {"MoveInSound", KeyType::Text},
    {"gwAnimateSpeed", KeyType::Integer},  {"gwDelay", KeyType::Integer},
    {"HangOutPixels", KeyType::Integer},   {"gwUseAutoHide", KeyType::Boolean},
};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    return true;
}

const KnownKey* FindKey(std::string_view name) {
    for (const KnownKey& key : Keys)
        if (EqualNoCase(key.Name, name))
            return &key;
    return nullptr;
}

std::optional<bool> ParseBoolean(std::string_view text) {
    for (const char* yes : {"True", "Yes", "1"})
        if (EqualNoCase(text, yes))
            return true;
    for (const char* no : {"False", "No", "0"})
        if (EqualNoCase(text, no))
            return false;
    return std::nullopt;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    std::size_t i = text.empty() || text.front() != '-' ? 0 : 1;
    if (i == text.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return std::nullopt;
    }
    if (text.front() == '-')
        value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

struct Assignment {
    const KnownKey* Key = nullptr;
    std::string Value; // empty: remove the key
    bool BoolValue = false;
    std::int32_t IntValue = 0;
};

int Fail(int status, const std::string& message) {
    std::fprintf(stderr, "wingtucker-config: %s\n", message.c_str());
    return status;
}

struct Error {
    std::string Message;
};

// Checks one KEY=VALUE argument; throws Error with the reason.
Assignment ParseAssignment(std::string_view argument) {
    std::size_t eq = argument.find('=');
    if (eq == std::string_view::npos)
        throw Error{"malformed argument \"" + std::string(argument) + "\": expected KEY=VALUE"};
    std::string_view name = argument.substr(0, eq);
    std::string_view value = argument.substr(eq + 1);
    Assignment assignment;
    assignment.Key = FindKey(name);
    if (!assignment.Key)
        throw Error{"unknown key \"" + std::string(name) + "\" in section Wingtucker"};
    assignment.Value = value;
    if (value.empty())
        return assignment;
    switch (assignment.Key->Type) {
    case KeyType::Boolean:
        if (auto b = ParseBoolean(value))
            assignment.BoolValue = *b;
        else
            throw Error{"malformed argument \"" + std::string(argument) +
                        "\": expected True or False"};
        break;
    case KeyType::Integer:
        if (auto n = ParseInteger(value))
            assignment.IntValue = *n;
        else
            throw Error{"malformed argument \"" + std::string(argument) +
                        "\": expected a whole number"};
        break;
    case KeyType::Text:
        if (value.size() > ProfileMaxArgument)
            throw Error{"malformed argument \"" + std::string(name) + "=...\": longer than " +
                        std::to_string(ProfileMaxArgument) + " characters"};
        if (value.find_first_of("\r\n") != std::string_view::npos)
            throw Error{"malformed argument \"" + std::string(name) +
                        "=...\": a value is one line"};
        if (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' ||
            value.back() == '\t')
            throw Error{"malformed argument \"" + std::string(argument) +
                        "\": leading or trailing blanks would be lost"};
        break;
    }
    return assignment;
}

void Write(TIniEditor& ini, const Assignment& a) {
    if (a.Value.empty())
        ini.EraseEntry(SettingsSection, a.Key->Name);
    else if (a.Key->Type == KeyType::Boolean)
        ini.WriteBool(SettingsSection, a.Key->Name, a.BoolValue);
    else if (a.Key->Type == KeyType::Integer)
        ini.WriteInt(SettingsSection, a.Key->Name, a.IntValue);
    else
        ini.WriteStr(SettingsSection, a.Key->Name, a.Value);
}

// TIniEditor's writes report nothing, so a write is checked by reading back.
bool Written(TIniEditor& ini, const Assignment& a) {
    const std::string absent = "\n"; // no stored value can be a line end
    std::string stored = ini.ReadStr(SettingsSection, a.Key->Name, absent);
    if (a.Value.empty())
        return stored == absent;
    switch (a.Key->Type) {
    case KeyType::Boolean:
        return stored == (a.BoolValue ? "True" : "False");
    case KeyType::Integer:
        return stored == std::to_string(a.IntValue);
    case KeyType::Text:
        return stored == a.Value;
    }
    return false;
}

const char* Bool(bool b) { return b ? "True" : "False"; }

void Show() {
    const TSettings& s = Settings;
    std::printf("HideInspector=%s\n", Bool(s.HideInspector));
    std::printf("Side=%d\n", int{s.Side});
    std::printf("HideDelphi=%s\n", Bool(s.HideDelphi));
    std::printf("WindowSounds=%s\n", Bool(s.WindowSounds));
    std::printf("MoveOutSound=%s\n", s.MoveOutSound.c_str());
    std::printf("MoveInSound=%s\n", s.MoveInSound.c_str());
    std::printf("HangOutPixels=%d\n", int{s.HangOutPixels});
    std::printf("Animate=%s\n", Bool(s.Animate));
    std::printf("AnimateSpeed=%d\n", int{s.AnimateSpeed});
    std::printf("OpenDelay=%d\n", int{s.OpenDelay});
    std::printf("UseAutoHide=%s\n", Bool(s.UseAutoHide));
    std::printf("DisableOnFocusLoss=%s\n", Bool(s.DisableOnFocusLoss));
}

int Run(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty())
        return Fail(ExitUsage, "missing command (show or set); try --help");
    if (args.front() == "--help" || args.front() == "-h") {
        std::fputs(Usage, stdout);
        return ExitOk;
    }
    std::string_view command = args.front();
    if (command != "show" && command != "set")
        return Fail(ExitUsage, "unknown command \"" + std::string(command) + "\"; try --help");

    std::optional<std::string> dir;
    std::vector<Assignment> assignments;
    try {
        for (std::size_t i = 1; i < args.size(); ++i) {
            std::string_view arg = args[i];
            if (arg == "--dir" || arg.substr(0, 6) == "--dir=") {
                if (dir)
                    throw Error{"--dir given twice"};
                if (arg == "--dir") {
                    if (++i == args.size())
                        throw Error{"--dir needs a directory"};
                    dir = std::string(args[i]);
                } else {
                    dir = std::string(arg.substr(6));
                }
                if (dir->empty())
                    throw Error{"--dir needs a directory"};
            } else if (arg.substr(0, 1) == "-") {
                throw Error{"unknown option \"" + std::string(arg) + "\""};
            } else if (command == "show") {
                throw Error{"show takes no argument \"" + std::string(arg) + "\""};
            } else {
                assignments.push_back(ParseAssignment(arg));
            }
        }
        if (command == "set" && assignments.empty())
            throw Error{"set needs at least one KEY=VALUE"};
    } catch (const Error& e) {
        return Fail(ExitUsage, e.Message);
    }

    InstallPlatform(std::make_unique<SimPlatform>(dir ? *dir : DefaultConfigurationDirectory()));
    TIniEditor ini;
    ini.SetFileName(SettingsFileName);
    ini.SetFileLocation(TIniEditor::WindowsPath);
    if (ini.FullPath().size() > ProfileMaxArgument)
        return Fail(ExitUsage, "the settings file's path " + ini.FullPath() +
                                   " is longer than " + std::to_string(ProfileMaxArgument) +
                                   " characters");

    if (command == "show") {
        ResetSettings();
        LoadSettings(ini);
        Show();
        return ExitOk;
    }
    for (const Assignment& a : assignments) {
        Write(ini, a);
        if (!Written(ini, a))
            return Fail(ExitFailed, std::string("could not write ") + a.Key->Name + " to " +
                                        ini.FullPath());
    }
    return ExitOk;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        return Fail(ExitFailed, e.what());
    }
}
