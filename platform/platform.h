// The desktop the system runs on: the drivers of one backend (sim for tests,
// x11 for the real desktop), and the profile files and file system, which are
// the same for every backend.
#pragma once

#include "platform/drivers.h"
#include "platform/types.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wt {

struct FileAttributes {
    bool Exists = false;
    bool Directory = false;
    bool ReadOnly = false;
};

class Platform {
public:
    virtual ~Platform();
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;

    WindowsDriver& Windows() const { return *drivers_.Windows; }
    SystemDriver& System() const { return *drivers_.System; }
    SoundDriver& Sound() const { return *drivers_.Sound; }
    HelpDriver& Help() const { return *drivers_.Help; }
    HookDriver& Hook() const { return *drivers_.Hook; }

    // --- Profile (INI) files -------------------------------------------------
    // The value of key in section of the file at path, cut to bufferSize - 1
    // characters; defaultValue when the file, section or key is missing.
    std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue, std::size_t bufferSize,
                                        std::string_view path);
    // Sets key to value; no value removes the key, no key removes the section.
    bool WritePrivateProfileString(std::string_view section, std::optional<std::string_view> key,
                                   std::optional<std::string_view> value, std::string_view path);
    // Called before every profile read: a test's broken file system throws here.
    std::function<void(std::string_view key)> BeforeProfileRead;

    // --- Directories and files -----------------------------------------------
    // The per-user configuration directory (the role of the Windows directory),
    // without a trailing "/".
    std::string GetWindowsDirectory() const { return configDir_; }
    void SetConfigurationDirectory(std::string dir) { configDir_ = std::move(dir); }
    // Full file name of the running program (or the one a test set).
    std::string GetModuleFileName() const;
    void SetModuleFileName(std::string name) { moduleFileName_ = std::move(name); }
    // Relative paths are taken from the current directory: the process's, or
    // one of the platform's own once KeepOwnCurrentDirectory was called (a
    // test must not move the process's).
    std::string GetCurrentDirectory() const;
    bool SetCurrentDirectory(std::string_view path);
    void KeepOwnCurrentDirectory();
    FileAttributes GetFileAttributes(std::string_view path) const;
    bool CreateDirectory(std::string_view path);
    // Mount points, the role of drive letters in the directory dialogs: the
    // mounted file systems, or a fixed list a test gave.
    std::vector<std::string> MountPoints() const;
    void SetMountPoints(std::vector<std::string> points) { mountPoints_ = std::move(points); }

protected:
    struct Drivers {
        WindowsDriver* Windows = nullptr;
        SystemDriver* System = nullptr;
        SoundDriver* Sound = nullptr;
        HelpDriver* Help = nullptr;
        HookDriver* Hook = nullptr;
    };
    // configDir: "" for the user's (DefaultConfigurationDirectory).
    explicit Platform(std::string configDir);
    // The backend's drivers, which it owns and keeps for its whole life.
    void UseDrivers(const Drivers& drivers) { drivers_ = drivers; }

private:
    std::string Resolve(std::string_view path) const;

    Drivers drivers_;
    std::string configDir_;
    std::string moduleFileName_;
    std::optional<std::string> ownCurrentDir_;
    std::optional<std::vector<std::string>> mountPoints_;
};

// The platform the system runs on: the one installed (backends.h makes them).
// Throws std::logic_error when none is.
Platform& ThePlatform();
// Whether a platform has been installed.
bool PlatformInstalled();
// Installs a platform (nullptr: none); returns the one installed before.
std::unique_ptr<Platform> InstallPlatform(std::unique_ptr<Platform> platform);

} // namespace wt
