// Profile files: a file is taken apart into lines, looked up and edited line
// by line so that everything a write does not touch stays as it was, then put
// back by writing a new file beside the old one and renaming it over it while
// a lock is held. The lock file lies with the user's runtime files, named from
// the file's real path, so the configuration directory holds only the file.
#include "platform/profile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace wt {

namespace {

constexpr std::string_view Blanks = " \t\r\v\f";
constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
    std::size_t first = s.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    std::size_t last = s.find_last_not_of(Blanks);
    return s.substr(first, last - first + 1);
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool Contains(std::string_view s, std::string_view chars) {
    return s.find_first_of(chars) != std::string_view::npos;
}

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        if (c >= 0x80) {
            if ((c >> 5) == 0x6)
                extra = 1;
            else if ((c >> 4) == 0xE)
                extra = 2;
            else if ((c >> 3) == 0x1E)
                extra = 3;
            else
                return false;
        }
        if (s.size() - i <= extra)
            return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += extra + 1;
    }
    return true;
}

// A value handed back through a buffer of bufferSize bytes; a UTF-8 text is
// not cut in the middle of a character.
std::string CutToBuffer(std::string_view value, std::size_t bufferSize) {
    if (bufferSize == 0)
        return {};
    std::size_t n = std::min(value.size(), bufferSize - 1);
    if (n < value.size() && IsValidUtf8(value))
        while (n > 0 && (static_cast<unsigned char>(value[n]) & 0xC0) == 0x80)
            --n;
    return std::string(value.substr(0, n));
}

// A NUL byte never occurs in a text file. Other control bytes may (a stray
// escape in a comment, say): they stay part of their line, which is read and
// kept like any other, so one odd byte does not cost the rest of the file.
bool IsText(std::string_view content) { return content.find('\0') == std::string_view::npos; }

// A control character that writes refuse: everything below a blank but the
// tab (line ends included), and DEL.
bool IsControl(char ch) {
    auto c = static_cast<unsigned char>(ch);
    return (c < 0x20 && c != '\t') || c == 0x7F;
}

std::string DescribeControl(char ch) {
    static constexpr const char* Names[32] = {
        "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
        "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
        "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    auto c = static_cast<unsigned char>(ch);
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", c);
    return std::string("the control character ") + code + " (" + (c < 32 ? Names[c] : "DEL") + ")";
}

// --- The file as lines ---------------------------------------------------------

struct Line {
    std::string Text; // without the line end
    std::string End;  // "\n", "\r\n", or empty for a last line without one
};

struct ProfileText {
    std::string Bom;
    std::vector<Line> Lines;
    std::string NewLine = "\n"; // what new lines end with: the file's own style
};

enum class LineKind { Other, Section, Key };

struct LineInfo {
    LineKind Kind = LineKind::Other;
    std::string_view Name;
    std::string_view Value;
    std::size_t ValueStart = 0; // where the value's text begins in the line
};

LineInfo Classify(std::string_view text) {
    LineInfo info;
    std::string_view t = Trim(text);
    if (t.empty() || t.front() == ';' || t.front() == '#')
        return info;
    if (t.front() == '[') {
        std::size_t close = t.find(']');
        info.Kind = LineKind::Section;
        info.Name = Trim(t.substr(1, close == std::string_view::npos ? close : close - 1));
        return info;
    }
    std::size_t eq = text.find('=');
    if (eq == std::string_view::npos)
        return info;
    info.Name = Trim(text.substr(0, eq));
    if (info.Name.empty())
        return info;
    info.Kind = LineKind::Key;
    info.Value = Trim(text.substr(eq + 1));
    std::size_t start = text.find_first_not_of(Blanks, eq + 1);
    info.ValueStart = start == std::string_view::npos ? text.size() : start;
    return info;
}

ProfileText Parse(std::string_view content) {
    ProfileText text;
    if (content.substr(0, Utf8Bom.size()) == Utf8Bom) {
        text.Bom = Utf8Bom;
        content.remove_prefix(Utf8Bom.size());
    }
    bool styleKnown = false;
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t nl = content.find('\n', pos);
        Line line;
        if (nl == std::string_view::npos) {
            line.Text = content.substr(pos);
            pos = content.size();
        } else {
            std::size_t end = nl;
            if (end > pos && content[end - 1] == '\r')
                --end;
            line.Text = content.substr(pos, end - pos);
            line.End = content.substr(end, nl + 1 - end);
            pos = nl + 1;
            if (!styleKnown) {
                text.NewLine = line.End;
                styleKnown = true;
            }
        }
        text.Lines.push_back(std::move(line));
    }
    return text;
}

