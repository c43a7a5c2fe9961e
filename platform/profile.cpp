// Profile files: a file is taken apart into lines, looked up and edited line
// by line so that everything a write does not touch stays as it was, then put
// back by writing a new file beside the old one and renaming it over it while
// a lock file beside it is held.
#include "platform/profile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
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

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

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

// Control characters other than the usual white space (and the old DOS end
// of file mark) do not occur in a text file.
bool IsText(std::string_view content) {
    for (char ch : content) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r' && c != 0x1A)
            return false;
    }
    return true;
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
            inSection = EqualNoCase(info.Name, section);
        if (!visit(i, info, inSection))
            return;
    }
}

// The first line holding key in section, or -1.
long FindKeyLine(const ProfileText& text, std::string_view section, std::string_view key,
                 LineInfo* found = nullptr) {
    long index = -1;
    ForEachLine(text, section, [&](std::size_t i, const LineInfo& info, bool inSection) {
        if (inSection && info.Kind == LineKind::Key && EqualNoCase(info.Name, key)) {
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
        if (!(inSection && info.Kind == LineKind::Key && EqualNoCase(info.Name, key)))
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

// --- Arguments -------------------------------------------------------------------

bool FitsBuffer(std::string_view s) { return s.size() <= ProfileMaxArgument; }

bool ValidPath(std::string_view path) {
    return !path.empty() && FitsBuffer(path) && path.find('\0') == std::string_view::npos;
}

// A name that can be looked up; writes ask more (see WritableSection and WritableKey).
bool ValidName(std::string_view name) {
    return FitsBuffer(name) && !Trim(name).empty() && !Contains(name, std::string_view("\0\n", 2));
}

bool WritableSection(std::string_view section) {
    return ValidName(section) && !Contains(section, "\r]");
}

bool WritableKey(std::string_view key) {
    std::string_view t = Trim(key);
    return ValidName(key) && !Contains(key, "\r=") && t.front() != '[' && t.front() != ';' &&
           t.front() != '#';
}

bool WritableValue(std::string_view value) {
    return FitsBuffer(value) && !Contains(value, std::string_view("\0\n\r", 3));
}

// --- Files -----------------------------------------------------------------------

enum class LoadResult { Loaded, Missing, Unusable };

struct LoadedFile {
    LoadResult Result = LoadResult::Missing;
    std::string Content;
    mode_t Mode = 0;
};

LoadedFile LoadFile(const std::string& path) {
    LoadedFile file;
    // O_NONBLOCK: a FIFO in the file's place must not hang the caller.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        file.Result = (errno == ENOENT || errno == ENOTDIR) ? LoadResult::Missing
                                                            : LoadResult::Unusable;
        return file;
    }
    file.Result = LoadResult::Unusable;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<unsigned long long>(st.st_size) <= ProfileMaxFileSize) {
        file.Mode = st.st_mode & 07777;
        std::string content;
        char buffer[16384];
        bool ok = true;
        for (;;) {
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0)
                break;
            content.append(buffer, static_cast<std::size_t>(n));
            if (content.size() > ProfileMaxFileSize) { // it grew while being read
                ok = false;
                break;
            }
        }
        if (ok && IsText(content)) {
            file.Result = LoadResult::Loaded;
            file.Content = std::move(content);
        }
    }
    close(fd);
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

// Holds an exclusive flock on "<file>.lock" for as long as it lives.
class FileLock {
public:
    explicit FileLock(const std::string& target) {
        fd_ = open((target + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd_ < 0)
            return;
        while (flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
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

private:
    int fd_ = -1;
};

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
bool ReplaceFile(const std::string& target, std::string_view content, bool keepMode,
                 mode_t mode) {
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = TempPrefix(target) + std::to_string(getpid()) + "." + std::to_string(counter++);
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok = (!keepMode || fchmod(fd, mode) == 0) && WriteAll(fd, content) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    SyncDirectory(DirectoryOf(target));
    return true;
}

} // namespace

std::string ProfileReadString(std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t bufferSize,
                              std::string_view path) {
    std::string fallback = CutToBuffer(defaultValue, bufferSize);
    if (!ValidName(section) || !ValidName(key) || !ValidPath(path))
        return fallback;
    LoadedFile file = LoadFile(std::string(path));
    if (file.Result != LoadResult::Loaded)
        return fallback;
    ProfileText text = Parse(file.Content);
    LineInfo info;
    if (FindKeyLine(text, Trim(section), Trim(key), &info) < 0)
        return fallback;
    return CutToBuffer(info.Value, bufferSize);
}

bool ProfileWriteString(std::string_view section, std::optional<std::string_view> key,
                        std::optional<std::string_view> value, std::string_view path) {
    if (!WritableSection(section) || !ValidPath(path) || (key && !WritableKey(*key)) ||
        (key && value && !WritableValue(*value)))
        return false;
    section = Trim(section);
    if (key)
        key = Trim(*key);
    const bool removing = !key || !value;

    std::string target = WriteTarget(path);
    std::string dir = DirectoryOf(target);
    struct stat st {};
    if (removing && lstat(target.c_str(), &st) != 0 && errno == ENOENT)
        return true; // no file: nothing to remove, and no reason to leave a lock file
    if (!MakeDirectories(dir))
        return false;

    FileLock lock(target);
    if (!lock.Held())
        return false;
    LoadedFile file = LoadFile(target);
    if (file.Result == LoadResult::Unusable)
        return false; // rewriting a file we could not read would lose what it holds
    if (file.Result == LoadResult::Missing && removing)
        return true;

    ProfileText text = Parse(file.Content);
    if (!key)
        RemoveSection(text, section);
    else if (!value)
        RemoveKey(text, section, *key);
    else
        SetKey(text, section, *key, *value);
    std::string content = Serialize(text);
    if (file.Result == LoadResult::Loaded && content == file.Content)
        return true;

    RemoveStaleTempFiles(target);
    return ReplaceFile(target, content, file.Result == LoadResult::Loaded, file.Mode);
}

} // namespace wt
