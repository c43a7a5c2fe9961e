#include "toolkit/core/writer.h"

#include "toolkit/core/classes.h"
#include "toolkit/core/component.h"
#include "toolkit/core/event.h"
#include "toolkit/core/propvalue.h"

#include <QMetaClassInfo>
#include <QMetaObject>
#include <QMetaProperty>

namespace wt {
namespace {

bool EqualsDeclaredDefault(const TComponent* c, const QMetaProperty& prop,
                           const TPropertyType& type, const TFormValue& value) {
    const QString text = DeclaredDefault(c, prop.name());
    if (text.isNull())
        return false;
    const auto parsed = ParseValueText(text);
    if (!parsed)
        return false;
    // Spell the default as the value would be spelled, so that "[fsBold]"
    // and a colour given by number compare by meaning.
    QString error;
    const auto variant = ToVariant(type, *parsed, error);
    if (!variant)
        return false;
    const auto normal = ToFormValue(type, *variant);
    return normal && normal->SameAs(value);
}

TFormObject WriteObject(TComponent* c, TComponent* root) {
    TFormObject obj;
    obj.Name = c->Name();
    obj.ClassName = ClassNameOf(c);
    const QMetaObject* meta = c->metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty prop = meta->property(i);
        if (!prop.isStored() || !prop.isWritable() || !c->IsPropertyStored(prop.name()))
            continue;
        // A class that declares a property again (a form's Width) hides the
        // declaration of its base.
        if (meta->indexOfProperty(prop.name()) != i)
            continue;
        const TPropertyType type = PropertyTypeOf(prop);
        const QVariant value = prop.read(c);
        const QString name = QString::fromLatin1(prop.name());
        if (type.Type.flags() & QMetaType::PointerToQObject) {
            auto* target = qobject_cast<TComponent*>(value.value<QObject*>());
            if (target && target != c && !target->Name().isEmpty())
                obj.Properties.push_back({name, TFormValue::MakeIdent(target->Name()), 0});
            continue;
        }
        if (type.IsGadget && !FindPropertyCodec(type.Type)) {
            const QMetaObject* gadget = type.Type.metaObject();
            if (!gadget)
                continue;
            for (int j = 0; j < gadget->propertyCount(); ++j) {
                const QMetaProperty sub = gadget->property(j);
                if (!sub.isStored() || !sub.isWritable())
                    continue;
                if (auto v = ToFormValue(PropertyTypeOf(sub), sub.readOnGadget(value.constData())))
                    obj.Properties.push_back(
                        {name + u'.' + QString::fromLatin1(sub.name()), *v, 0});
            }
            continue;
        }
        auto v = ToFormValue(type, value);
        if (!v || EqualsDeclaredDefault(c, prop, type, *v))
            continue;
        obj.Properties.push_back({name, *v, 0});
    }
    for (const TEventBase* e : c->Events())
        if (e->Assigned() && !e->HandlerName().isEmpty())
            obj.Properties.push_back(
                {QString::fromLatin1(e->Name()), TFormValue::MakeIdent(e->HandlerName()), 0});
    for (TComponent* child : c->StreamedChildren(root))
        obj.Children.push_back(WriteObject(child, root));
    return obj;
}

} // namespace

QString DeclaredDefault(const TComponent* component, const char* property) {
    const QMetaObject* meta = component->metaObject();
    const int index = meta->indexOfClassInfo(QByteArray("Default.").append(property).constData());
    if (index < 0)
        return {};
    return QString::fromUtf8(meta->classInfo(index).value());
}

TFormObject WriteComponentTree(TComponent* root) { return WriteObject(root, root); }

QString WriteFormDescription(TComponent* root) {
    return FormatFormDescription(WriteComponentTree(root));
}

} // namespace wt
