#include "host/script.h"

#include <QRegularExpression>
#include <QStringList>

#include <optional>

namespace wt {

namespace {

struct Keyword {
    const char* Name;
    ScriptOp Op;
};

constexpr Keyword Keywords[] = {
    {"new-project", ScriptOp::NewProject},
    {"open-project", ScriptOp::OpenProject},
    {"close-project", ScriptOp::CloseProject},
    {"open-desktop", ScriptOp::OpenDesktop},
    {"save-desktop", ScriptOp::SaveDesktop},
    {"menu", ScriptOp::Menu},
    {"move", ScriptOp::Move},
    {"click", ScriptOp::Click},
    {"wait", ScriptOp::Wait},
    {"screenshot", ScriptOp::Screenshot},
    {"rects", ScriptOp::Rects},
    {"echo", ScriptOp::Echo},
    {"type", ScriptOp::Type},
    {"key", ScriptOp::Key},
    {"focus", ScriptOp::Focus},
    {"property", ScriptOp::Property},
    {"click-menu", ScriptOp::ClickMenu},
    {"click-property", ScriptOp::ClickProperty},
    {"click-button", ScriptOp::ClickButton},
    {"control", ScriptOp::Control},
    {"click-control", ScriptOp::ClickControl},
    {"unload", ScriptOp::Unload},
    {"quit", ScriptOp::Quit},
};

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

// Parses one non-empty, non-comment line; returns an error text or "".
QString ParseLine(const QString& line, ScriptCommand* command) {
    const qsizetype space = line.indexOf(QRegularExpression(QStringLiteral("\\s")));
    const QString name = space < 0 ? line : line.left(space);
    const QString rest = space < 0 ? QString() : line.mid(space + 1).trimmed();
    const Keyword* keyword = nullptr;
    for (const Keyword& k : Keywords)
        if (name == QLatin1String(k.Name))
            keyword = &k;
    if (!keyword)
        return QStringLiteral("unknown command \"%1\"").arg(name);
    command->Op = keyword->Op;
    const QStringList words =
        rest.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    switch (keyword->Op) {
    case ScriptOp::CloseProject:
    case ScriptOp::SaveDesktop:
    case ScriptOp::Rects:
    case ScriptOp::Focus:
    case ScriptOp::Unload:
    case ScriptOp::Quit:
        if (!rest.isEmpty())
            return QStringLiteral("\"%1\" takes nothing after it").arg(name);
        return {};
    case ScriptOp::NewProject:
    case ScriptOp::OpenProject:
    case ScriptOp::OpenDesktop:
    case ScriptOp::Screenshot:
        if (rest.isEmpty())
            return QStringLiteral("\"%1\" needs a file name").arg(name);
        command->Text = rest;
        return {};
    case ScriptOp::Menu:
        if (rest.isEmpty())
            return QStringLiteral("\"menu\" needs the text of a menu entry");
        command->Text = rest;
        return {};
    case ScriptOp::Echo: command->Text = rest; return {};
    case ScriptOp::ClickButton:
        if (rest.isEmpty())
            return QStringLiteral("\"click-button\" needs the caption of a button");
        command->Text = rest;
        return {};
    case ScriptOp::Type:
        if (rest.isEmpty() || !TypableText(rest))
            return QStringLiteral("\"type\" needs text of letters, digits and spaces, found \"%1\"")
                .arg(rest);
        command->Text = rest;
        return {};
    case ScriptOp::ClickControl:
        if (words.size() == 3) {
            const auto dx = WholeNumber(words[1], -MaxScriptCoordinate, MaxScriptCoordinate);
            const auto dy = WholeNumber(words[2], -MaxScriptCoordinate, MaxScriptCoordinate);
            if (!dx || !dy)
                return QStringLiteral("\"click-control\" needs a name, then DX and DY if you like, "
                                      "whole numbers from -%1 to %1, found \"%2\"")
                    .arg(MaxScriptCoordinate)
                    .arg(rest);
            command->Text = words[0];
            command->X = *dx;
            command->Y = *dy;
            command->HasPoint = true;
            return {};
        }
        if (words.size() != 1)
            return QStringLiteral("\"click-control\" needs a name, then DX and DY if you like, "
                                  "found \"%1\"")
                .arg(rest);
        command->Text = rest;
        return {};
    case ScriptOp::Key:
    case ScriptOp::Control:
    case ScriptOp::Property:
    case ScriptOp::ClickMenu:
    case ScriptOp::ClickProperty:
        if (words.size() != 1)
            return QStringLiteral("\"%1\" needs one word, found \"%2\"").arg(name, rest);
        command->Text = rest;
        return {};
    case ScriptOp::Wait: {
        const auto ms =
            words.size() == 1 ? WholeNumber(words[0], 0, MaxScriptWaitMs) : std::nullopt;
        if (!ms)
            return QStringLiteral("\"wait\" needs one whole number of milliseconds from 0 to %1, "
                                  "found \"%2\"")
                .arg(MaxScriptWaitMs)
                .arg(rest);
        command->Milliseconds = *ms;
        return {};
    }
    case ScriptOp::Move:
    case ScriptOp::Click: {
        const bool click = keyword->Op == ScriptOp::Click;
        const qsizetype most = click ? 3 : 2;
        const auto x =
            words.size() >= 2 ? WholeNumber(words[0], 0, MaxScriptCoordinate) : std::nullopt;
        const auto y =
            words.size() >= 2 ? WholeNumber(words[1], 0, MaxScriptCoordinate) : std::nullopt;
        if (!x || !y || words.size() > most)
            return QStringLiteral(
                       "\"%1\" needs X and Y, whole numbers from 0 to %2%3, found \"%4\"")
                .arg(name)
                .arg(MaxScriptCoordinate)
                .arg(click ? QStringLiteral(", then left, middle or right if you like") : QString())
                .arg(rest);
        command->X = *x;
        command->Y = *y;
        if (words.size() == 3) {
            const QString button = words[2];
            if (button == QLatin1String("left"))
                command->Button = 1;
            else if (button == QLatin1String("middle"))
                command->Button = 2;
            else if (button == QLatin1String("right"))
                command->Button = 3;
            else
                return QStringLiteral("the button must be left, middle or right, found \"%1\"")
                    .arg(button);
        }
        return {};
    }
    }
    return QStringLiteral("unknown command \"%1\"").arg(name);
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
