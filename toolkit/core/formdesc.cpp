#include "toolkit/core/formdesc.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace wt {
namespace {

struct Token {
    enum Kind { End, Name, Integer, Float, String, Symbol, Binary };
    Kind Type = End;
    QString Text; // Name, String, Symbol
    qint64 Int = 0;
    double Real = 0;
    QByteArray Data;
    int Line = 1;
};

bool IsNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool IsNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

class Lexer {
public:
    Lexer(const QString& text, const QString& file) : text_(text), file_(file) {}

    Token Next() {
        SkipSpace();
        Token t;
        t.Line = line_;
        if (pos_ >= text_.size())
            return t;
        const QChar c = text_[pos_];
        if (IsNameStart(c)) {
            const qsizetype start = pos_;
            while (pos_ < text_.size() && IsNameChar(text_[pos_]))
                ++pos_;
            t.Type = Token::Name;
            t.Text = text_.mid(start, pos_ - start);
            return t;
        }
        if (c.isDigit() || c == u'$' ||
            ((c == u'-' || c == u'+') && pos_ + 1 < text_.size() &&
             (text_[pos_ + 1].isDigit() || text_[pos_ + 1] == u'$')))
            return Number(t);
        if (c == u'\'' || c == u'#')
            return StringToken(t);
        if (c == u'{')
            return BinaryToken(t);
        if (QStringLiteral("=:.,[]()+").contains(c)) {
            ++pos_;
            t.Type = Token::Symbol;
            t.Text = c;
            return t;
        }
        throw EFormError(file_, line_, QStringLiteral("unexpected character '%1'").arg(c));
    }

private:
    void SkipSpace() {
        while (pos_ < text_.size()) {
            const QChar c = text_[pos_];
            if (c == u'\n') {
                ++line_;
                ++pos_;
            } else if (c.isSpace()) {
                ++pos_;
            } else if (c == u'/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == u'/') {
                while (pos_ < text_.size() && text_[pos_] != u'\n')
                    ++pos_;
            } else {
                break;
            }
        }
    }

    Token Number(Token& t) {
        bool negative = false;
        if (text_[pos_] == u'-' || text_[pos_] == u'+') {
            negative = text_[pos_] == u'-';
            ++pos_;
        }
        if (text_[pos_] == u'$') {
            ++pos_;
            const qsizetype start = pos_;
            quint64 value = 0;
            while (pos_ < text_.size() && HexDigit(text_[pos_]) >= 0) {
                value = value * 16 + static_cast<quint64>(HexDigit(text_[pos_]));
                ++pos_;
                if (pos_ - start > 16)
                    throw EFormError(file_, line_, QStringLiteral("hexadecimal number too long"));
            }
            if (pos_ == start)
                throw EFormError(file_, line_,
                                 QStringLiteral("hexadecimal digits expected after '$'"));
            if (pos_ < text_.size() && IsNameChar(text_[pos_]))
                throw EFormError(file_, line_, QStringLiteral("malformed number"));
            // Hexadecimal values of up to eight digits are 32-bit patterns
            // ($80000005 is a system colour, a negative number), longer ones
            // 64-bit patterns.
            const qint64 v = pos_ - start <= 8 ? static_cast<qint64>(static_cast<qint32>(value))
                                               : static_cast<qint64>(value);
            if (negative && v == std::numeric_limits<qint64>::min())
                throw EFormError(
                    file_, line_,
                    QStringLiteral("number -$%1 out of range").arg(text_.mid(start, pos_ - start)));
            t.Type = Token::Integer;
            t.Int = negative ? -v : v;
            return t;
        }
        const qsizetype start = pos_;
        bool isFloat = false;
        while (pos_ < text_.size() && text_[pos_].isDigit())
            ++pos_;
        if (pos_ + 1 < text_.size() && text_[pos_] == u'.' && text_[pos_ + 1].isDigit()) {
            isFloat = true;
            ++pos_;
            while (pos_ < text_.size() && text_[pos_].isDigit())
                ++pos_;
        }
        if (pos_ < text_.size() && (text_[pos_] == u'e' || text_[pos_] == u'E')) {
            qsizetype p = pos_ + 1;
            if (p < text_.size() && (text_[p] == u'-' || text_[p] == u'+'))
                ++p;
            if (p < text_.size() && text_[p].isDigit()) {
                isFloat = true;
                pos_ = p;
                while (pos_ < text_.size() && text_[pos_].isDigit())
                    ++pos_;
            }
        }
        // The sign is read with the digits: the lowest 64-bit number has no
        // positive counterpart.
        const QString digits =
            (negative ? QStringLiteral("-") : QString()) + text_.mid(start, pos_ - start);
        bool ok = false;
        if (isFloat) {
            t.Type = Token::Float;
            t.Real = digits.toDouble(&ok);
        } else {
            t.Type = Token::Integer;
            t.Int = digits.toLongLong(&ok);
        }
        if (!ok)
            throw EFormError(file_, line_, QStringLiteral("number %1 out of range").arg(digits));
        if (pos_ < text_.size() && IsNameChar(text_[pos_]))
            throw EFormError(file_, line_, QStringLiteral("malformed number"));
        return t;
    }

