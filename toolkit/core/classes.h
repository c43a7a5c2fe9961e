// The class registry by name, through which form descriptions create their
// components, and the conversions of property types the property system does
// not know by itself (bitmaps, say) to and from form-description values.
#pragma once

#include "toolkit/core/formdesc.h"

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

struct QMetaObject;

namespace wt {

class TComponent;

struct TClassInfo {
    QString Name; // without namespace: "TButton"
    const QMetaObject* MetaObject = nullptr;
    std::function<TComponent*(TComponent* owner)> Create;
};

void RegisterClassInfo(TClassInfo info);
// nullptr when no class of that name (compared without case) is registered.
const TClassInfo* FindClassInfo(const QString& name);
std::vector<const TClassInfo*> RegisteredClasses();
// The class name a component is written under: its meta-object's class name
// without namespace.
QString ClassNameOf(const TComponent* component);
QString ClassNameOf(const QMetaObject* metaObject);

template <class T>
bool RegisterClass() {
    RegisterClassInfo({ClassNameOf(&T::staticMetaObject), &T::staticMetaObject,
                       [](TComponent* owner) -> TComponent* { return new T(owner); }});
    return true;
}

// Registers a class when its header is included anywhere in the program.
// Use at namespace scope after the class.
#define WT_REGISTER_CLASS(T) inline const bool T##_registered_ = ::wt::RegisterClass<T>()

// A property type with its own form-description spelling. Read returns
// nothing when the value does not fit (the reader then reports the line).
struct TPropertyCodec {
    std::function<std::optional<QVariant>(const TFormValue&)> Read;
    std::function<TFormValue(const QVariant&)> Write;
};
void RegisterPropertyCodec(QMetaType type, TPropertyCodec codec);
const TPropertyCodec* FindPropertyCodec(QMetaType type);

} // namespace wt
