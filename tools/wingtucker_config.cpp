// wingtucker-config: shows the settings the add-in would load and sets keys of
// its settings file, for users and scripts. Runs on the simulated desktop, so
// it needs no display. Reads go through TIniEditor and LoadSettings, as the
// add-in's do; a set is one replacement of the file by the profile service,
// so that it is written whole or not at all.
#include "platform/backends.h"
#include "platform/sim/sim_platform.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "settings/EasyINI.h"
#include "settings/settings_store.h"
#include "platform/window_presets.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace wt;

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

const char* const Usage =
    "usage: wingtucker-config show [--dir DIR]\n"
    "       wingtucker-config set [--dir DIR] KEY=VALUE...\n"
    "       wingtucker-config preset [--dir DIR] NAME\n"
    "Shows the settings as the add-in loads them, or sets keys of Wingtckr.ini (an\n"
    "empty VALUE removes the key). KEY is a key of the file (gwDelay) or the name\n"
    "show prints for it (OpenDelay); FindLostWindows is the key of section HELP.\n"
    "preset writes the window rules of an IDE: lazarus, designer or hostide.\n"
    "DIR defaults to the configuration directory.\n";

// An argument as a message echoes it: in quotes, control characters spelled
// out, and cut, since an argument may be of any length.
std::string Quote(std::string_view text) {
    constexpr std::size_t MaxShown = 80;
    std::string shown = "\"";
    for (std::size_t i = 0; i < text.size() && i < MaxShown; ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", c);
            shown += code;
        } else {
            shown += text[i];
        }
    }
    if (text.size() > MaxShown)
        shown += "...";
    return shown + "\"";
}

std::optional<bool> ParseBoolean(std::string_view text) {
    for (const char* yes : {"True", "Yes", "1"})
        if (ProfileNamesEqual(text, yes))
            return true;
    for (const char* no : {"False", "No", "0"})
        if (ProfileNamesEqual(text, no))
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
    const TSettingInfo* Key = nullptr;
    std::string Value; // as the file will hold it; empty: remove the key
    std::string Warning;
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
        throw Error{"malformed argument " + Quote(argument) + ": expected KEY=VALUE"};
    std::string_view name = argument.substr(0, eq);
    std::string_view value = argument.substr(eq + 1);
    Assignment assignment;
    assignment.Key = FindSetting(name);
    if (!assignment.Key)
        throw Error{"unknown key " + Quote(name) + " (see wingtucker-config show)"};
    const TSettingInfo& key = *assignment.Key;
    if (value.empty())
        return assignment;
    auto malformed = [&](const std::string& why) {
        return Error{"malformed argument " + Quote(argument) + ": " + why};
    };
    switch (key.Type) {
    case TSettingType::Boolean:
        if (auto b = ParseBoolean(value))
            assignment.Value = *b ? "True" : "False"; // as TIniEditor::WriteBool writes it
        else
            throw malformed("expected True or False");
        break;
    case TSettingType::Integer: {
        auto n = ParseInteger(value);
        if (!n)
            throw malformed("expected a whole number");
        if (key.Range && (*n < key.Range->Min || *n > key.Range->Max))
            throw malformed(std::string(key.Key) + " takes " + std::to_string(key.Range->Min) +
                            " to " + std::to_string(key.Range->Max));
        assignment.Value = std::to_string(*n);
        break;
    }
    case TSettingType::Text:
        if (std::string refusal = ProfileEditRefusal({key.Section, key.Key, value});
            !refusal.empty())
            throw malformed(refusal);
        if (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' ||
            value.back() == '\t')
            throw malformed("leading or trailing blanks would be lost");
        assignment.Value = value;
        if (&key == &SettingOf(sRevealKey)) {
            std::string why;
            if (!ParseHotKey(value, &why))
                throw malformed("not a key: " + why);
            break;
        }
        if (std::string_view(key.Section) == WindowsSection) {
            TRuleError error;
            if (!ParseWindowRule(value, &error))
                throw malformed("the rule cannot be read at column " +
                                std::to_string(error.Column) + ": " + error.Reason);
            break;
        }
        assignment.Warning = SoundFileWarning(std::string(key.Key) + " " + Quote(assignment.Value),
                                              assignment.Value);
        break;
    }
    return assignment;
}

const char* Bool(bool b) { return b ? "True" : "False"; }

// A preset's rules, and whether the main window is tucked, as assignments.
std::vector<Assignment> PresetAssignments(std::string_view name) {
    const TWindowPreset* preset = FindWindowPreset(name);
    if (!preset)
        throw Error{"unknown preset " + Quote(name) + " (" + WindowPresetNames() + ")"};
    return {ParseAssignment("Windows.Main=" + std::string(preset->MainRule)),
            ParseAssignment("Windows.Inspector=" + std::string(preset->InspectorRule)),
            ParseAssignment(std::string("HideDelphi=") + Bool(preset->TuckMain))};
}

