#include "host/script.h"

#include <QRegularExpression>
#include <QStringList>

#include <optional>

namespace wt {

namespace {

std::optional<int> WholeNumber(const QString& word, int low, int high) {
    bool ok = false;
    const int value = word.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

bool TypableText(const QString& text) {
    for (QChar c : text)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != ' ')
            return false;
    return true;
}

// What follows a command's name on its line.
struct Arguments {
    QString Name;      // the command as written
    QString Rest;      // everything after it, trimmed
    QStringList Words; // Rest split at white space
};

// Each reads a command's arguments into command; an error text or "".
using ArgumentParser = QString (*)(const Arguments& a, ScriptCommand* command);

QString Nothing(const Arguments& a, ScriptCommand*) {
    if (!a.Rest.isEmpty())
        return QStringLiteral("\"%1\" takes nothing after it").arg(a.Name);
    return {};
}

// The rest of the line as the command's text, which must not be empty;
// what names what is missing ("a file name").
QString NeededText(const Arguments& a, ScriptCommand* command, const char* what) {
    if (a.Rest.isEmpty())
        return QStringLiteral("\"%1\" needs %2").arg(a.Name, QLatin1String(what));
    command->Text = a.Rest;
    return {};
}

QString FileName(const Arguments& a, ScriptCommand* command) {
    return NeededText(a, command, "a file name");
}

QString MenuText(const Arguments& a, ScriptCommand* command) {
    return NeededText(a, command, "the text of a menu entry");
}

QString ButtonCaption(const Arguments& a, ScriptCommand* command) {
    return NeededText(a, command, "the caption of a button");
}

QString AnyText(const Arguments& a, ScriptCommand* command) {
    command->Text = a.Rest;
    return {};
}

QString TypedText(const Arguments& a, ScriptCommand* command) {
    if (a.Rest.isEmpty() || !TypableText(a.Rest))
        return QStringLiteral("\"type\" needs text of letters, digits and spaces, found \"%1\"")
            .arg(a.Rest);
    command->Text = a.Rest;
    return {};
}

// A control's name, then an offset from its middle if you like.
QString ControlAndOffset(const Arguments& a, ScriptCommand* command) {
    if (a.Words.size() == 3) {
        const auto dx = WholeNumber(a.Words[1], -MaxScriptCoordinate, MaxScriptCoordinate);
        const auto dy = WholeNumber(a.Words[2], -MaxScriptCoordinate, MaxScriptCoordinate);
        if (!dx || !dy)
            return QStringLiteral("\"click-control\" needs a name, then DX and DY if you like, "
                                  "whole numbers from -%1 to %1, found \"%2\"")
                .arg(MaxScriptCoordinate)
                .arg(a.Rest);
        command->Text = a.Words[0];
        command->X = *dx;
        command->Y = *dy;
        command->HasPoint = true;
        return {};
    }
    if (a.Words.size() != 1)
        return QStringLiteral("\"click-control\" needs a name, then DX and DY if you like, "
                              "found \"%1\"")
            .arg(a.Rest);
    command->Text = a.Rest;
    return {};
}

QString OneWord(const Arguments& a, ScriptCommand* command) {
    if (a.Words.size() != 1)
        return QStringLiteral("\"%1\" needs one word, found \"%2\"").arg(a.Name, a.Rest);
    command->Text = a.Rest;
    return {};
}

QString Milliseconds(const Arguments& a, ScriptCommand* command) {
    const auto ms =
        a.Words.size() == 1 ? WholeNumber(a.Words[0], 0, MaxScriptWaitMs) : std::nullopt;
    if (!ms)
        return QStringLiteral("\"wait\" needs one whole number of milliseconds from 0 to %1, "
                              "found \"%2\"")
            .arg(MaxScriptWaitMs)
            .arg(a.Rest);
    command->Milliseconds = *ms;
    return {};
}

// X and Y; for a click, then the button if you like.
QString Point(const Arguments& a, ScriptCommand* command) {
    const bool click = command->Op == ScriptOp::Click;
    const qsizetype most = click ? 3 : 2;
    const QStringList& words = a.Words;
    const auto x = words.size() >= 2 ? WholeNumber(words[0], 0, MaxScriptCoordinate) : std::nullopt;
    const auto y = words.size() >= 2 ? WholeNumber(words[1], 0, MaxScriptCoordinate) : std::nullopt;
    if (!x || !y || words.size() > most)
        return QStringLiteral("\"%1\" needs X and Y, whole numbers from 0 to %2%3, found \"%4\"")
            .arg(a.Name)
            .arg(MaxScriptCoordinate)
            .arg(click ? QStringLiteral(", then left, middle or right if you like") : QString())
            .arg(a.Rest);
    command->X = *x;
    command->Y = *y;
    if (words.size() < 3)
        return {};
    const QString& button = words[2];
    if (button == QLatin1String("left"))
        command->Button = 1;
    else if (button == QLatin1String("middle"))
        command->Button = 2;
    else if (button == QLatin1String("right"))
        command->Button = 3;
    else
        return QStringLiteral("the button must be left, middle or right, found \"%1\"").arg(button);
    return {};
}

struct Keyword {
    const char* Name;
    ScriptOp Op;
    ArgumentParser Parse;
};

constexpr Keyword Keywords[] = {
    {"new-project", ScriptOp::NewProject, FileName},
    {"open-project", ScriptOp::OpenProject, FileName},
    {"close-project", ScriptOp::CloseProject, Nothing},
    {"open-desktop", ScriptOp::OpenDesktop, FileName},
    {"save-desktop", ScriptOp::SaveDesktop, Nothing},
    {"menu", ScriptOp::Menu, MenuText},
    {"move", ScriptOp::Move, Point},
    {"click", ScriptOp::Click, Point},
    {"wait", ScriptOp::Wait, Milliseconds},
    {"screenshot", ScriptOp::Screenshot, FileName},
    {"rects", ScriptOp::Rects, Nothing},
    {"echo", ScriptOp::Echo, AnyText},
    {"type", ScriptOp::Type, TypedText},
    {"key", ScriptOp::Key, OneWord},
    {"focus", ScriptOp::Focus, Nothing},
    {"property", ScriptOp::Property, OneWord},
    {"click-menu", ScriptOp::ClickMenu, OneWord},
    {"click-property", ScriptOp::ClickProperty, OneWord},
    {"click-button", ScriptOp::ClickButton, ButtonCaption},
    {"control", ScriptOp::Control, OneWord},
    {"click-control", ScriptOp::ClickControl, ControlAndOffset},
    {"unload", ScriptOp::Unload, Nothing},
    {"quit", ScriptOp::Quit, Nothing},
};

// Parses one non-empty, non-comment line; returns an error text or "".
QString ParseLine(const QString& line, ScriptCommand* command) {
    const qsizetype space = line.indexOf(QRegularExpression(QStringLiteral("\\s")));
    Arguments arguments;
    arguments.Name = space < 0 ? line : line.left(space);
    arguments.Rest = space < 0 ? QString() : line.mid(space + 1).trimmed();
    arguments.Words =
        arguments.Rest.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (const Keyword& keyword : Keywords) {
        if (arguments.Name == QLatin1String(keyword.Name)) {
            command->Op = keyword.Op;
            return keyword.Parse(arguments, command);
        }
    }
    return QStringLiteral("unknown command \"%1\"").arg(arguments.Name);
}

} // namespace

ScriptParse ParseScript(const QByteArray& text) {
    ScriptParse parse;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        QByteArray raw = lines[i];
        auto fail = [&](const QString& message) {
            parse.Commands.clear();
            parse.ErrorLine = lineNumber;
            parse.Error = message;
            return parse;
        };
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (raw.size() > MaxScriptLineLength)
            return fail(
                QStringLiteral("the line is longer than %1 bytes").arg(MaxScriptLineLength));
        if (raw.contains('\0'))
            return fail(QStringLiteral("the line contains a NUL byte"));
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        ScriptCommand command;
        command.Op = ScriptOp::Quit;
        command.Line = lineNumber;
        const QString error = ParseLine(line, &command);
        if (!error.isEmpty())
            return fail(error);
        parse.Commands.push_back(command);
    }
    return parse;
}

} // namespace wt