    // 'quoted' and #code parts, joined without space: 'a'#13#10'b'.
    Token StringToken(Token& t) {
        t.Type = Token::String;
        while (pos_ < text_.size()) {
            const QChar c = text_[pos_];
            if (c == u'\'') {
                ++pos_;
                for (;;) {
                    if (pos_ >= text_.size() || text_[pos_] == u'\n')
                        throw EFormError(file_, t.Line, QStringLiteral("unterminated string"));
                    if (text_[pos_] == u'\'') {
                        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == u'\'') {
                            t.Text += u'\'';
                            pos_ += 2;
                            continue;
                        }
                        ++pos_;
                        break;
                    }
                    t.Text += text_[pos_++];
                }
            } else if (c == u'#') {
                ++pos_;
                const qsizetype start = pos_;
                uint code = 0;
                while (pos_ < text_.size() && text_[pos_].isDigit()) {
                    code = code * 10 + static_cast<uint>(text_[pos_].digitValue());
                    ++pos_;
                    if (code > 0xFFFF)
                        throw EFormError(file_, line_, QStringLiteral("character code too large"));
                }
                if (pos_ == start)
                    throw EFormError(file_, line_,
                                     QStringLiteral("character code expected after '#'"));
                t.Text += QChar(static_cast<char16_t>(code));
            } else {
                break;
            }
        }
        return t;
    }

    Token BinaryToken(Token& t) {
        t.Type = Token::Binary;
        ++pos_;
        int high = -1;
        for (;;) {
            if (pos_ >= text_.size())
                throw EFormError(file_, t.Line, QStringLiteral("unterminated binary data"));
            const QChar c = text_[pos_++];
            if (c == u'}')
                break;
            if (c == u'\n') {
                ++line_;
                continue;
            }
            if (c.isSpace())
                continue;
            const int d = HexDigit(c);
            if (d < 0)
                throw EFormError(file_, line_,
                                 QStringLiteral("invalid character '%1' in binary data").arg(c));
            if (high < 0) {
                high = d;
            } else {
                t.Data.append(static_cast<char>(high * 16 + d));
                high = -1;
            }
        }
        if (high >= 0)
            throw EFormError(file_, line_,
                             QStringLiteral("odd number of hexadecimal digits in binary data"));
        return t;
    }

    const QString& text_;
    const QString& file_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

class Parser {
public:
    Parser(const QString& text, const QString& file) : lexer_(text, file), file_(file) {
        Advance();
    }

    TFormObject ParseDocument() {
        if (tok_.Type == Token::End)
            Fail(QStringLiteral("empty form description"));
        TFormObject root = ParseObject(0);
        if (tok_.Type != Token::End)
            Fail(QStringLiteral("text after the end of the form: %1").arg(Spell(tok_)));
        return root;
    }

private:
    static constexpr int kMaxDepth = 64;

    void Advance() { tok_ = lexer_.Next(); }
    [[noreturn]] void Fail(const QString& what) const { throw EFormError(file_, tok_.Line, what); }

