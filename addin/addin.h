// The add-in shell's state and its host-boundary helpers: the host's services,
// the notifier, the termination procedure and the catch-all failure report.
#pragma once

#include "hostapi/toolsapi.h"

#include "wingtucker_version.h"

namespace wt {

class TAddInNotifier;

inline constexpr char ExpertName[] = "Wingtucker " WT_PRODUCT_VERSION;

// The host's services; null until the entry point has run.
extern TIToolServices* HostServices;
extern TAddInNotifier* Notifier;

// Unregisters the notifier, drops it and closes the panel; reports failures.
void TerminateAddIn();
// Hands the message of the failure being handled to the host's ReportError.
void ReportFailure();
// Forgets the shell's state after a termination, so a test can load it again.
void ResetAddInForTests();

} // namespace wt
