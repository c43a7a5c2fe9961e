// A test add-in for hostide: one expert and one notifier, with behaviours
// chosen through the environment, and a log of everything the host does to
// it, one event a line, in the file named by FAKE_ADDIN_LOG.
//
//   FAKE_ADDIN_ENTRY    normal | false | throw | report
//   FAKE_ADDIN_NOTIFY   normal | throw | cancel
//   FAKE_ADDIN_EXECUTE  normal | report | throw
//   FAKE_ADDIN_MENU     the expert's menu text (default "Fake Expert")
//   FAKE_ADDIN_STATE    the expert's state bits (default 1, esEnabled)
#include "hostapi/toolsapi.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

using namespace wt;

namespace {

TIToolServices* services = nullptr;

std::string Env(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

void Log(const std::string& line) {
    const std::string file = Env("FAKE_ADDIN_LOG", "");
    if (file.empty())
        return;
    if (FILE* out = std::fopen(file.c_str(), "a")) {
        std::fprintf(out, "%s\n", line.c_str());
        std::fclose(out);
    }
}

std::string Project() {
    const char* name = services ? services->CurrentProjectName() : nullptr;
    return name ? name : "(null)";
}

template <typename Interface>
class Counted : public Interface {
public:
    int32_t AddRef() override { return ++count_; }
    int32_t GetVersion() override { return ToolsApiVersion; }

protected:
    int32_t count_ = 1;
};

class FakeExpert final : public Counted<TIExpert> {
public:
    FakeExpert() : menu_(Env("FAKE_ADDIN_MENU", "Fake Expert")) {}

    int32_t Release() override {
        const int32_t count = --count_;
        if (count == 0) {
            Log("expert destroyed");
            delete this;
        }
        return count;
    }
    const char* GetName() override { return "Fake"; }
    const char* GetAuthor() override { return ""; }
    const char* GetComment() override { return "A test expert"; }
    const char* GetPage() override { return ""; }
    uintptr_t GetGlyph() override { return 0; }
    TExpertStyle GetStyle() override { return esStandard; }
    TExpertState GetState() override {
        return TExpertState{static_cast<uint8_t>(std::atoi(Env("FAKE_ADDIN_STATE", "1").c_str()))};
    }
    const char* GetIDString() override { return "Tests.FakeExpert"; }
    const char* GetMenuText() override { return menu_.c_str(); }
    void Execute() override {
        Log("execute project=" + Project());
        const std::string mode = Env("FAKE_ADDIN_EXECUTE", "normal");
        if (mode == "report")
            services->ReportError("fake execute report");
        else if (mode == "throw")
            throw std::runtime_error("fake execute failure");
    }

private:
    std::string menu_;
};

class FakeNotifier final : public Counted<TIAddInNotifier> {
public:
    int32_t Release() override {
        const int32_t count = --count_;
        if (count == 0) {
            Log("notifier destroyed");
            delete this;
        }
        return count;
    }
    void Notify(uint8_t code, const char* fileName, bool* cancel) override {
        Log("notify " + std::to_string(code) + " " + (fileName ? fileName : "(null)") +
            " project=" + Project());
        const std::string mode = Env("FAKE_ADDIN_NOTIFY", "normal");
        if (mode == "throw")
            throw std::runtime_error("fake notify failure");
        if (mode == "cancel" && (code == fnProjectClosing || code == fnDesktopSave))
            *cancel = true;
    }
};

FakeNotifier* notifier = nullptr;

void Terminate() {
    Log("terminate");
    if (notifier) {
        services->UnregisterNotifier(notifier);
        notifier->Release();
        notifier = nullptr;
    }
}

} // namespace

extern "C" bool INITEXPERT0016(TIToolServices* toolServices, TExpertRegisterProc registerProc,
                               TExpertTerminateProc* terminate) {
    services = toolServices;
    Log("entry owner=" + std::to_string(services->OwnerWindowHandle() != 0));
    const std::string mode = Env("FAKE_ADDIN_ENTRY", "normal");
    if (mode == "false")
        return false;
    *terminate = Terminate;
    registerProc(new FakeExpert);
    notifier = new FakeNotifier;
    services->RegisterNotifier(notifier);
    if (mode == "report")
        services->ReportError("fake entry report");
    if (mode == "throw")
        throw std::runtime_error("fake entry failure");
    return true;
}
