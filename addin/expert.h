// The add-in's expert: its name, comment, identity and menu entry, and Execute,
// which opens the main panel. Every operation reports its own failures to the host.
#pragma once

#include "addin/interface_impl.h"

namespace wt {

class TWingtuckerExpert final : public TInterfaceImpl<TIExpert, TWingtuckerExpert> {
public:
    const char* GetName() override;
    const char* GetAuthor() override;
    const char* GetComment() override;
    const char* GetPage() override;
    std::uintptr_t GetGlyph() override;
    TExpertStyle GetStyle() override;
    TExpertState GetState() override;
    const char* GetIDString() override;
    const char* GetMenuText() override;
    void Execute() override;

private:
    friend class TInterfaceImpl<TIExpert, TWingtuckerExpert>;
    ~TWingtuckerExpert() = default;
};

} // namespace wt
