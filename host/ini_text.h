// A small INI text reader and writer for hostide's own files (projects,
// desktops): sections, key=value entries with their line numbers, clear
// messages for malformed text, and writing through a temporary file.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace wt {

struct IniEntry {
    QString Key;
    QString Value;
    int Line = 0;
};

struct IniSection {
    QString Name;
    QList<IniEntry> Entries;
    int Line = 0;

    // The first entry with this key (letter case ignored), or null.
    const IniEntry* Find(const QString& key) const;
};

struct IniDocument {
    QList<IniSection> Sections;

    // The first section with this name (letter case ignored), or null.
    const IniSection* Find(const QString& name) const;
    // Sets a value, adding the section and the entry where they are missing.
    void Set(const QString& section, const QString& key, const QString& value);
};

// Files larger than this are refused unread: none of ours comes near it.
inline constexpr qint64 MaxIniFileSize = 1024 * 1024;

// Parses INI text. On a malformed line returns false with *errorLine and
// *error set; *document is then left unchanged.
bool ParseIni(const QByteArray& text, IniDocument* document, int* errorLine, QString* error);
QByteArray FormatIni(const IniDocument& document);

// Reads and parses a file; on failure *error reads "FILE: message" or
// "FILE, line N: message".
bool ReadIniFile(const QString& fileName, IniDocument* document, QString* error);
// Writes a temporary file beside fileName and renames it over fileName, so a
// failed write never leaves a half-written file behind.
bool WriteIniFileSafely(const QString& fileName, const IniDocument& document, QString* error);

} // namespace wt