std::string Serialize(const ProfileText& text) {
    std::string out = text.Bom;
    for (const Line& line : text.Lines) {
        out += line.Text;
        out += line.End;
    }
    return out;
}

// Calls visit(index, info, inSection) for every line; inSection tells whether
// the line lies in a section of the given name (duplicated sections count as one).
template <typename Visit>
void ForEachLine(const ProfileText& text, std::string_view section, Visit visit) {
    bool inSection = false;
    for (std::size_t i = 0; i < text.Lines.size(); ++i) {
        LineInfo info = Classify(text.Lines[i].Text);
        if (info.Kind == LineKind::Section)
            inSection = ProfileNamesEqual(info.Name, section);
        if (!visit(i, info, inSection))
            return;
    }
}

// The first line holding key in section, or -1.
long FindKeyLine(const ProfileText& text, std::string_view section, std::string_view key,
                 LineInfo* found = nullptr) {
    long index = -1;
    ForEachLine(text, section, [&](std::size_t i, const LineInfo& info, bool inSection) {
        if (inSection && info.Kind == LineKind::Key && ProfileNamesEqual(info.Name, key)) {
            index = static_cast<long>(i);
            if (found)
                *found = info;
            return false;
        }
        return true;
    });
    return index;
}

void InsertLine(ProfileText& text, std::size_t at, std::string lineText) {
    // The line before the new one may have been the file's last, without a line end.
    if (at > 0 && text.Lines[at - 1].End.empty())
        text.Lines[at - 1].End = text.NewLine;
    text.Lines.insert(text.Lines.begin() + static_cast<long>(at),
                      Line{std::move(lineText), text.NewLine});
}

void SetKey(ProfileText& text, std::string_view section, std::string_view key,
            std::string_view value) {
    // A read gives the value without its surrounding blanks, so that is what
    // is stored: writing the same value again then finds it already there.
    value = Trim(value);
    LineInfo info;
    long keyLine = FindKeyLine(text, section, key, &info);
    if (keyLine >= 0) {
        // Keep the key as the file spells it and the blanks around "=".
        std::string& lineText = text.Lines[static_cast<std::size_t>(keyLine)].Text;
        lineText = lineText.substr(0, info.ValueStart) + std::string(value);
        return;
    }
    // A new key goes right after the last key line of the section's first
    // occurrence, so blank lines and comments before the next section stay there.
    long header = -1;
    long lastKey = -1;
    bool inFirst = false;
    ForEachLine(text, section, [&](std::size_t i, const LineInfo& lineInfo, bool inSection) {
        if (lineInfo.Kind == LineKind::Section) {
            if (header >= 0 && inFirst)
                return false; // past the first occurrence
            inFirst = inSection;
            if (inSection)
                header = lastKey = static_cast<long>(i);
        } else if (inFirst && lineInfo.Kind == LineKind::Key) {
            lastKey = static_cast<long>(i);
        }
        return true;
    });
    std::string keyLineText = std::string(key) + "=" + std::string(value);
    if (header >= 0) {
        InsertLine(text, static_cast<std::size_t>(lastKey + 1), std::move(keyLineText));
        return;
    }
    if (!text.Lines.empty() && !Trim(text.Lines.back().Text).empty())
        InsertLine(text, text.Lines.size(), "");
    InsertLine(text, text.Lines.size(), "[" + std::string(section) + "]");
    InsertLine(text, text.Lines.size(), std::move(keyLineText));
}

