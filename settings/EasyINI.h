// TIniEditor: a non-visual component that reads and writes typed values in
// one INI file through the platform's profile service. It holds only the
// file's name and location; every read and write is one call on the full path.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/core/component.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wt {

class TIniEditor : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileNameText WRITE SetFileNameText)
    // No declared default: a form always stores it, so loading a form always
    // runs its setter and computes Directory.
    Q_PROPERTY(TFileLocation FileLocation READ FileLocation WRITE SetFileLocation)
    Q_CLASSINFO("Default.FileName", "''")
public:
    enum TFileLocation { ApplicationPath, WindowsPath, PathInFileName };
    Q_ENUM(TFileLocation)

    // Section, key, value and full path all pass through buffers of this size.
    static constexpr std::size_t BufferSize = 256;
    // The size of the buffer the Windows directory was asked into.
    static constexpr std::size_t WindowsDirectoryBufferSize = 144;

    explicit TIniEditor(TComponent* owner = nullptr);

    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string_view fileName);
    TFileLocation FileLocation() const { return fileLocation_; }
    // Recomputes Directory on every call, also when the value does not change.
    void SetFileLocation(TFileLocation location);
    // The directory computed by the last SetFileLocation, ending in "/" when not empty.
    const std::string& Directory() const { return directory_; }
    // The path handed to the profile service.
    std::string FullPath() const;

    Q_INVOKABLE void WriteBool(const std::string& section, const std::string& key, bool value);
    Q_INVOKABLE void WriteChar(const std::string& section, const std::string& key, char value);
    Q_INVOKABLE void WriteInt(const std::string& section, const std::string& key,
                              std::int32_t value);
    Q_INVOKABLE void WriteReal(const std::string& section, const std::string& key,
                               long double value);
    // An empty value removes the key; an empty key as well removes the section.
    Q_INVOKABLE void WriteStr(const std::string& section, const std::string& key,
                              const std::string& value);
    Q_INVOKABLE bool ReadBool(const std::string& section, const std::string& key,
                              bool defaultValue);
    Q_INVOKABLE char ReadChar(const std::string& section, const std::string& key,
                              char defaultValue);
    Q_INVOKABLE std::int32_t ReadInt(const std::string& section, const std::string& key,
                                     std::int32_t defaultValue);
    Q_INVOKABLE long double ReadReal(const std::string& section, const std::string& key,
                                     long double defaultValue);
    Q_INVOKABLE std::string ReadStr(const std::string& section, const std::string& key,
                                    const std::string& defaultValue);
    Q_INVOKABLE void EraseSection(const std::string& section);
    // Several keys of one section as one replacement of the file, all or
    // none; an empty value removes its key. Empty when written, else why
    // not, as a clause for the user ("it is read-only").
    std::string WriteKeys(const std::string& section,
                          const std::vector<std::pair<std::string, std::string>>& values);
    Q_INVOKABLE void EraseEntry(const std::string& section, const std::string& key);

private:
    QString FileNameText() const { return FromStd(fileName_); }
    void SetFileNameText(const QString& fileName) { SetFileName(ToStd(fileName)); }

    std::string fileName_;
    TFileLocation fileLocation_ = ApplicationPath;
    std::string directory_; // computed only when FileLocation is assigned
};

WT_REGISTER_CLASS(TIniEditor);

using TFileLocation = TIniEditor::TFileLocation;

// The general number form WriteReal writes (up to 15 significant digits,
// "." as decimal separator whatever the user's locale) and its parser.
std::string FormatReal(long double value);
// False for anything but a whole decimal number: optional sign, digits with an
// optional fraction, optional exponent.
bool ParseReal(std::string_view text, long double& value);

} // namespace wt
