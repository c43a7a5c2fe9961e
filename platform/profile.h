// The profile-file service: typed-less key=value reads and writes in INI text
// files. Names match without regard to case; every line a write does not touch
// stays byte for byte; a write replaces the file atomically under a lock.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace wt {

// Longest section, key, value or path accepted; longer arguments are refused.
inline constexpr std::size_t ProfileMaxArgument = 255;
// Files larger than this are not read (defaults are returned, writes refused),
// and no write makes a file larger.
inline constexpr std::size_t ProfileMaxFileSize = 4 * 1024 * 1024;

// What a file is to the profile service.
enum class ProfileFileState {
    Absent,           // reads give their defaults; a write creates it
    Usable,           // read and written
    ReadOnly,         // read, but never replaced: its permissions forbid writing
    NotText,          // holds a NUL byte
    TooLarge,         // larger than ProfileMaxFileSize
    PermissionDenied, // cannot be opened for reading
    IsDirectory,
    NotRegularFile, // a FIFO, device or socket
    PathTooLong,    // longer than ProfileMaxArgument
    ReadError,      // any other failure; Error holds the errno
};

struct ProfileStatus {
    ProfileFileState State = ProfileFileState::Absent;
    int Error = 0;
    // Reads see what the file holds (or, when it is absent, the defaults).
    bool Readable() const {
        return State == ProfileFileState::Absent || State == ProfileFileState::Usable ||
               State == ProfileFileState::ReadOnly;
    }
    bool Writable() const {
        return State == ProfileFileState::Absent || State == ProfileFileState::Usable;
    }
};

// Whether two section or key names are the same to the profile service:
// equal without regard to ASCII case.
bool ProfileNamesEqual(std::string_view a, std::string_view b);

// The state of the file at path, as reads and writes will find it.
ProfileStatus ProfileFileStatus(std::string_view path);
// Why a file in that state cannot be read or written, as a clause for a user
// ("it is not a text file (it holds a NUL byte)"); empty for Absent and Usable.
std::string ProfileStatusReason(const ProfileStatus& status);

// The value of key in section, cut to bufferSize - 1 characters; defaultValue
// (cut the same way) when the file, section or key is missing or unreadable.
std::string ProfileReadString(std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t bufferSize,
                              std::string_view path);

// One change of a file: key set to value; no value removes the key, no key
// removes the whole section.
struct ProfileEdit {
    std::string_view Section;
    std::optional<std::string_view> Key;
    std::optional<std::string_view> Value;
};

// Why this edit cannot be written ("the value holds the control character
// 0x1B (ESC)..."), or empty when it can. Control characters other than the
// tab, line ends among them, never go into a file.
std::string ProfileEditRefusal(const ProfileEdit& edit);

enum class ProfileWriteOutcome {
    Written,
    Unchanged,    // the file already held what was asked: it is not rewritten
    Refused,      // an edit that cannot be written (ProfileEditRefusal)
    FileUnusable, // the file cannot be read or may not be replaced (ProfileFileStatus)
    TooLarge,     // the file would grow past ProfileMaxFileSize
    Failed,       // the system refused; Error holds the errno
};

struct ProfileWriteResult {
    ProfileWriteOutcome Outcome = ProfileWriteOutcome::Failed;
    int Error = 0;
    bool Ok() const {
        return Outcome == ProfileWriteOutcome::Written || Outcome == ProfileWriteOutcome::Unchanged;
    }
};

// Applies the edits in order, creating file and sections as needed, as one
// replacement of the file: all of them are written or none is.
ProfileWriteResult ProfileWriteStrings(std::span<const ProfileEdit> edits, std::string_view path);

// One edit; false when nothing was written.
bool ProfileWriteString(std::string_view section, std::optional<std::string_view> key,
                        std::optional<std::string_view> value, std::string_view path);

} // namespace wt
