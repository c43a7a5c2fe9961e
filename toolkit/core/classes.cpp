#include "toolkit/core/classes.h"

#include "toolkit/core/component.h"

#include <QMetaObject>

#include <map>
#include <memory>

namespace wt {
namespace {

// Function-local, so registrations during static start-up find it built.
std::map<QString, TClassInfo>& Classes() {
    static std::map<QString, TClassInfo> classes;
    return classes;
}

std::map<int, TPropertyCodec>& Codecs() {
    static std::map<int, TPropertyCodec> codecs;
    return codecs;
}

} // namespace

void RegisterClassInfo(TClassInfo info) {
    const QString key = info.Name.toLower();
    Classes()[key] = std::move(info);
}

const TClassInfo* FindClassInfo(const QString& name) {
    auto it = Classes().find(name.toLower());
    return it == Classes().end() ? nullptr : &it->second;
}

std::vector<const TClassInfo*> RegisteredClasses() {
    std::vector<const TClassInfo*> out;
    for (const auto& [key, info] : Classes())
        out.push_back(&info);
    return out;
}

QString ClassNameOf(const QMetaObject* metaObject) {
    QString name = QString::fromLatin1(metaObject->className());
    const qsizetype colons = name.lastIndexOf(QStringLiteral("::"));
    return colons < 0 ? name : name.mid(colons + 2);
}

QString ClassNameOf(const TComponent* component) { return ClassNameOf(component->metaObject()); }

void RegisterPropertyCodec(QMetaType type, TPropertyCodec codec) {
    Codecs()[type.id()] = std::move(codec);
}

const TPropertyCodec* FindPropertyCodec(QMetaType type) {
    auto it = Codecs().find(type.id());
    return it == Codecs().end() ? nullptr : &it->second;
}

} // namespace wt
