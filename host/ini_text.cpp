#include "host/ini_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace wt {

const IniEntry* IniSection::Find(const QString& key) const {
    for (const IniEntry& entry : Entries)
        if (entry.Key.compare(key, Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

const IniSection* IniDocument::Find(const QString& name) const {
    for (const IniSection& section : Sections)
        if (section.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &section;
    return nullptr;
}

void IniDocument::Set(const QString& section, const QString& key, const QString& value) {
    IniSection* target = nullptr;
    for (IniSection& s : Sections)
        if (s.Name.compare(section, Qt::CaseInsensitive) == 0) {
            target = &s;
            break;
        }
    if (!target) {
        Sections.append(IniSection{section, {}, 0});
        target = &Sections.last();
    }
    for (IniEntry& entry : target->Entries)
        if (entry.Key.compare(key, Qt::CaseInsensitive) == 0) {
            entry.Value = value;
            return;
        }
    target->Entries.append(IniEntry{key, value, 0});
}

bool ParseIni(const QByteArray& text, IniDocument* document, int* errorLine, QString* error) {
    IniDocument parsed;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        auto fail = [&](const QString& message) {
            *errorLine = lineNumber;
            *error = message;
            return false;
        };
        const QByteArray& raw = lines[i];
        if (raw.contains('\0'))
            return fail(QStringLiteral("the line contains a NUL byte"));
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            if (!line.endsWith(']'))
                return fail(QStringLiteral("a section name must end with ']'"));
            const QString name = line.mid(1, line.size() - 2).trimmed();
            if (name.isEmpty())
                return fail(QStringLiteral("the section name is empty"));
            parsed.Sections.append(IniSection{name, {}, lineNumber});
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            return fail(QStringLiteral("expected [section] or key=value, found \"%1\"").arg(line));
        const QString key = line.left(equals).trimmed();
        if (key.isEmpty())
            return fail(QStringLiteral("the key before '=' is empty"));
        if (parsed.Sections.isEmpty())
            return fail(QStringLiteral("the entry \"%1\" stands before any [section]").arg(key));
        parsed.Sections.last().Entries.append(
            IniEntry{key, line.mid(equals + 1).trimmed(), lineNumber});
    }
    *document = std::move(parsed);
    return true;
}

// Line breaks inside a value would end the entry early: they become spaces.
static QByteArray OneLine(const QString& text) {
    QString flat = text;
    for (QChar& c : flat)
        if (c == '\n' || c == '\r' || c == QChar(0))
            c = ' ';
    return flat.toUtf8();
}

QByteArray FormatIni(const IniDocument& document) {
    QByteArray out;
    for (const IniSection& section : document.Sections) {
        if (!out.isEmpty())
            out += '\n';
        out += '[' + OneLine(section.Name) + "]\n";
        for (const IniEntry& entry : section.Entries)
            out += OneLine(entry.Key) + '=' + OneLine(entry.Value) + '\n';
    }
    return out;
}

bool ReadIniFile(const QString& fileName, IniDocument* document, QString* error) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(fileName, file.errorString());
        return false;
    }
    if (file.size() > MaxIniFileSize) {
        *error =
            QStringLiteral("%1: the file is too large (%2 bytes)").arg(fileName).arg(file.size());
        return false;
    }
    const QByteArray text = file.read(MaxIniFileSize + 1);
    if (file.error() != QFile::NoError) {
        *error = QStringLiteral("%1: %2").arg(fileName, file.errorString());
        return false;
    }
    int line = 0;
    QString message;
    if (!ParseIni(text, document, &line, &message)) {
        *error = QStringLiteral("%1, line %2: %3").arg(fileName).arg(line).arg(message);
        return false;
    }
    return true;
}

bool WriteIniFileSafely(const QString& fileName, const IniDocument& document, QString* error) {
    const QFileInfo info(fileName);
    if (!QDir().mkpath(info.absolutePath())) {
        *error =
            QStringLiteral("%1: the folder %2 cannot be made").arg(fileName, info.absolutePath());
        return false;
    }
    QSaveFile file(fileName);
    // A file whose folder forbids new files cannot be written safely; fail
    // rather than overwrite it in place.
    file.setDirectWriteFallback(false);
    const QByteArray text = FormatIni(document);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        *error = QStringLiteral("%1: %2").arg(fileName, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace wt
