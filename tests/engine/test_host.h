// A host IDE for the tests: tool services whose project name a test sets,
// which record error reports and (un)registrations and can send the
// registered notifier a notification; and a register procedure that keeps
// the experts it is handed, as the host owns them.
#pragma once

#include "hostapi/toolsapi.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace wt::test {

class TestToolServices final : public TIToolServices {
public:
    std::int32_t AddRef() override { return 1; }
    std::int32_t Release() override { return 1; }
    std::int32_t GetVersion() override { return ToolsApiVersion; }

    std::uintptr_t OwnerWindowHandle() override {
        ++ownerWindowCalls;
        return ownerWindow;
    }
    const char* CurrentProjectName() override {
        ++projectNameCalls;
        answer = project;
        return answer.c_str();
    }
    // The host keeps a reference while the notifier is registered.
    bool RegisterNotifier(TIAddInNotifier* n) override {
        registered.push_back(n);
        countAfterRegister = n->AddRef();
        notifier = n;
        return true;
    }
    bool UnregisterNotifier(TIAddInNotifier* n) override {
        unregistered.push_back(n);
        countAfterUnregister = n->Release();
        if (notifier == n)
            notifier = nullptr;
        if (failUnregister)
            throw std::runtime_error("The host could not unregister the notifier");
        return true;
    }
    void ReportError(const char* message) override {
        errors.emplace_back(message ? message : "(null)");
    }

    // Sends a notification as the host does; returns the cancel flag after it.
    bool Send(std::uint8_t code, const char* fileName, bool cancel = false) {
        notifier->Notify(code, fileName, &cancel);
        return cancel;
    }

    std::string project;
    std::uintptr_t ownerWindow = 0;
    bool failUnregister = false;
    TIAddInNotifier* notifier = nullptr;
    std::vector<TIAddInNotifier*> registered;
    std::vector<TIAddInNotifier*> unregistered;
    std::int32_t countAfterRegister = 0;
    std::int32_t countAfterUnregister = -1;
    std::vector<std::string> errors;
    int ownerWindowCalls = 0;
    int projectNameCalls = 0;

private:
    std::string answer;
};

// The experts handed to the host's register procedure.
inline std::vector<TIExpert*>& RegisteredExperts() {
    static std::vector<TIExpert*> experts;
    return experts;
}

inline bool RegisterExpert(TIExpert* expert) {
    RegisteredExperts().push_back(expert);
    return true;
}

} // namespace wt::test
