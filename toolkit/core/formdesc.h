// Form descriptions as text: the syntax tree of nested objects with their
// property assignments, the parser (which names file and line on every
// error) and the formatter that writes a tree back as text.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace wt {

// A malformed or unusable form description: names the file, the line and
// what was wrong.
class EFormError : public std::runtime_error {
public:
    EFormError(QString file, int line, QString what);
    const QString& File() const { return file_; }
    int Line() const { return line_; }
    const QString& What() const { return what_; }

private:
    QString file_;
    int line_;
    QString what_;
};

struct TFormValue {
    enum Kind { Integer, Float, String, Ident, Set, List, Binary };
    Kind Type = Integer;
    qint64 Int = 0;
    double Real = 0;
    QString Text;      // String, Ident
    QStringList Items; // Set: identifiers; List: strings
    QByteArray Data;   // Binary
    int Line = 0;
    bool Hex = false; // Integer written as $XXXXXXXX (colours)

    static TFormValue MakeInt(qint64 v) {
        TFormValue x;
        x.Type = Integer;
        x.Int = v;
        return x;
    }
    static TFormValue MakeFloat(double v) {
        TFormValue x;
        x.Type = Float;
        x.Real = v;
        return x;
    }
    static TFormValue MakeString(QString v) {
        TFormValue x;
        x.Type = String;
        x.Text = std::move(v);
        return x;
    }
    static TFormValue MakeIdent(QString v) {
        TFormValue x;
        x.Type = Ident;
        x.Text = std::move(v);
        return x;
    }
    static TFormValue MakeSet(QStringList v) {
        TFormValue x;
        x.Type = Set;
        x.Items = std::move(v);
        return x;
    }
    static TFormValue MakeList(QStringList v) {
        TFormValue x;
        x.Type = List;
        x.Items = std::move(v);
        return x;
    }
    static TFormValue MakeBinary(QByteArray v) {
        TFormValue x;
        x.Type = Binary;
        x.Data = std::move(v);
        return x;
    }
    // Equal in kind and content (lines are not compared; identifiers and set
    // members compare without case, sets in any order).
    bool SameAs(const TFormValue& other) const;
    // How the value reads in an error message.
    QString Describe() const;
};

struct TFormProperty {
    QString Name; // may be dotted: Font.Name
    TFormValue Value;
    int Line = 0;
};

struct TFormObject {
    QString Name;
    QString ClassName;
    int Line = 0;
    std::vector<TFormProperty> Properties;
    std::vector<TFormObject> Children;

    const TFormProperty* FindProperty(const QString& name) const;
    // Equal names, classes, properties (in order) and children, lines aside.
    bool SameAs(const TFormObject& other) const;
};

// Parses one object (with everything nested in it); trailing text is an error.
TFormObject ParseFormDescription(const QString& text, const QString& fileName);
QString FormatFormDescription(const TFormObject& object);
QString FormatValue(const TFormValue& value);

} // namespace wt
