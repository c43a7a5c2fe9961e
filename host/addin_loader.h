// Loads add-in libraries with dlopen, calls their INITEXPERT0016 with the
// host's services, keeps the experts they register and their termination
// procedures, and ends them in order at exit. Every failure is reported by
// the add-in's file name with the loader's own message.
#pragma once

#include "host/tool_services.h"
#include "hostapi/toolsapi.h"

#include <QString>

#include <functional>
#include <vector>

namespace wt {

struct RegisteredExpert {
    TIExpert* Expert;
    QString AddInName;
};

class AddInLoader {
public:
    using Reporter = std::function<void(const QString&)>;

    AddInLoader(HostToolServices& services, Reporter report);
    ~AddInLoader();
    AddInLoader(const AddInLoader&) = delete;
    AddInLoader& operator=(const AddInLoader&) = delete;

    // Loads one add-in; false (after a report) when it could not be loaded
    // or refused to start. A file loaded already is not loaded twice.
    bool Load(const QString& fileName);

    const std::vector<RegisteredExpert>& Experts() const { return experts_; }
    QStringList LoadedAddIns() const;

    // At exit: no further notifications, every termination procedure (the
    // last loaded first), then the experts are released, then the notifiers
    // still registered. The libraries stay mapped: code of theirs may still
    // be referenced by objects of the toolkit until the process ends.
    void Shutdown();
    bool IsShutDown() const { return shutDown_; }

private:
    struct AddIn {
        QString Name;
        QString Key;
        TExpertTerminateProc Terminate;
    };

    static bool RegisterExpertProc(TIExpert* expert);
    bool AcceptExpert(TIExpert* expert);
    void Terminate(const QString& name, TExpertTerminateProc terminate);
    void ReleaseExpert(const RegisteredExpert& registered);
    void Undo(const QString& name, size_t firstExpert, TExpertTerminateProc terminate);

    HostToolServices& services_;
    Reporter report_;
    std::vector<AddIn> addIns_;
    std::vector<RegisteredExpert> experts_;
    QString loading_;
    bool shutDown_ = false;

    // The register procedure the host hands out takes no context, so it
    // reaches the loader through this.
    static AddInLoader* current_;
};

} // namespace wt
