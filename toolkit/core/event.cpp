#include "toolkit/core/event.h"

namespace wt {

const std::any* THandlerTable::Find(const QString& name) const {
    auto it = handlers_.find(name.toLower());
    return it == handlers_.end() ? nullptr : &it->second.Handler;
}

QString THandlerTable::DeclaredName(const QString& name) const {
    auto it = handlers_.find(name.toLower());
    return it == handlers_.end() ? QString() : it->second.Name;
}

TEventBase::TEventBase(TComponent* component, const char* name) : name_(name) {
    if (component)
        component->PublishEvent(this);
}

} // namespace wt
