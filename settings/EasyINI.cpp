#include "settings/EasyINI.h"

#include "platform/platform.h"
#include "platform/profile.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <optional>

namespace wt {

namespace {

bool EqualsUpper(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i])
            return false;
    }
    return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string FormatReal(long double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    char buffer[64];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    if (ec != std::errc())
        return "0";
    return std::string(buffer, end);
}

bool ParseReal(std::string_view text, long double& value) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    if (EqualsUpper(text, "INF")) {
        value = negative ? -std::numeric_limits<long double>::infinity()
                         : std::numeric_limits<long double>::infinity();
        return true;
    }
    if (EqualsUpper(text, "NAN")) {
        value = std::numeric_limits<long double>::quiet_NaN();
        return true;
    }
    // from_chars would also take "inf", "nan" spelled out and a second sign.
    if (!IsDigit(text.front()) && text.front() != '.')
        return false;
    long double parsed = 0;
    const char* last = text.data() + text.size();
    auto [end, ec] = std::from_chars(text.data(), last, parsed, std::chars_format::general);
    if (ec != std::errc() || end != last)
        return false;
    value = negative ? -parsed : parsed;
    return true;
}

TIniEditor::TIniEditor(TComponent* owner) : TComponent(owner) {}

void TIniEditor::SetFileName(std::string_view fileName) {
    if (fileName != fileName_)
        fileName_ = fileName;
}

void TIniEditor::SetFileLocation(TFileLocation location) {
    fileLocation_ = location;
    directory_.clear();
    switch (location) {
    case ApplicationPath: {
        std::string program = ThePlatform().GetModuleFileName();
        std::size_t slash = program.rfind('/');
        if (slash != std::string::npos)
            directory_ = program.substr(0, slash + 1);
        break;
    }
    case WindowsPath:
        // Taken whole: a directory cut to the old 144-character buffer would
        // name some other directory. Paths too long for the profile service's
        // buffers are refused there.
        directory_ = ThePlatform().GetWindowsDirectory();
        if (!directory_.empty() && directory_.back() != '/')
            directory_ += '/';
        break;
    case PathInFileName: break;
    }
}

std::string TIniEditor::FullPath() const {
    std::string path;
    if (directory_.empty() || (fileName_.size() >= 2 && fileName_[1] == ':'))
        path = fileName_;
    else if (!fileName_.empty() && fileName_.front() == '/')
        path = directory_ + fileName_.substr(1);
    else
        path = directory_ + fileName_;
    if (path.find('.') == std::string::npos)
        path += ".INI";
    return path;
}

std::string TIniEditor::WriteKeys(const std::string& section,
                                  const std::vector<std::pair<std::string, std::string>>& values) {
    const std::string path = FullPath();
    std::vector<ProfileEdit> edits;
    for (const auto& [key, value] : values) {
        edits.push_back({section, key, std::nullopt});
        if (!value.empty())
            edits.back().Value = value;
    }
    for (const ProfileEdit& edit : edits)
        if (std::string refusal = ProfileEditRefusal(edit); !refusal.empty())
            return refusal;
    const ProfileWriteResult result = ProfileWriteStrings(edits, path);
    switch (result.Outcome) {
    case ProfileWriteOutcome::Written:
    case ProfileWriteOutcome::Unchanged: return {};
    case ProfileWriteOutcome::FileUnusable: return ProfileStatusReason(ProfileFileStatus(path));
    case ProfileWriteOutcome::TooLarge:
        return "it would grow past " + std::to_string(ProfileMaxFileSize / (1024 * 1024)) + " MiB";
    case ProfileWriteOutcome::Refused: break;
    case ProfileWriteOutcome::Failed: return std::strerror(result.Error ? result.Error : EIO);
    }
    return "it could not be written";
}

void TIniEditor::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteStr(section, key, value ? "True" : "False");
}

void TIniEditor::WriteChar(const std::string& section, const std::string& key, char value) {
    // A NUL character is an empty text to the profile service.
    WriteStr(section, key, value == '\0' ? std::string() : std::string(1, value));
}

void TIniEditor::WriteInt(const std::string& section, const std::string& key, std::int32_t value) {
    WriteStr(section, key, std::to_string(value));
}

void TIniEditor::WriteReal(const std::string& section, const std::string& key, long double value) {
    WriteStr(section, key, FormatReal(value));
}

void TIniEditor::WriteStr(const std::string& section, const std::string& key,
                          const std::string& value) {
    if (section.empty() || fileName_.empty())
        return;
    std::string path = FullPath();
    Platform& platform = ThePlatform();
    if (!value.empty())
        platform.WritePrivateProfileString(section, key, value, path);
    else if (!key.empty())
        platform.WritePrivateProfileString(section, key, std::nullopt, path);
    else
        platform.WritePrivateProfileString(section, std::nullopt, std::nullopt, path);
}

bool TIniEditor::ReadBool(const std::string& section, const std::string& key, bool defaultValue) {
    std::string text = ReadStr(section, key, defaultValue ? "True" : "False");
    return EqualsUpper(text, "TRUE") || EqualsUpper(text, "YES") || text == "1";
}

char TIniEditor::ReadChar(const std::string& section, const std::string& key, char defaultValue) {
    std::string text = ReadStr(section, key, std::string(1, defaultValue));
    // A key present with an empty value has no first character: the default stands in.
    return text.empty() ? defaultValue : text.front();
}

std::int32_t TIniEditor::ReadInt(const std::string& section, const std::string& key,
                                 std::int32_t defaultValue) {
    try {
        long double real = std::trunc(ReadReal(section, key, defaultValue));
        if (std::isnan(real) || real < std::numeric_limits<std::int32_t>::min() ||
            real > std::numeric_limits<std::int32_t>::max())
            return defaultValue;
        return static_cast<std::int32_t>(real);
    } catch (const std::exception&) {
        return defaultValue;
    }
}

long double TIniEditor::ReadReal(const std::string& section, const std::string& key,
                                 long double defaultValue) {
    try {
        long double value = 0;
        if (ParseReal(ReadStr(section, key, FormatReal(defaultValue)), value))
            return value;
    } catch (const std::exception&) {
    }
    return defaultValue;
}

std::string TIniEditor::ReadStr(const std::string& section, const std::string& key,
                                const std::string& defaultValue) {
    if (section.empty() || key.empty() || fileName_.empty())
        return defaultValue;
    return ThePlatform().GetPrivateProfileString(section, key, defaultValue, BufferSize,
                                                 FullPath());
}

void TIniEditor::EraseSection(const std::string& section) { WriteStr(section, "", ""); }

void TIniEditor::EraseEntry(const std::string& section, const std::string& key) {
    WriteStr(section, key, "");
}

} // namespace wt
