// The component core: a named object with an owner that frees what it owns,
// the component state flags, a Loaded step after a form is read, and
// published properties carried by Qt's property system.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace wt {

enum class ComponentState : std::uint8_t {
    Loading = 1 << 0,
    Reading = 1 << 1,
    Designing = 1 << 2,
    Destroying = 1 << 3,
};

class TEventBase;
class TReader;

class TComponent : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName STORED false)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_CLASSINFO("Default.Tag", "0")
public:
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    QString Name() const { return name_; }
    // Names are unique among the components of one owner; a clash throws.
    // Virtual: a control may let its caption follow the name.
    virtual void SetName(const QString& name);

    TComponent* Owner() const { return owner_; }
    // The owned components, in the order they were added.
    const std::vector<TComponent*>& Components() const { return components_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* FindComponent(const QString& name) const;
    // Moves a component under another owner (nullptr: no owner).
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    bool HasState(ComponentState flag) const { return (state_ & static_cast<unsigned>(flag)) != 0; }
    void SetState(ComponentState flag, bool on);
    unsigned State() const { return state_; }

    // Runs once after the whole form holding this component has been read.
    virtual void Loaded();
    bool IsLoading() const { return HasState(ComponentState::Loading); }
    bool IsReading() const { return HasState(ComponentState::Reading); }
    // Loading or reading: setters only store.
    bool IsStreaming() const { return (state_ & 3u) != 0; }

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // --- Form streaming ------------------------------------------------------
    // Reads this component's part of a form description: its properties and
    // then its nested objects. Containers override it to read their children
    // their own way (with another owner, say).
    virtual void ReadState(TReader& reader);
    // The components written nested inside this one, in order. The root (a
    // form) lists what it owns that has no other parent.
    virtual std::vector<TComponent*> StreamedChildren(TComponent* root) const;
    // False leaves a published property out of a written form whatever its
    // value (a font taken from the parent, say).
    virtual bool IsPropertyStored(const char* name) const;

    // Published events in declaration order (base classes first).
    const std::vector<TEventBase*>& Events() const { return events_; }
    TEventBase* FindEvent(const QString& name) const;
    void PublishEvent(TEventBase* event) { events_.push_back(event); }

protected:
    // Puts the named events first, in the order given (a class that
    // publishes inherited events in an order of its own).
    void OrderEvents(std::initializer_list<const char*> names);

private:
    QString name_;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    unsigned state_ = 0;
    int tag_ = 0;
    std::vector<TEventBase*> events_;
};

std::string ToStd(const QString& text);
QString FromStd(std::string_view text);

} // namespace wt