    static QString Spell(const Token& t) {
        switch (t.Type) {
        case Token::End: return QStringLiteral("end of file");
        case Token::Name: return QStringLiteral("'%1'").arg(t.Text);
        case Token::Integer: return QString::number(t.Int);
        case Token::Float: return QString::number(t.Real);
        case Token::String: return QStringLiteral("a string");
        case Token::Symbol: return QStringLiteral("'%1'").arg(t.Text);
        case Token::Binary: return QStringLiteral("binary data");
        }
        return {};
    }
    bool IsKeyword(const char* word) const {
        return tok_.Type == Token::Name &&
               tok_.Text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool IsSymbol(char16_t c) const { return tok_.Type == Token::Symbol && tok_.Text == QChar(c); }
    void Expect(char16_t c, const QString& context) {
        if (!IsSymbol(c))
            Fail(QStringLiteral("'%1' expected %2, found %3")
                     .arg(QChar(c))
                     .arg(context, Spell(tok_)));
        Advance();
    }
    QString ExpectName(const QString& what) {
        if (tok_.Type != Token::Name)
            Fail(QStringLiteral("%1 expected, found %2").arg(what, Spell(tok_)));
        QString name = tok_.Text;
        Advance();
        return name;
    }

    TFormObject ParseObject(int depth) {
        if (depth > kMaxDepth)
            Fail(QStringLiteral("objects nested too deeply"));
        if (!IsKeyword("object"))
            Fail(QStringLiteral("'object' expected, found %1").arg(Spell(tok_)));
        TFormObject obj;
        obj.Line = tok_.Line;
        Advance();
        obj.Name = ExpectName(QStringLiteral("component name"));
        Expect(u':', QStringLiteral("after the component name"));
        obj.ClassName = ExpectName(QStringLiteral("class name"));
        for (;;) {
            if (tok_.Type == Token::End)
                Fail(QStringLiteral("'end' of object %1 missing").arg(obj.Name));
            if (IsKeyword("end")) {
                Advance();
                return obj;
            }
            if (IsKeyword("object")) {
                obj.Children.push_back(ParseObject(depth + 1));
                continue;
            }
            obj.Properties.push_back(ParseProperty());
        }
    }

    TFormProperty ParseProperty() {
        TFormProperty prop;
        prop.Line = tok_.Line;
        prop.Name = ExpectName(QStringLiteral("property name"));
        while (IsSymbol(u'.')) {
            Advance();
            prop.Name += u'.';
            prop.Name += ExpectName(QStringLiteral("property name after '.'"));
        }
        Expect(u'=', QStringLiteral("after property %1").arg(prop.Name));
        prop.Value = ParseValue();
        return prop;
    }

    TFormValue ParseValue() {
        TFormValue v;
        const int line = tok_.Line;
        switch (tok_.Type) {
        case Token::Integer:
            v = TFormValue::MakeInt(tok_.Int);
            Advance();
            break;
        case Token::Float:
            v = TFormValue::MakeFloat(tok_.Real);
            Advance();
            break;
        case Token::Name:
            if (IsKeyword("end") || IsKeyword("object"))
                Fail(QStringLiteral("value expected, found %1").arg(Spell(tok_)));
            v = TFormValue::MakeIdent(tok_.Text);
            Advance();
            break;
        case Token::Binary:
            v = TFormValue::MakeBinary(tok_.Data);
            Advance();
            break;
        case Token::String: {
            QString s = tok_.Text;
            Advance();
            while (IsSymbol(u'+')) {
                Advance();
                if (tok_.Type != Token::String)
                    Fail(QStringLiteral("string expected after '+', found %1").arg(Spell(tok_)));
                s += tok_.Text;
                Advance();
            }
            v = TFormValue::MakeString(s);
            break;
        }
        case Token::Symbol:
            if (IsSymbol(u'[')) {
                Advance();
                QStringList items;
                while (!IsSymbol(u']')) {
                    if (!items.isEmpty())
                        Expect(u',', QStringLiteral("between set members"));
                    items << ExpectName(QStringLiteral("set member"));
                }
                Advance();
                v = TFormValue::MakeSet(items);
            } else if (IsSymbol(u'(')) {
                Advance();
                QStringList items;
                while (!IsSymbol(u')')) {
                    if (tok_.Type == Token::String) {
                        QString s = tok_.Text;
                        Advance();
                        while (IsSymbol(u'+')) {
                            Advance();
                            if (tok_.Type != Token::String)
                                Fail(QStringLiteral("string expected after '+', found %1")
                                         .arg(Spell(tok_)));
                            s += tok_.Text;
                            Advance();
                        }
                        items << s;
                    } else {
                        Fail(QStringLiteral("string or ')' expected in list, found %1")
                                 .arg(Spell(tok_)));
                    }
                }
                Advance();
                v = TFormValue::MakeList(items);
            } else {
                Fail(QStringLiteral("value expected, found %1").arg(Spell(tok_)));
            }
            break;
        case Token::End: Fail(QStringLiteral("value expected, found end of file"));
        }
        v.Line = line;
        return v;
    }

    Lexer lexer_;
    const QString& file_;
    Token tok_;
};

QString QuoteString(const QString& s) {
    if (s.isEmpty())
        return QStringLiteral("''");
    QString out;
    bool inQuotes = false;
    for (QChar c : s) {
        if (c.unicode() < 32) {
            if (inQuotes) {
                out += u'\'';
                inQuotes = false;
            }
            out += u'#';
            out += QString::number(c.unicode());
        } else {
            if (!inQuotes) {
                out += u'\'';
                inQuotes = true;
            }
            if (c == u'\'')
                out += u'\'';
            out += c;
        }
    }
    if (inQuotes)
        out += u'\'';
    return out;
}

void FormatObject(const TFormObject& obj, int depth, QString& out) {
    const QString indent(depth * 2, u' ');
    out += indent + QStringLiteral("object ") + obj.Name + QStringLiteral(": ") + obj.ClassName +
           u'\n';
    const QString inner = indent + QStringLiteral("  ");
    for (const TFormProperty& p : obj.Properties) {
        QString value = FormatValue(p.Value);
        value.replace(u'\n', u'\n' + inner + QStringLiteral("  "));
        out += inner + p.Name + QStringLiteral(" = ") + value + u'\n';
    }
    for (const TFormObject& child : obj.Children)
        FormatObject(child, depth + 1, out);
    out += indent + QStringLiteral("end\n");
}

} // namespace

EFormError::EFormError(QString file, int line, QString what)
    : std::runtime_error(QStringLiteral("%1(%2): %3").arg(file).arg(line).arg(what).toStdString()),
      file_(std::move(file)), line_(line), what_(std::move(what)) {}

bool TFormValue::SameAs(const TFormValue& other) const {
    if (Type != other.Type)
        return false;
    switch (Type) {
    case Integer: return Int == other.Int;
    case Float: return Real == other.Real;
    case String: return Text == other.Text;
    case Ident: return Text.compare(other.Text, Qt::CaseInsensitive) == 0;
    case Set: {
        auto norm = [](QStringList l) {
            for (QString& s : l)
                s = s.toLower();
            l.sort();
            l.removeDuplicates();
            return l;
        };
        return norm(Items) == norm(other.Items);
    }
    case List: return Items == other.Items;
    case Binary: return Data == other.Data;
    }
    return false;
}

QString TFormValue::Describe() const {
    switch (Type) {
    case Binary: return QStringLiteral("binary data");
    case List: return QStringLiteral("a list");
    default: return FormatValue(*this);
    }
}

const TFormProperty* TFormObject::FindProperty(const QString& name) const {
    for (const TFormProperty& p : Properties)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

bool TFormObject::SameAs(const TFormObject& other) const {
    if (Name.compare(other.Name, Qt::CaseInsensitive) != 0 ||
        ClassName.compare(other.ClassName, Qt::CaseInsensitive) != 0 ||
        Properties.size() != other.Properties.size() || Children.size() != other.Children.size())
        return false;
    for (std::size_t i = 0; i < Properties.size(); ++i)
        if (Properties[i].Name.compare(other.Properties[i].Name, Qt::CaseInsensitive) != 0 ||
            !Properties[i].Value.SameAs(other.Properties[i].Value))
            return false;
    for (std::size_t i = 0; i < Children.size(); ++i)
        if (!Children[i].SameAs(other.Children[i]))
            return false;
    return true;
}

TFormObject ParseFormDescription(const QString& text, const QString& fileName) {
    Parser parser(text, fileName);
    return parser.ParseDocument();
}

QString FormatValue(const TFormValue& v) {
    switch (v.Type) {
    case TFormValue::Integer:
        if (v.Hex) {
            // Eight digits read back as a 32-bit pattern; anything outside
            // that range needs all sixteen.
            if (v.Int >= std::numeric_limits<qint32>::min() &&
                v.Int <= std::numeric_limits<qint32>::max())
                return QStringLiteral("$%1")
                    .arg(static_cast<quint32>(v.Int), 8, 16, QLatin1Char('0'))
                    .toUpper();
            return QStringLiteral("$%1")
                .arg(static_cast<quint64>(v.Int), 16, 16, QLatin1Char('0'))
                .toUpper();
        }
        return QString::number(v.Int);
    case TFormValue::Float: {
        QString s = QString::number(v.Real, 'g', QLocale::FloatingPointShortest);
        if (!s.contains(u'.') && !s.contains(u'e') && std::isfinite(v.Real))
            s += QStringLiteral(".0");
        return s;
    }
    case TFormValue::String: return QuoteString(v.Text);
    case TFormValue::Ident: return v.Text;
    case TFormValue::Set: return u'[' + v.Items.join(QStringLiteral(", ")) + u']';
    case TFormValue::List: {
        QString out = QStringLiteral("(");
        for (const QString& item : v.Items)
            out += u'\n' + QuoteString(item);
        return out + u')';
    }
    case TFormValue::Binary: {
        const QByteArray hex = v.Data.toHex().toUpper();
        QString out = QStringLiteral("{");
        for (qsizetype i = 0; i < hex.size(); i += 64)
            out += u'\n' + QString::fromLatin1(hex.mid(i, 64));
        return out + u'}';
    }
    }
    return {};
}

QString FormatFormDescription(const TFormObject& object) {
    QString out;
    FormatObject(object, 0, out);
    return out;
}

} // namespace wt
