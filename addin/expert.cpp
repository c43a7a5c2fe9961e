#include "addin/expert.h"

#include "addin/addin.h"
#include "engine/controller.h"

namespace wt {

namespace {
// Runs an operation's body; a failure goes to the host as an error message.
template <typename Body>
void Guarded(Body body) {
    try {
        body();
    } catch (...) {
        ReportFailure();
    }
}
} // namespace

const char* TWingtuckerExpert::GetName() {
    const char* result = "";
    Guarded([&] { result = ExpertName; });
    return result;
}

// The three operations below serve the host's object repository, where this
// expert does not live.
const char* TWingtuckerExpert::GetAuthor() { return ""; }
const char* TWingtuckerExpert::GetPage() { return ""; }
std::uintptr_t TWingtuckerExpert::GetGlyph() { return 0; }

const char* TWingtuckerExpert::GetComment() {
    const char* result = "";
    Guarded([&] { result = "Makes Delphi and Object Inspector act like autohide taskbars."; });
    return result;
}

TExpertStyle TWingtuckerExpert::GetStyle() {
    TExpertStyle result = esStandard;
    Guarded([&] { result = esStandard; });
    return result;
}

TExpertState TWingtuckerExpert::GetState() {
    TExpertState result;
    Guarded([&] { result = TExpertState{}.Include(esEnabled); });
    return result;
}

const char* TWingtuckerExpert::GetIDString() {
    const char* result = "";
    Guarded([&] { result = "GullwindSotware.TWingtuckerExpert12"; });
    return result;
}

const char* TWingtuckerExpert::GetMenuText() {
    const char* result = "";
    Guarded([&] { result = ExpertName; });
    return result;
}

void TWingtuckerExpert::Execute() {
    Guarded([] { OpenPanel(HostServices); });
}

} // namespace wt