void RemoveKey(ProfileText& text, std::string_view section, std::string_view key) {
    std::vector<Line> kept;
    ForEachLine(text, section, [&](std::size_t i, const LineInfo& info, bool inSection) {
        if (!(inSection && info.Kind == LineKind::Key && ProfileNamesEqual(info.Name, key)))
            kept.push_back(text.Lines[i]);
        return true;
    });
    text.Lines = std::move(kept);
}

void RemoveSection(ProfileText& text, std::string_view section) {
    std::vector<Line> kept;
    ForEachLine(text, section, [&](std::size_t i, const LineInfo&, bool inSection) {
        if (!inSection)
            kept.push_back(text.Lines[i]);
        return true;
    });
    text.Lines = std::move(kept);
}

void ApplyEdit(ProfileText& text, const ProfileEdit& edit) {
    std::string_view section = Trim(edit.Section);
    if (!edit.Key)
        RemoveSection(text, section);
    else if (!edit.Value)
        RemoveKey(text, section, Trim(*edit.Key));
    else
        SetKey(text, section, Trim(*edit.Key), *edit.Value);
}

// A file that is rewritten ends with a line end, as text files do.
void EndLastLine(ProfileText& text) {
    if (!text.Lines.empty() && text.Lines.back().End.empty())
        text.Lines.back().End = text.NewLine;
}

// --- Arguments -------------------------------------------------------------------

bool FitsBuffer(std::string_view s) { return s.size() <= ProfileMaxArgument; }

bool ValidPath(std::string_view path) {
    return !path.empty() && FitsBuffer(path) && path.find('\0') == std::string_view::npos;
}

// A name that can be looked up; writes ask more (see ProfileEditRefusal).
bool ValidName(std::string_view name) {
    return FitsBuffer(name) && !Trim(name).empty() && !Contains(name, std::string_view("\0\n", 2));
}

// Why a section name, key or value (what) cannot be written, or empty.
std::string TextRefusal(const char* what, std::string_view text) {
    if (!FitsBuffer(text))
        return std::string(what) + " is longer than " + std::to_string(ProfileMaxArgument) +
               " characters";
    auto control = std::find_if(text.begin(), text.end(), IsControl);
    if (control != text.end())
        return std::string(what) + " holds " + DescribeControl(*control) +
               ", which a settings file cannot hold";
    return {};
}

std::string NameRefusal(const char* what, std::string_view name) {
    if (std::string refusal = TextRefusal(what, name); !refusal.empty())
        return refusal;
    if (Trim(name).empty())
        return std::string(what) + " is empty";
    return {};
}

// --- Files -----------------------------------------------------------------------

struct LoadedFile {
    ProfileStatus Status;
    std::string Content;
    mode_t Mode = 0;
    bool Loaded() const { return Status.Readable() && Status.State != ProfileFileState::Absent; }
};

ProfileStatus StatusOf(ProfileFileState state, int error = 0) { return {state, error}; }

ProfileStatus OpenFailure(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR: return StatusOf(ProfileFileState::Absent);
    case EACCES:
    case EPERM: return StatusOf(ProfileFileState::PermissionDenied, error);
    case EISDIR: return StatusOf(ProfileFileState::IsDirectory, error);
    default: return StatusOf(ProfileFileState::ReadError, error);
    }
}

