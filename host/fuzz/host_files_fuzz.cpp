// hostide's project and desktop file readers on random files: each reads
// the file or says why not, naming the file; a desktop that was read is
// written and reads back the same; INI text that parses is formatted and
// parses again to the same sections, keys and values.
#include "fuzz/fuzz_support.h"

#include "host/desktop_file.h"
#include "host/ini_text.h"
#include "host/project_file.h"

#include <QByteArray>
#include <QFile>

namespace wt::fuzz {
namespace {

// Formatting puts a value on one line: a carriage return inside becomes a blank.
QString Flat(QString text) { return text.replace(QLatin1Char('\r'), QLatin1Char(' ')); }

void CheckIniRoundTrip(const QByteArray& text) {
    IniDocument document;
    int line = 0;
    QString error;
    if (!ParseIni(text, &document, &line, &error)) {
        Check(!error.isEmpty() && line >= 1, "a parse failure names no line or reason");
        return;
    }
    IniDocument again;
    Check(ParseIni(FormatIni(document), &again, &line, &error),
          "formatted INI text does not parse: " + error.toStdString());
    Check(again.Sections.size() == document.Sections.size(), "formatting changed the sections");
    for (qsizetype s = 0; s < document.Sections.size(); ++s) {
        const IniSection& a = document.Sections[s];
        const IniSection& b = again.Sections[s];
        Check(Flat(a.Name).trimmed() == b.Name && a.Entries.size() == b.Entries.size(),
              "formatting changed a section");
        for (qsizetype e = 0; e < a.Entries.size(); ++e)
            Check(Flat(a.Entries[e].Key).trimmed() == b.Entries[e].Key &&
                      Flat(a.Entries[e].Value).trimmed() == b.Entries[e].Value,
                  "formatting changed an entry");
    }
}

} // namespace
} // namespace wt::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wt;
    using fuzz::Check;
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    fuzz::CheckIniRoundTrip(text);

    const QString dir = QString::fromStdString(fuzz::WorkDirectory());
    const QString file = dir + QStringLiteral("/Project1.dpr");
    {
        QFile out(file);
        Check(out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                  out.write(text) == text.size(),
              "the input file could not be written");
    }
    ProjectInfo project;
    QString error;
    if (ReadProjectFile(file, &project, &error))
        Check(project.FileName == file && !project.Name.isEmpty(), "a project read without a name");
    else
        Check(error.startsWith(file), "a project file's error does not name the file");

    DesktopLayout layout;
    error.clear();
    if (!ReadDesktopFile(file, &layout, &error)) {
        Check(error.startsWith(file), "a desktop file's error does not name the file");
        return 0;
    }
    for (const QRect& r : {layout.MainWindow, layout.Inspector})
        Check(r.width() >= 1 && r.height() >= 1 && r.left() >= -MaxDesktopCoordinate &&
                  r.left() <= MaxDesktopCoordinate && r.top() >= -MaxDesktopCoordinate &&
                  r.top() <= MaxDesktopCoordinate,
              "a desktop read with a rectangle out of range");
    const QString copy = dir + QStringLiteral("/Project1.dsk");
    Check(WriteDesktopFile(copy, layout, &error), "a desktop read cannot be written");
    DesktopLayout back;
    Check(ReadDesktopFile(copy, &back, &error),
          "a desktop written does not read: " + error.toStdString());
    Check(back == layout, "a desktop written reads back otherwise");
    return 0;
}
