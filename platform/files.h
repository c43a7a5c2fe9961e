// File-system services shared by every backend: the configuration directory,
// the running program's file name, the current directory, attributes,
// directory creation and the mount points.
#pragma once

#include "platform/platform.h"

#include <string>
#include <string_view>
#include <vector>

namespace wt {

// $XDG_CONFIG_HOME/wingtucker, else ~/.config/wingtucker (not created here).
std::string DefaultConfigurationDirectory();
std::string RunningProgramFileName();
std::string CurrentWorkingDirectory();
bool ChangeWorkingDirectory(std::string_view path);
FileAttributes QueryFileAttributes(std::string_view path);
// Creates one directory (its parent must exist); true if it exists afterwards as a new directory.
bool MakeOneDirectory(std::string_view path);
std::vector<std::string> ListMountPoints();
// Writes content as the whole file at path, its folders made first: a new
// file beside it renamed over it, so that a reader sees the old file or the
// new one. 0, or the errno of what failed.
int WriteWholeFile(std::string_view path, std::string_view content);

} // namespace wt
