#include "host/tool_services.h"

#include <algorithm>
#include <exception>

namespace wt {

namespace {

QString Describe(const QString& addInName) {
    return addInName.isEmpty() ? QStringLiteral("an add-in")
                               : QStringLiteral("add-in \"%1\"").arg(addInName);
}

} // namespace

HostToolServices::HostToolServices(Hooks hooks) : hooks_(std::move(hooks)) {}

int32_t HostToolServices::AddRef() { return ++count_; }

int32_t HostToolServices::Release() { return count_ > 0 ? --count_ : 0; }

int32_t HostToolServices::GetVersion() { return ToolsApiVersion; }

uintptr_t HostToolServices::OwnerWindowHandle() {
    return hooks_.OwnerWindow ? hooks_.OwnerWindow() : 0;
}

const char* HostToolServices::CurrentProjectName() {
    projectName_ = hooks_.ProjectFileName ? hooks_.ProjectFileName().toStdString() : std::string();
    return projectName_.c_str();
}

bool HostToolServices::IsRegistered(TIAddInNotifier* notifier) const {
    return std::any_of(notifiers_.begin(), notifiers_.end(),
                       [&](const Registration& r) { return r.Notifier == notifier; });
}

bool HostToolServices::RegisterNotifier(TIAddInNotifier* notifier) {
    if (!notifier || IsRegistered(notifier))
        return false;
    notifier->AddRef();
    notifiers_.push_back({notifier, registeringAddIn_});
    return true;
}

bool HostToolServices::UnregisterNotifier(TIAddInNotifier* notifier) {
    const auto found = std::find_if(notifiers_.begin(), notifiers_.end(),
                                    [&](const Registration& r) { return r.Notifier == notifier; });
    if (found == notifiers_.end())
        return false;
    const Registration registration = *found;
    notifiers_.erase(found);
    ReleaseNotifier(registration.Notifier, registration.AddInName);
    return true;
}

void HostToolServices::ReportError(const char* message) {
    Tell(message ? QString::fromUtf8(message) : QStringLiteral("(no message)"));
}

void HostToolServices::Tell(const QString& message) {
    if (hooks_.Report)
        hooks_.Report(message);
}

void HostToolServices::SetRegisteringAddIn(const QString& addInName) {
    registeringAddIn_ = addInName;
}

void HostToolServices::ReleaseNotifier(TIAddInNotifier* notifier, const QString& addInName) {
    try {
        notifier->Release();
    } catch (const std::exception& failure) {
        Tell(QStringLiteral("The notifier of %1 failed when released: %2")
                 .arg(Describe(addInName), QString::fromUtf8(failure.what())));
    } catch (...) {
        Tell(QStringLiteral("The notifier of %1 failed when released").arg(Describe(addInName)));
    }
}

void HostToolServices::DropNotifiersOf(const QString& addInName) {
    std::vector<Registration> dropped;
    std::erase_if(notifiers_, [&](const Registration& r) {
        if (r.AddInName != addInName)
            return false;
        dropped.push_back(r);
        return true;
    });
    for (const Registration& r : dropped)
        ReleaseNotifier(r.Notifier, r.AddInName);
}

bool HostToolServices::Broadcast(uint8_t code, const QString& fileName) {
    if (!notifying_)
        return true;
    const std::string name = fileName.toStdString();
    bool cancelled = false;
    // A notifier may register or unregister notifiers while it is called:
    // walk a copy, skip those gone meanwhile, and hold a reference across
    // each call so that unregistering itself cannot destroy it mid-call.
    const std::vector<Registration> snapshot = notifiers_;
    for (const Registration& r : snapshot) {
        if (!IsRegistered(r.Notifier))
            continue;
        bool cancel = false;
        QString failure;
        r.Notifier->AddRef();
        try {
            r.Notifier->Notify(code, name.c_str(), &cancel);
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        } catch (...) {
            failure = QStringLiteral("an unknown failure");
        }
        ReleaseNotifier(r.Notifier, r.AddInName);
        if (!failure.isNull())
            Tell(QStringLiteral("The notifier of %1 failed on notification %2 (%3): %4")
                     .arg(Describe(r.AddInName))
                     .arg(code)
                     .arg(fileName, failure));
        cancelled = cancelled || cancel;
    }
    return !cancelled;
}

void HostToolServices::ReleaseAllNotifiers() {
    std::vector<Registration> all;
    all.swap(notifiers_);
    for (const Registration& r : all)
        ReleaseNotifier(r.Notifier, r.AddInName);
}

} // namespace wt
