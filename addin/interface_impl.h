// The reference counting every object handed to the host shares: count 1 when
// created, destroyed through its own type when the count drops to 0.
#pragma once

#include "hostapi/toolsapi.h"

#include <cstdint>

namespace wt {

template <typename Interface, typename Derived>
class TInterfaceImpl : public Interface {
public:
    std::int32_t AddRef() override { return ++refCount_; }
    std::int32_t Release() override {
        std::int32_t count = --refCount_;
        if (count == 0)
            delete static_cast<Derived*>(this);
        return count;
    }
    std::int32_t GetVersion() override { return ToolsApiVersion; }
    std::int32_t RefCount() const { return refCount_; }

protected:
    TInterfaceImpl() = default;
    ~TInterfaceImpl() = default;

private:
    std::int32_t refCount_ = 1;
};

} // namespace wt
