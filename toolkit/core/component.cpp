#include "toolkit/core/component.h"

#include "toolkit/core/event.h"
#include "toolkit/core/reader.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace wt {

TComponent::TComponent(TComponent* owner) {
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent() {
    SetState(ComponentState::Destroying, true);
    // Free owned components last-added first, as their creation order may
    // have made later ones depend on earlier ones.
    while (!components_.empty()) {
        TComponent* child = components_.back();
        components_.pop_back();
        child->owner_ = nullptr;
        delete child;
    }
    if (owner_)
        owner_->RemoveComponent(this);
}

void TComponent::SetName(const QString& name) {
    if (name == name_)
        return;
    if (owner_ && !name.isEmpty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this)
            throw std::invalid_argument("A component named " + ToStd(name) + " already exists");
    }
    name_ = name;
    setObjectName(name);
}

TComponent* TComponent::FindComponent(const QString& name) const {
    if (name.isEmpty())
        return nullptr;
    for (TComponent* c : components_)
        if (c->name_.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->owner_ == this)
        return;
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    component->owner_ = this;
    components_.push_back(component);
}

void TComponent::RemoveComponent(TComponent* component) {
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it != components_.end()) {
        components_.erase(it);
        component->owner_ = nullptr;
    }
}

void TComponent::SetState(ComponentState flag, bool on) {
    if (on)
        state_ |= static_cast<unsigned>(flag);
    else
        state_ &= ~static_cast<unsigned>(flag);
}

void TComponent::Loaded() {
    SetState(ComponentState::Loading, false);
    SetState(ComponentState::Reading, false);
}

void TComponent::ReadState(TReader& reader) {
    reader.ReadProperties(this);
    reader.ReadChildren(this);
}

std::vector<TComponent*> TComponent::StreamedChildren(TComponent*) const { return {}; }

bool TComponent::IsPropertyStored(const char*) const { return true; }

TEventBase* TComponent::FindEvent(const QString& name) const {
    for (TEventBase* e : events_)
        if (name.compare(QLatin1String(e->Name()), Qt::CaseInsensitive) == 0)
            return e;
    return nullptr;
}

std::string ToStd(const QString& text) { return text.toStdString(); }
QString FromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void TComponent::OrderEvents(std::initializer_list<const char*> names) {
    std::vector<TEventBase*> ordered;
    for (const char* name : names)
        for (TEventBase* e : events_)
            if (std::strcmp(e->Name(), name) == 0)
                ordered.push_back(e);
    for (TEventBase* e : events_)
        if (std::find(ordered.begin(), ordered.end(), e) == ordered.end())
            ordered.push_back(e);
    events_ = std::move(ordered);
}

} // namespace wt
