#include "host/desktop_file.h"

#include "host/ini_text.h"

namespace wt {

namespace {

const QString MainSection = QStringLiteral("MainWindow");
const QString InspectorSection = QStringLiteral("ObjectInspector");

class ValueReader {
public:
    ValueReader(const QString& fileName, QString* error) : fileName_(fileName), error_(error) {}

    bool Number(const IniSection& section, const char* key, int low, int high, int* result) {
        const IniEntry* entry = section.Find(QString::fromLatin1(key));
        if (!entry)
            return Fail(QStringLiteral("%1: [%2] has no %3").arg(fileName_, section.Name, key));
        bool ok = false;
        const int value = entry->Value.toInt(&ok);
        if (!ok || value < low || value > high)
            return Fail(QStringLiteral("%1, line %2: %3 must be a whole number from %4 to %5, "
                                       "found \"%6\"")
                            .arg(fileName_)
                            .arg(entry->Line)
                            .arg(key)
                            .arg(low)
                            .arg(high)
                            .arg(entry->Value));
        *result = value;
        return true;
    }

    bool Rect(const IniDocument& document, const QString& name, QRect* rect) {
        const IniSection* section = document.Find(name);
        if (!section)
            return Fail(QStringLiteral("%1: the section [%2] is missing").arg(fileName_, name));
        int left = 0, top = 0, width = 0, height = 0;
        if (!Number(*section, "Left", -MaxDesktopCoordinate, MaxDesktopCoordinate, &left) ||
            !Number(*section, "Top", -MaxDesktopCoordinate, MaxDesktopCoordinate, &top) ||
            !Number(*section, "Width", 1, MaxDesktopCoordinate, &width) ||
            !Number(*section, "Height", 1, MaxDesktopCoordinate, &height))
            return false;
        *rect = QRect(left, top, width, height);
        return true;
    }

    bool Fail(const QString& message) {
        *error_ = message;
        return false;
    }

private:
    QString fileName_;
    QString* error_;
};

void PutRect(IniDocument* document, const QString& section, const QRect& rect) {
    document->Set(section, QStringLiteral("Left"), QString::number(rect.left()));
    document->Set(section, QStringLiteral("Top"), QString::number(rect.top()));
    document->Set(section, QStringLiteral("Width"), QString::number(rect.width()));
    document->Set(section, QStringLiteral("Height"), QString::number(rect.height()));
}

} // namespace

bool ReadDesktopFile(const QString& fileName, DesktopLayout* layout, QString* error) {
    IniDocument document;
    if (!ReadIniFile(fileName, &document, error))
        return false;
    ValueReader reader(fileName, error);
    DesktopLayout read;
    if (!reader.Rect(document, MainSection, &read.MainWindow) ||
        !reader.Rect(document, InspectorSection, &read.Inspector))
        return false;
    const IniSection* inspector = document.Find(InspectorSection);
    if (inspector->Find(QStringLiteral("Visible"))) {
        int visible = 1;
        if (!reader.Number(*inspector, "Visible", 0, 1, &visible))
            return false;
        read.InspectorVisible = visible != 0;
    }
    *layout = read;
    return true;
}

bool WriteDesktopFile(const QString& fileName, const DesktopLayout& layout, QString* error) {
    IniDocument document;
    document.Set(QStringLiteral("Desktop"), QStringLiteral("Version"), QStringLiteral("1"));
    PutRect(&document, MainSection, layout.MainWindow);
    PutRect(&document, InspectorSection, layout.Inspector);
    document.Set(InspectorSection, QStringLiteral("Visible"),
                 layout.InspectorVisible ? QStringLiteral("1") : QStringLiteral("0"));
    return WriteIniFileSafely(fileName, document, error);
}

} // namespace wt
