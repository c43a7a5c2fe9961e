#include "toolkit/core/reader.h"

#include "toolkit/core/classes.h"
#include "toolkit/controls/control.h"
#include "toolkit/core/event.h"
#include "toolkit/core/propvalue.h"

#include <QMetaObject>
#include <QMetaProperty>

#include <algorithm>
#include <functional>

namespace wt {
namespace {

// The flags are set on every component for the whole read and cleared by
// Loaded; on failure they are cleared by hand.
void SetStreaming(TComponent* c, bool on) {
    c->SetState(ComponentState::Loading, on);
    c->SetState(ComponentState::Reading, on);
}

// Property names compare without case, as every name of a description does.
int PropertyIndex(const QMetaObject* meta, const QString& name) {
    const QByteArray latin = name.toLatin1();
    int index = meta->indexOfProperty(latin.constData());
    if (index >= 0)
        return index;
    for (int i = meta->propertyCount() - 1; i >= 0; --i)
        if (qstricmp(meta->property(i).name(), latin.constData()) == 0)
            return i;
    return -1;
}

} // namespace

TReader::TReader(TComponent* root, QString fileName, const THandlerTable* handlers)
    : root_(root), fileName_(std::move(fileName)), handlers_(handlers), owner_(root) {}

void TReader::Fail(int line, const QString& what) const { throw EFormError(fileName_, line, what); }

void TReader::Read(const QString& text) { Read(ParseFormDescription(text, fileName_)); }

void TReader::Read(const TFormObject& object) {
    const QString rootClass = ClassNameOf(root_);
    if (object.ClassName.compare(rootClass, Qt::CaseInsensitive) != 0)
        Fail(object.Line, QStringLiteral("the form is of class %1, the description is for %2")
                              .arg(rootClass, object.ClassName));
    created_.clear();
    read_.clear();
    owner_ = root_;
    parent_ = nullptr;
    current_ = &object;
    SetStreaming(root_, true);
    read_.push_back(root_);
    try {
        try {
            if (!object.Name.isEmpty())
                root_->SetName(object.Name);
        } catch (const std::exception& e) {
            Fail(object.Line, QString::fromStdString(e.what()));
        }
        root_->ReadState(*this);
        ResolveReferences();
    } catch (...) {
        // Free what was made, newest first (a container frees its children,
        // which are newer, before itself is reached).
        while (!created_.empty()) {
            QPointer<TComponent> c = created_.back();
            created_.pop_back();
            delete c.data();
        }
        for (const QPointer<TComponent>& c : read_)
            if (c)
                SetStreaming(c, false);
        SetStreaming(root_, false);
        read_.clear();
        current_ = nullptr;
        throw;
    }
    current_ = nullptr;
    // Every component is complete: end of loading for each, in read order.
    const std::vector<QPointer<TComponent>> loaded = read_;
    read_.clear();
    created_.clear();
    for (const QPointer<TComponent>& c : loaded)
        if (c)
            c->Loaded();
}

void TReader::ResolveReferences() {
    std::function<TComponent*(TComponent*, const QString&)> find =
        [&](TComponent* in, const QString& name) -> TComponent* {
        if (in->Name().compare(name, Qt::CaseInsensitive) == 0)
            return in;
        for (TComponent* c : in->Components())
            if (TComponent* found = find(c, name))
                return found;
        return nullptr;
    };
    const std::vector<Reference> references = std::move(references_);
    references_.clear();
    for (const Reference& r : references) {
        if (!r.Component)
            continue;
        const QMetaProperty prop = r.Component->metaObject()->property(r.PropertyIndex);
        TComponent* target = find(root_, r.Name);
        if (!target)
            Fail(r.Line, QStringLiteral("%1: no component named %2")
                             .arg(QLatin1String(prop.name()), r.Name));
        const QMetaObject* wanted = prop.metaType().metaObject();
        if (wanted && !target->metaObject()->inherits(wanted))
            Fail(r.Line, QStringLiteral("%1: %2 is a %3, not a %4")
                             .arg(QLatin1String(prop.name()), r.Name, ClassNameOf(target),
                                  ClassNameOf(wanted)));
        QObject* pointer = target;
        bool ok = false;
        try {
            ok = prop.write(r.Component, QVariant(prop.metaType(), &pointer));
        } catch (const std::exception& e) {
            Fail(r.Line, QStringLiteral("%1: %2").arg(QLatin1String(prop.name()),
                                                      QString::fromStdString(e.what())));
        }
        if (!ok)
            Fail(r.Line,
                 QStringLiteral("%1 cannot refer to %2").arg(QLatin1String(prop.name()), r.Name));
    }
}

void TReader::ReadProperties(TComponent* component) {
    for (const TFormProperty& p : current_->Properties)
        ReadProperty(component, p);
}

void TReader::ReadChildren(TComponent*) {
    const TFormObject* self = current_;
    for (const TFormObject& child : self->Children) {
        TComponent* c = CreateChild(child);
        current_ = &child;
        c->ReadState(*this);
        current_ = self;
    }
}

TComponent* TReader::CreateChild(const TFormObject& object) {
    const TClassInfo* info = FindClassInfo(object.ClassName);
    if (!info)
        Fail(object.Line, QStringLiteral("unknown class %1").arg(object.ClassName));
    if (object.Name.isEmpty())
        Fail(object.Line,
             QStringLiteral("a component of class %1 has no name").arg(object.ClassName));
    TComponent* owner = owner_ ? owner_ : root_;
    if (TComponent* existing = owner->FindComponent(object.Name)) {
        // A component the owner made itself (in its constructor) is read
        // into, provided it is of the class the description names.
        if (ClassNameOf(existing).compare(object.ClassName, Qt::CaseInsensitive) != 0 ||
            std::find(read_.begin(), read_.end(), QPointer<TComponent>(existing)) != read_.end())
            Fail(object.Line, QStringLiteral("duplicate component name %1").arg(object.Name));
        SetStreaming(existing, true);
        read_.push_back(existing);
        return existing;
    }
    TComponent* c = nullptr;
    try {
        c = info->Create(owner);
    } catch (const std::exception& e) {
        Fail(object.Line, QStringLiteral("creating %1 failed: %2")
                              .arg(object.ClassName, QString::fromStdString(e.what())));
    }
    created_.push_back(c);
    SetStreaming(c, true);
    read_.push_back(c);
    try {
        c->SetName(object.Name);
        if (auto* control = dynamic_cast<TControl*>(c); control && parent_)
            control->SetParent(parent_);
    } catch (const EFormError&) {
        throw;
    } catch (const std::exception& e) {
        Fail(object.Line, QString::fromStdString(e.what()));
    }
    return c;
}

bool TReader::ReadEvent(TComponent* component, const TFormProperty& property) {
    TEventBase* event = component->FindEvent(property.Name);
    if (!event)
        return false;
    if (property.Value.Type != TFormValue::Ident)
        Fail(property.Line, QStringLiteral("event %1 needs a handler name").arg(property.Name));
    const QString& handler = property.Value.Text;
    if (!handlers_ || !handlers_->Find(handler))
        Fail(property.Line, QStringLiteral("no handler named %1 for %2.%3")
                                .arg(handler, component->Name(), property.Name));
    if (!event->BindByName(*handlers_, handler))
        Fail(property.Line,
             QStringLiteral("handler %1 does not fit event %2").arg(handler, property.Name));
    return true;
}

void TReader::Assign(const TFormProperty& property, const QMetaProperty& target,
                     const std::function<bool(const QVariant&)>& write) {
    const TPropertyType type = PropertyTypeOf(target);
    QString error;
    const auto variant = ToVariant(type, property.Value, error);
    if (!variant)
        Fail(property.Line, QStringLiteral("%1: %2").arg(property.Name, error));
    bool ok = false;
    try {
        ok = write(*variant);
    } catch (const EFormError&) {
        throw;
    } catch (const std::exception& e) {
        Fail(property.Line,
             QStringLiteral("%1: %2").arg(property.Name, QString::fromStdString(e.what())));
    }
    if (!ok)
        Fail(property.Line,
             QStringLiteral("%1 cannot take %2").arg(property.Name, property.Value.Describe()));
}

void TReader::ReadProperty(TComponent* component, const TFormProperty& property) {
    const QStringList path = property.Name.split(u'.');
    const QString className = ClassNameOf(component);

    if (path.size() == 1 && ReadEvent(component, property))
        return;

    // Walk to the object that holds the last name: the component, a
    // sub-object property, or a value (a font) that is written back.
    QObject* object = component;
    const QMetaObject* meta = component->metaObject();
    int index = PropertyIndex(meta, path.front());
    if (index < 0)
        Fail(property.Line, QStringLiteral("%1 has no property %2").arg(className, path.front()));
    QMetaProperty prop = meta->property(index);

    // Sub-objects: Pages.Foo = ... sets a property of the object held.
    int step = 1;
    while (step < path.size() && (prop.metaType().flags() & QMetaType::PointerToQObject)) {
        QObject* inner = prop.read(object).value<QObject*>();
        if (!inner)
            Fail(property.Line,
                 QStringLiteral("%1 holds no object").arg(path.mid(0, step).join(u'.')));
        object = inner;
        meta = inner->metaObject();
        index = PropertyIndex(meta, path[step]);
        if (index < 0)
            Fail(property.Line, QStringLiteral("%1 has no property %2")
                                    .arg(path.mid(0, step).join(u'.'), path[step]));
        prop = meta->property(index);
        ++step;
    }

    if (step == 1 && path.size() == 1 && (prop.metaType().flags() & QMetaType::PointerToQObject)) {
        // A reference to another component, resolved once all are read.
        if (property.Value.Type != TFormValue::Ident)
            Fail(property.Line, QStringLiteral("%1 needs a component name").arg(property.Name));
        if (!prop.isWritable())
            Fail(property.Line, QStringLiteral("property %1 is read-only").arg(property.Name));
        references_.push_back(
            {component, prop.propertyIndex(), property.Value.Text, property.Line});
        return;
    }

    if (step == path.size()) {
        if (!prop.isWritable())
            Fail(property.Line, QStringLiteral("property %1 is read-only").arg(property.Name));
        Assign(property, prop, [&](const QVariant& v) { return prop.write(object, v); });
        return;
    }

    // Value types (fonts): read, change one member, write back.
    if (!(prop.metaType().flags() & QMetaType::IsGadget))
        Fail(property.Line, QStringLiteral("%1 has no members").arg(path.mid(0, step).join(u'.')));
    if (step + 1 != path.size())
        Fail(property.Line, QStringLiteral("%1: too many names").arg(property.Name));
    QVariant value = prop.read(object);
    const QMetaObject* gadget = prop.metaType().metaObject();
    const int subIndex = gadget ? PropertyIndex(gadget, path[step]) : -1;
    if (subIndex < 0)
        Fail(property.Line,
             QStringLiteral("%1 has no member %2").arg(path.mid(0, step).join(u'.'), path[step]));
    const QMetaProperty sub = gadget->property(subIndex);
    Assign(property, sub, [&](const QVariant& v) {
        if (!sub.writeOnGadget(value.data(), v))
            return false;
        return prop.write(object, value);
    });
}

} // namespace wt
