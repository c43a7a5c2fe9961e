// Conversions between form-description values and the values of published
// properties: numbers, booleans, strings, string lists, enumerations and sets
// by name, colours by name or number, and types with a registered codec.
#pragma once

#include "toolkit/core/formdesc.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QMetaType>
#include <QVariant>

#include <optional>

namespace wt {

struct TPropertyType {
    QMetaType Type;
    QMetaEnum Enum; // valid for enumerations and sets
    bool IsEnum = false;
    bool IsFlag = false;
    bool IsColor = false; // an integer whose values are spelled as colours
    bool IsGadget = false;
};

TPropertyType PropertyTypeOf(const QMetaProperty& property);

// The variant to assign for value; nothing (and a reason) when it does not fit.
std::optional<QVariant> ToVariant(const TPropertyType& type, const TFormValue& value,
                                  QString& error);
// How a property value is written; nothing for a type without a spelling.
std::optional<TFormValue> ToFormValue(const TPropertyType& type, const QVariant& value);
// Parses a single value as it stands on the right of '=' (declared defaults).
std::optional<TFormValue> ParseValueText(const QString& text);

} // namespace wt
