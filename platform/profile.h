// The profile-file service: typed-less key=value reads and writes in INI text
// files. Names match without regard to case; every line a write does not touch
// stays byte for byte; a write replaces the file atomically under a lock.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wt {

// Longest section, key, value or path accepted; longer arguments are refused.
inline constexpr std::size_t ProfileMaxArgument = 255;
// Files larger than this are not read (defaults are returned, writes refused).
inline constexpr std::size_t ProfileMaxFileSize = 4 * 1024 * 1024;

// The value of key in section, cut to bufferSize - 1 characters; defaultValue
// (cut the same way) when the file, section or key is missing or unreadable.
std::string ProfileReadString(std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t bufferSize,
                              std::string_view path);

// Sets key to value, creating file and section as needed; no value removes the
// key, no key removes the whole section. False when nothing was written.
bool ProfileWriteString(std::string_view section, std::optional<std::string_view> key,
                        std::optional<std::string_view> value, std::string_view path);

} // namespace wt