// Reads the whole file if fd holds a regular file that fits; the status says
// what stood in the way otherwise.
ProfileStatus ReadRegularFile(int fd, std::string& content, mode_t& mode) {
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return StatusOf(ProfileFileState::ReadError, errno);
    if (S_ISDIR(st.st_mode))
        return StatusOf(ProfileFileState::IsDirectory);
    if (!S_ISREG(st.st_mode))
        return StatusOf(ProfileFileState::NotRegularFile);
    if (static_cast<unsigned long long>(st.st_size) > ProfileMaxFileSize)
        return StatusOf(ProfileFileState::TooLarge);
    mode = st.st_mode & 07777;
    char buffer[16384];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return StatusOf(ProfileFileState::ReadError, errno);
        if (n == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(n));
        if (content.size() > ProfileMaxFileSize) // it grew while being read
            return StatusOf(ProfileFileState::TooLarge);
    }
    if (!IsText(content))
        return StatusOf(ProfileFileState::NotText);
    return StatusOf(ProfileFileState::Usable);
}

// Read-only to us: no write permission for anyone (which root would ignore),
// or none for this user, or a read-only file system.
bool ReadOnlyFile(const std::string& path, mode_t mode) {
    return (mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

LoadedFile LoadFile(const std::string& path) {
    LoadedFile file;
    // O_NONBLOCK: a FIFO in the file's place must not hang the caller.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        file.Status = OpenFailure(errno);
        return file;
    }
    std::string content;
    file.Status = ReadRegularFile(fd, content, file.Mode);
    close(fd);
    if (file.Status.State == ProfileFileState::Usable) {
        file.Content = std::move(content);
        if (ReadOnlyFile(path, file.Mode))
            file.Status.State = ProfileFileState::ReadOnly;
    }
    return file;
}

std::string DirectoryOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool DirectoryExists(const std::string& dir) {
    struct stat st {};
    return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// mkdir -p: the configuration directory is made on the first write.
bool MakeDirectories(const std::string& dir) {
    if (DirectoryExists(dir))
        return true;
    std::string parent = DirectoryOf(dir);
    if (parent != dir && !MakeDirectories(parent))
        return false;
    return mkdir(dir.c_str(), 0777) == 0 || (errno == EEXIST && DirectoryExists(dir));
}

// A settings file kept as a symbolic link (in a dotfiles repository, say)
// stays a link: the file it points at is the one replaced.
std::string WriteTarget(std::string_view path) {
    std::string p(path);
    struct stat st {};
    if (lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(p.c_str(), resolved))
            return resolved;
    }
    return p;
}

// Makes dir (mode 0700) if need be; true when it is a directory, not a link,
// of this user that nobody else may enter, as a place for lock files must be.
bool PrivateDirectory(const std::string& dir) {
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    return lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
           (st.st_mode & 077) == 0;
}

bool OwnDirectory(const std::string& dir) {
    struct stat st {};
    return !dir.empty() && dir.front() == '/' && stat(dir.c_str(), &st) == 0 &&
           S_ISDIR(st.st_mode) && st.st_uid == geteuid();
}

// Where lock files go: $XDG_RUNTIME_DIR/wingtucker; without that variable the
// runtime directory the session would have named (so a writer started outside
// the session still meets the session's lock); else /tmp/wingtucker-<uid>.
std::string LockDirectory() {
    const std::string uid = std::to_string(geteuid());
    std::string runtime;
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && OwnDirectory(xdg))
        runtime = xdg;
    else if (OwnDirectory("/run/user/" + uid))
        runtime = "/run/user/" + uid;
    if (!runtime.empty() && PrivateDirectory(runtime + "/wingtucker"))
        return runtime + "/wingtucker";
    std::string fallback = "/tmp/wingtucker-" + uid;
    return PrivateDirectory(fallback) ? fallback : std::string();
}

std::uint64_t Fnv1a(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// The lock's name comes from the file's real path, so every spelling of that
// path (relative, through a linked directory) meets the same lock. The
// directory exists when this is called.
std::string LockName(const std::string& target) {
    std::string dir = DirectoryOf(target);
    std::string name = target.substr(target.rfind('/') + 1);
    char resolved[PATH_MAX];
    std::string real = (realpath(dir.c_str(), resolved) ? std::string(resolved) : dir) + "/" + name;
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(real)));
    return name.substr(0, 64) + "-" + hash + ".lock";
}

