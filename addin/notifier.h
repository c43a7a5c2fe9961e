// The add-in notifier: forwards the host's project and desktop events to the
// controller. Failures propagate to the host.
#pragma once

#include "addin/interface_impl.h"

namespace wt {

class TAddInNotifier final : public TInterfaceImpl<TIAddInNotifier, TAddInNotifier> {
public:
    void Notify(std::uint8_t code, const char* fileName, bool* cancel) override;

private:
    friend class TInterfaceImpl<TIAddInNotifier, TAddInNotifier>;
    ~TAddInNotifier() = default;
};

} // namespace wt
