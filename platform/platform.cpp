#include "platform/platform.h"

#include "platform/files.h"
#include "platform/profile.h"

#include <filesystem>
#include <stdexcept>

namespace wt {

namespace {

std::unique_ptr<Platform>& Installed() {
    static std::unique_ptr<Platform> platform;
    return platform;
}

} // namespace

Platform::Platform(std::string configDir)
    : configDir_(configDir.empty() ? DefaultConfigurationDirectory() : std::move(configDir)) {}

Platform::~Platform() = default;

std::string Platform::GetPrivateProfileString(std::string_view section, std::string_view key,
                                              std::string_view defaultValue, std::size_t bufferSize,
                                              std::string_view path) {
    if (BeforeProfileRead)
        BeforeProfileRead(key);
    return ProfileReadString(section, key, defaultValue, bufferSize, path);
}

bool Platform::WritePrivateProfileString(std::string_view section,
                                         std::optional<std::string_view> key,
                                         std::optional<std::string_view> value,
                                         std::string_view path) {
    return ProfileWriteString(section, key, value, path);
}

std::string Platform::GetModuleFileName() const {
    return moduleFileName_.empty() ? RunningProgramFileName() : moduleFileName_;
}

void Platform::KeepOwnCurrentDirectory() { ownCurrentDir_ = CurrentWorkingDirectory(); }

// An absolute, lexically normal path without a trailing "/" (but "/"), so
// that a kept current directory reads back as the process's would.
std::string Platform::Resolve(std::string_view path) const {
    if (!ownCurrentDir_)
        return std::string(path);
    std::filesystem::path full(path);
    if (full.is_relative())
        full = std::filesystem::path(*ownCurrentDir_) / full;
    std::string out = full.lexically_normal().string();
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return out;
}

std::string Platform::GetCurrentDirectory() const {
    return ownCurrentDir_ ? *ownCurrentDir_ : CurrentWorkingDirectory();
}

bool Platform::SetCurrentDirectory(std::string_view path) {
    if (!ownCurrentDir_)
        return ChangeWorkingDirectory(path);
    std::string full = Resolve(path);
    if (!QueryFileAttributes(full).Directory)
        return false;
    // A directory without search permission cannot be entered, whoever
    // runs the test (root could enter it for real).
    std::error_code error;
    const auto permissions = std::filesystem::status(full, error).permissions();
    if (error || (permissions & std::filesystem::perms::owner_exec) == std::filesystem::perms::none)
        return false;
    ownCurrentDir_ = full;
    return true;
}

FileAttributes Platform::GetFileAttributes(std::string_view path) const {
    return QueryFileAttributes(Resolve(path));
}

bool Platform::CreateDirectory(std::string_view path) { return MakeOneDirectory(Resolve(path)); }

std::vector<std::string> Platform::MountPoints() const {
    return mountPoints_ ? *mountPoints_ : ListMountPoints();
}

Platform& ThePlatform() {
    auto& platform = Installed();
    if (!platform)
        throw std::logic_error("no platform is installed");
    return *platform;
}

bool PlatformInstalled() { return Installed() != nullptr; }

std::unique_ptr<Platform> InstallPlatform(std::unique_ptr<Platform> platform) {
    auto previous = std::move(Installed());
    Installed() = std::move(platform);
    return previous;
}

} // namespace wt