// Holds an exclusive flock on the file's lock for as long as it lives.
class FileLock {
public:
    explicit FileLock(const std::string& target) {
        std::string dir = LockDirectory();
        if (dir.empty()) {
            error_ = EACCES;
            return;
        }
        fd_ = open((dir + "/" + LockName(target)).c_str(),
                   O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW, 0600);
        if (fd_ < 0) {
            error_ = errno;
            return;
        }
        while (flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                error_ = errno;
                close(fd_);
                fd_ = -1;
                return;
            }
        }
    }
    ~FileLock() {
        if (fd_ >= 0)
            close(fd_); // releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return fd_ >= 0; }
    int Error() const { return error_; }

private:
    int fd_ = -1;
    int error_ = 0;
};

// Earlier versions kept an empty "<file>.lock" beside the file; it serves
// nothing now.
void RemoveOldLockFile(const std::string& target) {
    std::string old = target + ".lock";
    struct stat st {};
    if (lstat(old.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0)
        unlink(old.c_str());
}

std::string TempPrefix(const std::string& target) { return target + ".tmp."; }

// Temp files left by a writer that died mid-write. Only called under the
// lock, so no live writer of this file has one open.
void RemoveStaleTempFiles(const std::string& target) {
    std::string dir = DirectoryOf(target);
    std::string prefix = TempPrefix(target).substr(target.rfind('/') + 1);
    DIR* d = opendir(dir.c_str());
    if (!d)
        return;
    while (dirent* entry = readdir(d)) {
        std::string_view name = entry->d_name;
        if (name.substr(0, prefix.size()) == prefix)
            unlinkat(dirfd(d), entry->d_name, 0);
    }
    closedir(d);
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void SyncDirectory(const std::string& dir) {
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Writes content to a new file beside target, flushes it to disk and renames
// it over target: a reader (or a crash) sees the old file or the new one.
// 0, or the errno of what failed.
int ReplaceFile(const std::string& target, std::string_view content, bool keepMode, mode_t mode) {
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = TempPrefix(target) + std::to_string(getpid()) + "." + std::to_string(counter++);
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0 && errno != EEXIST)
            return errno;
    }
    if (fd < 0)
        return EEXIST;
    int error = 0;
    if ((keepMode && fchmod(fd, mode) != 0) || !WriteAll(fd, content) || fsync(fd) != 0)
        error = errno ? errno : EIO;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temp.c_str());
        return error;
    }
    SyncDirectory(DirectoryOf(target));
    return 0;
}

ProfileWriteResult Result(ProfileWriteOutcome outcome, int error = 0) { return {outcome, error}; }

} // namespace

int WriteWholeFile(std::string_view path, std::string_view content) {
    const std::string target(path);
    if (!MakeDirectories(DirectoryOf(target)))
        return errno ? errno : EIO;
    return ReplaceFile(target, content, false, 0);
}

ProfileStatus ProfileFileStatus(std::string_view path) {
    if (path.empty())
        return {}; // reads of no file give their defaults
    if (!FitsBuffer(path))
        return {ProfileFileState::PathTooLong, 0};
    if (!ValidPath(path))
        return {ProfileFileState::ReadError, EINVAL};
    return LoadFile(std::string(path)).Status;
}

std::string ProfileStatusReason(const ProfileStatus& status) {
    switch (status.State) {
    case ProfileFileState::Absent:
    case ProfileFileState::Usable: return {};
    case ProfileFileState::ReadOnly: return "it is read-only";
    case ProfileFileState::NotText: return "it is not a text file (it holds a NUL byte)";
    case ProfileFileState::TooLarge:
        return "it is larger than " + std::to_string(ProfileMaxFileSize / (1024 * 1024)) + " MiB";
    case ProfileFileState::PermissionDenied: return "permission denied";
    case ProfileFileState::IsDirectory: return "it is a directory";
    case ProfileFileState::NotRegularFile: return "it is not a regular file";
    case ProfileFileState::PathTooLong:
        return "its path is longer than " + std::to_string(ProfileMaxArgument) + " characters";
    case ProfileFileState::ReadError: break;
    }
    return std::strerror(status.Error ? status.Error : EIO);
}

