#include "host/addin_loader.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>
#include <exception>

namespace wt {

AddInLoader* AddInLoader::current_ = nullptr;

namespace {

QString LoaderMessage() {
    const char* message = dlerror();
    return message ? QString::fromLocal8Bit(message) : QStringLiteral("no reason given");
}

// The same file reached by two names is loaded once.
QString IdentityOf(const QString& fileName) {
    const QString canonical = QFileInfo(fileName).canonicalFilePath();
    return canonical.isEmpty() ? fileName : canonical;
}

} // namespace

AddInLoader::AddInLoader(HostToolServices& services, Reporter report)
    : services_(services), report_(std::move(report)) {
    current_ = this;
}

AddInLoader::~AddInLoader() {
    Shutdown();
    if (current_ == this)
        current_ = nullptr;
}

QStringList AddInLoader::LoadedAddIns() const {
    QStringList names;
    for (const AddIn& addIn : addIns_)
        names.append(addIn.Name);
    return names;
}

bool AddInLoader::RegisterExpertProc(TIExpert* expert) {
    return current_ && current_->AcceptExpert(expert);
}

bool AddInLoader::AcceptExpert(TIExpert* expert) {
    if (!expert || shutDown_)
        return false;
    // The host takes over the expert's first reference.
    experts_.push_back({expert, loading_});
    return true;
}

bool AddInLoader::Load(const QString& fileName) {
    if (shutDown_)
        return false;
    const QString key = IdentityOf(fileName);
    for (const AddIn& addIn : addIns_)
        if (addIn.Key == key) {
            report_(QStringLiteral("Add-in \"%1\" is loaded already; it is not loaded twice.")
                        .arg(fileName));
            return false;
        }

    dlerror();
    void* library = dlopen(QFile::encodeName(fileName).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        report_(
            QStringLiteral("Add-in \"%1\" could not be loaded: %2").arg(fileName, LoaderMessage()));
        return false;
    }
    dlerror();
    auto entry = reinterpret_cast<TExpertInitProc>(dlsym(library, ExpertEntryPointName));
    if (!entry) {
        report_(QStringLiteral("Add-in \"%1\" has no entry point %2: %3")
                    .arg(fileName, QString::fromLatin1(ExpertEntryPointName), LoaderMessage()));
        return false;
    }

    const size_t firstExpert = experts_.size();
    TExpertTerminateProc terminate = nullptr;
    QString failure;
    bool started = false;
    loading_ = fileName;
    services_.SetRegisteringAddIn(fileName);
    try {
        started = entry(&services_, &AddInLoader::RegisterExpertProc, &terminate);
        if (!started)
            failure = QStringLiteral("Add-in \"%1\" refused to start (%2 answered false).")
                          .arg(fileName, QString::fromLatin1(ExpertEntryPointName));
    } catch (const std::exception& e) {
        failure = QStringLiteral("Add-in \"%1\" failed in %2: %3")
                      .arg(fileName, QString::fromLatin1(ExpertEntryPointName),
                           QString::fromUtf8(e.what()));
    } catch (...) {
        failure = QStringLiteral("Add-in \"%1\" failed in %2 with an unknown failure.")
                      .arg(fileName, QString::fromLatin1(ExpertEntryPointName));
    }
    loading_.clear();
    services_.SetRegisteringAddIn(QString());

    if (!failure.isEmpty()) {
        report_(failure);
        Undo(fileName, firstExpert, terminate);
        return false;
    }
    addIns_.push_back({fileName, key, terminate});
    return true;
}

// A failed add-in goes: its own clean-up where it handed one back, then what
// it registered with the host.
void AddInLoader::Undo(const QString& name, size_t firstExpert, TExpertTerminateProc terminate) {
    if (terminate)
        Terminate(name, terminate);
    services_.DropNotifiersOf(name);
    std::vector<RegisteredExpert> dropped(
        experts_.begin() + static_cast<std::ptrdiff_t>(firstExpert), experts_.end());
    experts_.resize(firstExpert);
    for (const RegisteredExpert& registered : dropped)
        ReleaseExpert(registered);
}

void AddInLoader::Terminate(const QString& name, TExpertTerminateProc terminate) {
    try {
        terminate();
    } catch (const std::exception& e) {
        report_(QStringLiteral("Add-in \"%1\" failed while terminating: %2")
                    .arg(name, QString::fromUtf8(e.what())));
    } catch (...) {
        report_(QStringLiteral("Add-in \"%1\" failed while terminating.").arg(name));
    }
}

void AddInLoader::ReleaseExpert(const RegisteredExpert& registered) {
    try {
        registered.Expert->Release();
    } catch (const std::exception& e) {
        report_(QStringLiteral("An expert of add-in \"%1\" failed when released: %2")
                    .arg(registered.AddInName, QString::fromUtf8(e.what())));
    } catch (...) {
        report_(QStringLiteral("An expert of add-in \"%1\" failed when released.")
                    .arg(registered.AddInName));
    }
}

void AddInLoader::Shutdown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    services_.StopNotifications();
    for (auto addIn = addIns_.rbegin(); addIn != addIns_.rend(); ++addIn)
        if (addIn->Terminate)
            Terminate(addIn->Name, addIn->Terminate);
    std::vector<RegisteredExpert> experts;
    experts.swap(experts_);
    for (const RegisteredExpert& registered : experts)
        ReleaseExpert(registered);
    services_.ReleaseAllNotifiers();
}

} // namespace wt
