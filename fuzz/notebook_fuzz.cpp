// The notebook's pages under random edits and selections: Add, Insert, Put,
// Delete, Exchange, Move, Clear, PageEnabled, PageVisible, PageIndex,
// ActivePage, clicks and arrow keys. After each one the notebook holds a
// page, its captions are unique ignoring case, and only the current page is
// shown and enabled (unless disabled itself); after a page's PageEnabled or PageVisible changes,
// the notebook is enabled exactly when some page can be selected.
#include "fuzz/fuzz_support.h"

#include "platform/platform.h"
#include "platform/sim/sim_platform.h"
#include "toolkit/core/messages.h"
#include "toolkit/forms/form.h"
#include "widgets/notebook/CSNoteBk.h"

#include <memory>
#include <string>

namespace wt::fuzz {
namespace {

const char* const Captions[] = {"Hiding", "Sound", "Movement", "General", "a", "&b", "", "c d"};

QString Caption(FuzzedDataProvider& in) { return QString::fromStdString(PickName(in, Captions)); }

int Index(FuzzedDataProvider& in, const TcsNotebook& nb) {
    return in.ConsumeIntegralInRange(-1, static_cast<int>(nb.PageList().size()));
}

void CheckInvariants(TcsNotebook& nb) {
    TcsPageAccess& pages = nb.Pages();
    Check(pages.Count() >= 1, "the notebook holds no page");
    Check(static_cast<std::size_t>(pages.Count()) == nb.PageList().size(),
          "the pages and the page list disagree");
    Check(nb.PageIndex() >= -1 && nb.PageIndex() < pages.Count(), "the page index lies outside");
    for (int i = 0; i < pages.Count(); ++i) {
        for (int j = i + 1; j < pages.Count(); ++j)
            Check(pages.Get(i).compare(pages.Get(j), Qt::CaseInsensitive) != 0,
                  "two pages have the same caption");
        const TcsPage* page = nb.Page(i);
        const bool current = i == nb.PageIndex();
        // The current page is enabled, unless it was disabled itself (it may
        // then stay enabled, when it was chosen away from a hidden page).
        const bool enabledRight =
            current ? page->Enabled() || !page->PageEnabled() : !page->Enabled();
        if (page->Visible() != current || !enabledRight)
            Fail("page " + std::to_string(i) + " of " + std::to_string(pages.Count()) +
                 (current ? " (the current one)" : "") + " is" + (page->Visible() ? "" : " not") +
                 " shown and" + (page->Enabled() ? "" : " not") + " enabled");
    }
}

void OneStep(FuzzedDataProvider& in, TcsNotebook& nb) {
    TcsPageAccess& pages = nb.Pages();
    const int op = in.ConsumeIntegralInRange(0, 14);
    Trace("step %d, %d pages, current %d\n", op, pages.Count(), nb.PageIndex());
    switch (op) {
    case 0: pages.Add(Caption(in)); break;
    case 1: pages.Insert(Index(in, nb), Caption(in)); break;
    case 2: pages.Put(Index(in, nb), Caption(in)); break;
    case 3: pages.Delete(Index(in, nb)); break;
    case 4: pages.Exchange(Index(in, nb), Index(in, nb)); break;
    case 5: pages.Move(Index(in, nb), Index(in, nb)); break;
    case 6: pages.Clear(); break;
    case 7:
    case 8:
        if (TcsPage* page = nb.Page(Index(in, nb))) {
            const bool on = in.ConsumeBool();
            const bool enabled = in.ConsumeBool();
            Trace("  %s := %d\n", enabled ? "PageEnabled" : "PageVisible", on);
            const bool change = on != (enabled ? page->PageEnabled() : page->PageVisible());
            if (enabled)
                page->SetPageEnabled(on);
            else
                page->SetPageVisible(on);
            Check(!change || nb.Enabled() == nb.AnyPageSelectable(),
                  "the notebook's Enabled does not follow whether a page can be selected");
        }
        break;
    case 9: nb.SetPageIndex(Index(in, nb)); break;
    case 10: nb.SetActivePage(Caption(in)); break;
    case 11:
        nb.MouseDown(mbLeft, {}, in.ConsumeIntegralInRange(-5, nb.Width() + 5),
                     in.ConsumeIntegralInRange(-5, nb.Height() + 5));
        break;
    case 12: {
        static const std::uint16_t keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_TAB, VK_NEXT};
        std::uint16_t key = keys[in.ConsumeIntegralInRange<std::size_t>(0, std::size(keys) - 1)];
        nb.KeyDown(key, {});
        break;
    }
    case 13:
        nb.SetTabOrientation(
            static_cast<TcsNotebook::TTabOrientation>(in.ConsumeIntegralInRange(0, 3)));
        nb.SetTabsPerRow(in.ConsumeIntegralInRange(1, 5));
        break;
    default: nb.PaintToImage(); break;
    }
}

} // namespace
} // namespace wt::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wt::fuzz::EnsureApplication();
    wt::InstallPlatform(std::make_unique<wt::SimPlatform>(wt::fuzz::WorkDirectory()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wt;
    FuzzedDataProvider in(data, size);
    TForm form;
    form.SetBounds(0, 0, 400, 300);
    auto* nb = new TcsNotebook(&form);
    nb->SetParent(&form);
    nb->SetBounds(0, 0, in.ConsumeIntegralInRange(40, 390), in.ConsumeIntegralInRange(40, 290));
    QStringList captions;
    for (int n = in.ConsumeIntegralInRange(1, 6); n > 0; --n)
        captions << fuzz::Caption(in);
    nb->SetPages(captions);
    if (nb->Pages().Count() == 0)
        nb->Pages().Add(QStringLiteral("Default"));
    nb->SetPageIndex(0);
    nb->PaintToImage(); // the first paint makes the layout ready
    fuzz::CheckInvariants(*nb);
    for (int step = 0; step < 32 && in.remaining_bytes() > 0; ++step) {
        fuzz::OneStep(in, *nb);
        fuzz::CheckInvariants(*nb);
    }
    static_cast<SimPlatform&>(ThePlatform()).ClearRecords();
    return 0;
}