std::string ProfileReadString(std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t bufferSize,
                              std::string_view path) {
    std::string fallback = CutToBuffer(defaultValue, bufferSize);
    if (!ValidName(section) || !ValidName(key) || !ValidPath(path))
        return fallback;
    LoadedFile file = LoadFile(std::string(path));
    if (!file.Loaded())
        return fallback;
    ProfileText text = Parse(file.Content);
    LineInfo info;
    if (FindKeyLine(text, Trim(section), Trim(key), &info) < 0)
        return fallback;
    return CutToBuffer(info.Value, bufferSize);
}

std::string ProfileEditRefusal(const ProfileEdit& edit) {
    if (std::string refusal = NameRefusal("the section name", edit.Section); !refusal.empty())
        return refusal;
    if (Contains(edit.Section, "]"))
        return "the section name holds \"]\", which would end it";
    if (!edit.Key)
        return {};
    if (std::string refusal = NameRefusal("the key", *edit.Key); !refusal.empty())
        return refusal;
    if (Contains(*edit.Key, "="))
        return "the key holds \"=\", which would end it";
    char first = Trim(*edit.Key).front();
    if (first == '[' || first == ';' || first == '#')
        return std::string("the key begins with \"") + first +
               "\", which would make the line a section or a comment";
    if (edit.Value)
        return TextRefusal("the value", *edit.Value);
    return {};
}

ProfileWriteResult ProfileWriteStrings(std::span<const ProfileEdit> edits, std::string_view path) {
    if (!ValidPath(path))
        return Result(ProfileWriteOutcome::Refused);
    bool removingOnly = true;
    for (const ProfileEdit& edit : edits) {
        if (!ProfileEditRefusal(edit).empty())
            return Result(ProfileWriteOutcome::Refused);
        removingOnly = removingOnly && (!edit.Key || !edit.Value);
    }

    std::string target = WriteTarget(path);
    struct stat st {};
    if (removingOnly && lstat(target.c_str(), &st) != 0 && errno == ENOENT)
        return Result(ProfileWriteOutcome::Unchanged); // nothing to remove, no lock to take
    if (!MakeDirectories(DirectoryOf(target)))
        return Result(ProfileWriteOutcome::Failed, errno);

    FileLock lock(target);
    if (!lock.Held())
        return Result(ProfileWriteOutcome::Failed, lock.Error());
    LoadedFile file = LoadFile(target);
    // Rewriting a file we could not read would lose what it holds; one made
    // read-only is the user's decision.
    if (!file.Status.Writable())
        return Result(ProfileWriteOutcome::FileUnusable);
    RemoveOldLockFile(target);
    if (!file.Loaded() && removingOnly)
        return Result(ProfileWriteOutcome::Unchanged);

    ProfileText text = Parse(file.Content);
    for (const ProfileEdit& edit : edits)
        ApplyEdit(text, edit);
    std::string content = Serialize(text);
    if (file.Loaded() && content == file.Content)
        return Result(ProfileWriteOutcome::Unchanged);
    EndLastLine(text);
    content = Serialize(text);
    if (content.size() > ProfileMaxFileSize)
        return Result(ProfileWriteOutcome::TooLarge);

    RemoveStaleTempFiles(target);
    if (int error = ReplaceFile(target, content, file.Loaded(), file.Mode))
        return Result(ProfileWriteOutcome::Failed, error);
    return Result(ProfileWriteOutcome::Written);
}

bool ProfileWriteString(std::string_view section, std::optional<std::string_view> key,
                        std::optional<std::string_view> value, std::string_view path) {
    const ProfileEdit edit{section, key, value};
    return ProfileWriteStrings(std::span(&edit, 1), path).Ok();
}

bool ProfileNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

} // namespace wt
