// Reads a form description into a root component: creates the nested
// components through the class registry, assigns properties through the
// property system with the loading and reading flags set, binds events to
// the root's handlers by name and runs Loaded on everything once at the end.
// On any error every component it created is freed again and an EFormError
// naming file and line is thrown.
#pragma once

#include "toolkit/core/component.h"
#include "toolkit/core/formdesc.h"

#include <QMetaProperty>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

namespace wt {

class TWinControl;
class THandlerTable;

class TReader {
public:
    TReader(TComponent* root, QString fileName, const THandlerTable* handlers = nullptr);

    // Reads the description (text) into the root. The root's class must be
    // the class named at the top. After a failure the root has no new
    // components; properties already set on the root itself stay set.
    void Read(const QString& text);
    void Read(const TFormObject& object);

    TComponent* Root() const { return root_; }
    // The owner of the components read next (the root unless a container
    // reading its children says otherwise).
    TComponent* Owner() const { return owner_; }
    void SetOwner(TComponent* owner) { owner_ = owner; }
    // The control the controls read next are placed in.
    TWinControl* Parent() const { return parent_; }
    void SetParent(TWinControl* parent) { parent_ = parent; }
    // The object being read (inside ReadState).
    const TFormObject& Current() const { return *current_; }
    const QString& FileName() const { return fileName_; }

    // Steps of TComponent::ReadState: the current object's properties, then
    // its nested objects, each created and read through its own ReadState.
    void ReadProperties(TComponent* component);
    void ReadChildren(TComponent* component);
    // Assigns one property (also dotted, into a font or a sub-object).
    void ReadProperty(TComponent* component, const TFormProperty& property);

    [[noreturn]] void Fail(int line, const QString& what) const;

private:
    // Binds a handler when the property names an event; false when it does not.
    bool ReadEvent(TComponent* component, const TFormProperty& property);
    // Converts the property's value for target and hands it to write; a
    // value that does not fit, or a write that fails, is the form's error.
    void Assign(const TFormProperty& property, const QMetaProperty& target,
                const std::function<bool(const QVariant&)>& write);
    TComponent* CreateChild(const TFormObject& object);
    void ResolveReferences();

    struct Reference {
        QPointer<TComponent> Component;
        int PropertyIndex = -1;
        QString Name;
        int Line = 0;
    };
    std::vector<Reference> references_;

    TComponent* root_;
    QString fileName_;
    const THandlerTable* handlers_;
    TComponent* owner_ = nullptr;
    TWinControl* parent_ = nullptr;
    const TFormObject* current_ = nullptr;
    // Guarded: a container may free components it holds.
    std::vector<QPointer<TComponent>> created_; // in creation order
    std::vector<QPointer<TComponent>> read_;    // root first, then every component read
};

} // namespace wt
