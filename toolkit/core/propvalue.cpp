#include "toolkit/core/propvalue.h"

#include "toolkit/core/classes.h"
#include "toolkit/graphics/colors.h"
#include "toolkit/core/enums.h"

#include <QStringList>

#include <limits>
#include <type_traits>

namespace wt {
namespace {

bool IsIdent(const TFormValue& v, const char* word) {
    return v.Type == TFormValue::Ident &&
           v.Text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

template <class T>
std::optional<QVariant> IntegerOf(const TFormValue& v, QString& error) {
    if (v.Type != TFormValue::Integer) {
        error = QStringLiteral("integer expected, found %1").arg(v.Describe());
        return std::nullopt;
    }
    if (v.Int < static_cast<qint64>(std::numeric_limits<T>::min()) ||
        (v.Int > 0 &&
         static_cast<quint64>(v.Int) > static_cast<quint64>(std::numeric_limits<T>::max()))) {
        error = QStringLiteral("%1 is out of range").arg(v.Int);
        return std::nullopt;
    }
    return QVariant::fromValue(static_cast<T>(v.Int));
}

bool IsCursor(const QMetaEnum& e) {
    const QMetaEnum cursor = QMetaEnum::fromType<TCursor>();
    return e.enclosingMetaObject() == cursor.enclosingMetaObject() &&
           qstrcmp(e.name(), cursor.name()) == 0;
}

// A number for an enumeration must name one of its values, except for a
// cursor: custom cursors are registered by number, so a cursor takes any
// number its type holds.
std::optional<QVariant> EnumNumberOf(const TPropertyType& type, const TFormValue& v,
                                     QString& error) {
    if (IsCursor(type.Enum)) {
        if (!IntegerOf<std::underlying_type_t<TCursor>>(v, error))
            return std::nullopt;
    } else if (v.Int < std::numeric_limits<int>::min() || v.Int > std::numeric_limits<int>::max() ||
               !type.Enum.valueToKey(static_cast<int>(v.Int))) {
        error =
            QStringLiteral("%1 is not a %2 value").arg(v.Int).arg(QLatin1String(type.Enum.name()));
        return std::nullopt;
    }
    return QVariant(static_cast<int>(v.Int));
}

} // namespace

TPropertyType PropertyTypeOf(const QMetaProperty& property) {
    TPropertyType t;
    t.Type = property.metaType();
    t.IsEnum = property.isEnumType();
    t.IsFlag = property.isFlagType();
    if (t.IsEnum || t.IsFlag)
        t.Enum = property.enumerator();
    t.IsGadget = (t.Type.flags() & QMetaType::IsGadget) != 0;
    const QByteArray name(property.name());
    t.IsColor = t.Type.id() == QMetaType::Int && name.endsWith("Color");
    return t;
}

namespace {

// A set of flags: each member a name of the flag type.
std::optional<QVariant> FlagsOf(const TPropertyType& type, const TFormValue& v, QString& error) {
    if (v.Type != TFormValue::Set) {
        error = QStringLiteral("set expected, found %1").arg(v.Describe());
        return std::nullopt;
    }
    int bits = 0;
    for (const QString& item : v.Items) {
        bool ok = false;
        const int bit = type.Enum.keyToValue(item.toLatin1().constData(), &ok);
        if (!ok) {
            error = QStringLiteral("%1 is not a member of %2")
                        .arg(item, QLatin1String(type.Enum.name()));
            return std::nullopt;
        }
        bits |= bit;
    }
    return QVariant(bits);
}

// An enumeration's value, by name or by number.
std::optional<QVariant> EnumValueOf(const TPropertyType& type, const TFormValue& v,
                                    QString& error) {
    if (v.Type == TFormValue::Integer)
        return EnumNumberOf(type, v, error);
    if (v.Type != TFormValue::Ident) {
        error = QStringLiteral("%1 value expected, found %2")
                    .arg(QLatin1String(type.Enum.name()), v.Describe());
        return std::nullopt;
    }
    bool ok = false;
    const int value = type.Enum.keyToValue(v.Text.toLatin1().constData(), &ok);
    if (!ok) {
        error = QStringLiteral("%1 is not a %2 value").arg(v.Text, QLatin1String(type.Enum.name()));
        return std::nullopt;
    }
    return QVariant(value);
}

// One character: a QChar, or a char of one byte.
std::optional<QVariant> CharacterOf(const TPropertyType& type, const TFormValue& v,
                                    QString& error) {
    if (v.Type != TFormValue::String || v.Text.size() != 1) {
        error = QStringLiteral("one character expected, found %1").arg(v.Describe());
        return std::nullopt;
    }
    if (type.Type.id() != QMetaType::Char)
        return QVariant::fromValue(v.Text[0]);
    if (v.Text[0].unicode() > 0xFF) {
        error = QStringLiteral("character out of range");
        return std::nullopt;
    }
    return QVariant::fromValue(static_cast<char>(v.Text[0].unicode()));
}

} // namespace

std::optional<QVariant> ToVariant(const TPropertyType& type, const TFormValue& v, QString& error) {
    if (const TPropertyCodec* codec = FindPropertyCodec(type.Type)) {
        auto result = codec->Read(v);
        if (!result)
            error = QStringLiteral("%1 does not fit a %2")
                        .arg(v.Describe(), QLatin1String(type.Type.name()));
        return result;
    }
    if (type.IsFlag)
        return FlagsOf(type, v, error);
    if (type.IsEnum)
        return EnumValueOf(type, v, error);
    switch (type.Type.id()) {
    case QMetaType::Bool:
        if (IsIdent(v, "True"))
            return QVariant(true);
        if (IsIdent(v, "False"))
            return QVariant(false);
        error = QStringLiteral("True or False expected, found %1").arg(v.Describe());
        return std::nullopt;
    case QMetaType::Int:
        if (type.IsColor && v.Type == TFormValue::Ident) {
            if (auto color = IdentToColor(v.Text))
                return QVariant(static_cast<int>(*color));
            error = QStringLiteral("%1 is not a colour").arg(v.Text);
            return std::nullopt;
        }
        return IntegerOf<int>(v, error);
    case QMetaType::UInt: return IntegerOf<uint>(v, error);
    case QMetaType::Short: return IntegerOf<short>(v, error);
    case QMetaType::UShort: return IntegerOf<ushort>(v, error);
    case QMetaType::UChar: return IntegerOf<uchar>(v, error);
    case QMetaType::SChar: return IntegerOf<signed char>(v, error);
    case QMetaType::LongLong: return IntegerOf<qlonglong>(v, error);
    case QMetaType::Double:
    case QMetaType::Float:
        if (v.Type == TFormValue::Integer)
            return QVariant(static_cast<double>(v.Int));
        if (v.Type == TFormValue::Float)
            return QVariant(v.Real);
        error = QStringLiteral("number expected, found %1").arg(v.Describe());
        return std::nullopt;
    case QMetaType::QString:
        if (v.Type == TFormValue::String)
            return QVariant(v.Text);
        error = QStringLiteral("string expected, found %1").arg(v.Describe());
        return std::nullopt;
    case QMetaType::QChar:
    case QMetaType::Char: return CharacterOf(type, v, error);
    case QMetaType::QStringList:
        if (v.Type == TFormValue::List)
            return QVariant(v.Items);
        error = QStringLiteral("list of strings expected, found %1").arg(v.Describe());
        return std::nullopt;
    case QMetaType::QByteArray:
        if (v.Type == TFormValue::Binary)
            return QVariant(v.Data);
        error = QStringLiteral("binary data expected, found %1").arg(v.Describe());
        return std::nullopt;
    default:
        error = QStringLiteral("a property of type %1 cannot be set in a form")
                    .arg(QLatin1String(type.Type.name()));
        return std::nullopt;
    }
}

std::optional<TFormValue> ToFormValue(const TPropertyType& type, const QVariant& value) {
    if (const TPropertyCodec* codec = FindPropertyCodec(type.Type))
        return codec->Write(value);
    if (type.IsFlag) {
        const int bits = value.toInt();
        QStringList items;
        for (int i = 0; i < type.Enum.keyCount(); ++i) {
            const int bit = type.Enum.value(i);
            if (bit != 0 && (bits & bit) == bit)
                items << QString::fromLatin1(type.Enum.key(i));
        }
        return TFormValue::MakeSet(items);
    }
    if (type.IsEnum) {
        const int v = value.toInt();
        if (const char* key = type.Enum.valueToKey(v))
            return TFormValue::MakeIdent(QString::fromLatin1(key));
        return TFormValue::MakeInt(v);
    }
    switch (type.Type.id()) {
    case QMetaType::Bool:
        return TFormValue::MakeIdent(value.toBool() ? QStringLiteral("True")
                                                    : QStringLiteral("False"));
    case QMetaType::Int:
        if (type.IsColor) {
            const auto color = static_cast<TColor>(value.toInt());
            if (auto ident = ColorToIdent(color))
                return TFormValue::MakeIdent(*ident);
            TFormValue hex = TFormValue::MakeInt(value.toInt());
            hex.Hex = true;
            return hex;
        }
        return TFormValue::MakeInt(value.toInt());
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::SChar:
    case QMetaType::LongLong: return TFormValue::MakeInt(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: return TFormValue::MakeFloat(value.toDouble());
    case QMetaType::QString: return TFormValue::MakeString(value.toString());
    case QMetaType::QChar: return TFormValue::MakeString(QString(value.value<QChar>()));
    case QMetaType::Char:
        return TFormValue::MakeString(QString(QChar(static_cast<uchar>(value.value<char>()))));
    case QMetaType::QStringList: return TFormValue::MakeList(value.toStringList());
    case QMetaType::QByteArray: return TFormValue::MakeBinary(value.toByteArray());
    default: return std::nullopt;
    }
}

std::optional<TFormValue> ParseValueText(const QString& text) {
    try {
        const TFormObject obj = ParseFormDescription(
            QStringLiteral("object A: B\nV = %1\nend").arg(text), QStringLiteral("default"));
        if (obj.Properties.size() == 1)
            return obj.Properties.front().Value;
    } catch (const EFormError&) {
    }
    return std::nullopt;
}

} // namespace wt
