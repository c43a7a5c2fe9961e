// Events: a callable plus the object it is called on, receiving the sender;
// skipped when unassigned. An event member publishes itself on its component
// under its name, so a form description can bind it to a handler by name.
#pragma once

#include "toolkit/core/component.h"

#include <QString>

#include <any>
#include <functional>
#include <map>
#include <utility>

namespace wt {

using TObject = TComponent;

// A form's handler methods by name, each stored as std::function<void(Args...)>.
class THandlerTable {
public:
    template <class F, class... Args>
    void Add(const QString& name, F* object, void (F::*method)(Args...)) {
        handlers_[name.toLower()] =
            Entry{name, std::function<void(Args...)>([object, method](Args... args) {
                      (object->*method)(std::forward<Args>(args)...);
                  })};
    }
    // nullptr when no handler has that name (names compare without case).
    const std::any* Find(const QString& name) const;
    // The handler's name as it was declared.
    QString DeclaredName(const QString& name) const;
    bool Empty() const { return handlers_.empty(); }

private:
    struct Entry {
        QString Name;
        std::any Handler;
    };
    std::map<QString, Entry> handlers_;
};

class TEventBase {
public:
    TEventBase(TComponent* component, const char* name);
    TEventBase(const TEventBase&) = delete;
    TEventBase& operator=(const TEventBase&) = delete;
    virtual ~TEventBase() = default;

    const char* Name() const { return name_; }
    // The handler name the event was bound by ("" when set from code or unset).
    const QString& HandlerName() const { return handlerName_; }
    virtual bool Assigned() const = 0;
    virtual void Clear() = 0;
    // Binds to the handler of that name in the table; false when there is no
    // such handler or its parameters do not fit this event.
    virtual bool BindByName(const THandlerTable& table, const QString& handlerName) = 0;

protected:
    QString handlerName_;

private:
    const char* name_;
};

template <class... Args>
class TEvent final : public TEventBase {
public:
    using Handler = std::function<void(Args...)>;
    TEvent(TComponent* component, const char* name) : TEventBase(component, name) {}

    TEvent& operator=(Handler handler) {
        handler_ = std::move(handler);
        handlerName_.clear();
        return *this;
    }
    template <class F>
    void Bind(F* object, void (F::*method)(Args...)) {
        *this = [object, method](Args... args) { (object->*method)(std::forward<Args>(args)...); };
    }
    explicit operator bool() const { return static_cast<bool>(handler_); }
    bool Assigned() const override { return static_cast<bool>(handler_); }
    void Clear() override {
        handler_ = nullptr;
        handlerName_.clear();
    }
    // Runs the handler if one is assigned.
    void operator()(Args... args) const {
        if (handler_)
            handler_(std::forward<Args>(args)...);
    }
    bool BindByName(const THandlerTable& table, const QString& handlerName) override {
        const std::any* found = table.Find(handlerName);
        if (!found)
            return false;
        const Handler* h = std::any_cast<Handler>(found);
        if (!h)
            return false;
        handler_ = *h;
        handlerName_ = table.DeclaredName(handlerName);
        return true;
    }

private:
    Handler handler_;
};

using TNotifyEvent = TEvent<TObject*>;

} // namespace wt
