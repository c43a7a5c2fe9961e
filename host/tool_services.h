// hostide's TIToolServices: the five services an add-in calls, and the
// registry of add-in notifiers through which the host sends its project and
// desktop notifications, catching whatever a notifier throws.
#pragma once

#include "hostapi/toolsapi.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace wt {

class HostToolServices final : public TIToolServices {
public:
    struct Hooks {
        std::function<uintptr_t()> OwnerWindow;
        std::function<QString()> ProjectFileName;
        std::function<void(const QString&)> Report;
    };

    explicit HostToolServices(Hooks hooks);
    HostToolServices(const HostToolServices&) = delete;
    HostToolServices& operator=(const HostToolServices&) = delete;

    // The host owns this object: the count is kept for the add-ins' sake,
    // but reaching 0 destroys nothing.
    int32_t AddRef() override;
    int32_t Release() override;
    int32_t GetVersion() override;

    uintptr_t OwnerWindowHandle() override;
    const char* CurrentProjectName() override;
    bool RegisterNotifier(TIAddInNotifier* notifier) override;
    bool UnregisterNotifier(TIAddInNotifier* notifier) override;
    void ReportError(const char* message) override;

    // Registrations made from now on are credited to this add-in, so that a
    // failed add-in's notifiers can be dropped. An empty name ends that.
    void SetRegisteringAddIn(const QString& addInName);
    // Drops the host's reference on every notifier credited to addInName.
    void DropNotifiersOf(const QString& addInName);

    // Sends a notification to every registered notifier, in order of
    // registration. A notifier that throws is reported and the others still
    // hear. Returns false when a notifier set the cancel flag.
    bool Broadcast(uint8_t code, const QString& fileName);
    // At exit the host notifies nothing further.
    void StopNotifications() { notifying_ = false; }
    // Drops the host's references on the notifiers still registered.
    void ReleaseAllNotifiers();

    size_t NotifierCount() const { return notifiers_.size(); }

private:
    struct Registration {
        TIAddInNotifier* Notifier;
        QString AddInName;
    };
    bool IsRegistered(TIAddInNotifier* notifier) const;
    void Tell(const QString& message);
    void ReleaseNotifier(TIAddInNotifier* notifier, const QString& addInName);

    Hooks hooks_;
    int32_t count_ = 1;
    std::string projectName_;
    std::vector<Registration> notifiers_;
    QString registeringAddIn_;
    bool notifying_ = true;
};

} // namespace wt