void Show(TIniEditor& ini) {
    for (std::size_t id = 0; id < SettingCount; ++id) {
        const TSettingInfo& setting = SettingTable[id];
        const std::string value =
            id == sFindLostWindows
                ? Bool(ini.ReadBool(setting.Section, setting.Key, setting.WhenAbsent != 0))
                : LoadedText(Settings, static_cast<TSettingId>(id));
        std::printf("%s=%s\n", setting.ShownAs, value.c_str());
    }
}

// Writes every assignment as one replacement of the file. On failure the
// message says what stood in the way, and nothing was written.
int WriteAssignments(const std::string& path, const std::vector<Assignment>& assignments) {
    std::vector<ProfileEdit> edits;
    for (const Assignment& a : assignments) {
        std::optional<std::string_view> value;
        if (!a.Value.empty())
            value = a.Value;
        edits.push_back({a.Key->Section, a.Key->Key, value});
    }
    const ProfileWriteResult result = ProfileWriteStrings(edits, path);
    const std::string nothing = "; nothing was written";
    switch (result.Outcome) {
    case ProfileWriteOutcome::Written:
    case ProfileWriteOutcome::Unchanged:
        for (const Assignment& a : assignments)
            if (!a.Warning.empty())
                std::fprintf(stderr, "wingtucker-config: warning: %s; written anyway\n",
                             a.Warning.c_str());
        return ExitOk;
    case ProfileWriteOutcome::TooLarge:
        return Fail(ExitFailed, "the settings file " + path + " would grow past " +
                                    std::to_string(ProfileMaxFileSize / (1024 * 1024)) + " MiB" +
                                    nothing);
    case ProfileWriteOutcome::FileUnusable:
        return Fail(ExitFailed, "the settings file " + path + " cannot be changed: " +
                                    ProfileStatusReason(ProfileFileStatus(path)) + nothing);
    case ProfileWriteOutcome::Failed:
        return Fail(ExitFailed,
                    "could not write " + path + ": " + std::strerror(result.Error) + nothing);
    case ProfileWriteOutcome::Refused: break; // every argument was checked before
    }
    return Fail(ExitFailed, "could not write " + path + nothing);
}

int Run(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty())
        return Fail(ExitUsage, "missing command (show, set or preset); try --help");
    if (args.front() == "--help" || args.front() == "-h") {
        std::fputs(Usage, stdout);
        return ExitOk;
    }
    std::string_view command = args.front();
    if (command != "show" && command != "set" && command != "preset")
        return Fail(ExitUsage, "unknown command " + Quote(command) + "; try --help");

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
                throw Error{"unknown option " + Quote(arg)};
            } else if (command == "show") {
                throw Error{"show takes no argument " + Quote(arg)};
            } else if (command == "preset") {
                if (!assignments.empty())
                    throw Error{"preset takes one name, not also " + Quote(arg)};
                assignments = PresetAssignments(arg);
            } else {
                assignments.push_back(ParseAssignment(arg));
            }
        }
        if (command == "set" && assignments.empty())
            throw Error{"set needs at least one KEY=VALUE"};
        if (command == "preset" && assignments.empty())
            throw Error{"preset needs a name (" + WindowPresetNames() + ")"};
    } catch (const Error& e) {
        return Fail(ExitUsage, e.Message);
    }

    // Files only: no desktop is needed to read and write the settings.
    InstallPlatform(MakeSimulatedPlatform(dir ? *dir : DefaultConfigurationDirectory()));
    TIniEditor ini;
    ini.SetFileName(SettingsFileName);
    ini.SetFileLocation(TIniEditor::WindowsPath);
    if (ini.FullPath().size() > ProfileMaxArgument)
        return Fail(ExitUsage, "the settings file's path " + Quote(ini.FullPath()) +
                                   " is longer than " + std::to_string(ProfileMaxArgument) +
                                   " characters");

    // The add-in takes the defaults from a file it cannot read; show says so
    // rather than pass them off as the file's.
    const ProfileStatus status = ProfileFileStatus(ini.FullPath());
    if (command == "show") {
        if (std::string problem = SettingsFileProblem(ini); !problem.empty())
            return Fail(ExitFailed, problem);
        ResetSettings();
        LoadSettings(ini);
        Show(ini);
        return ExitOk;
    }
    if (std::string problem = SettingsDirectoryProblem(ini.FullPath()); !problem.empty())
        return Fail(ExitFailed, problem + "; nothing was written");
    if (!status.Writable())
        return Fail(ExitFailed, "the settings file " + ini.FullPath() + " cannot be changed: " +
                                    ProfileStatusReason(status) + "; nothing was written");
    return WriteAssignments(ini.FullPath(), assignments);
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        return Fail(ExitFailed, e.what());
    }
}
