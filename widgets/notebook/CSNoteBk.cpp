// The notebook's construction, selection, property setters, streaming and
// message dispatch.
#include "widgets/notebook/CSNoteBk.h"

#include "toolkit/core/reader.h"
#include "toolkit/forms/designer.h"
#include "toolkit/forms/form.h"

#include <algorithm>

namespace wt {

TcsNotebook::TcsNotebook(TComponent* owner) : TCustomControl(owner) {
    SetBounds(Left(), Top(), 250, 150);
    pages_ = std::make_unique<TcsPageAccess>(pageList_, *this);
    pageIndex_ = -1;
    pages_->Add(QStringLiteral("Default"));
    SetPageIndex(0);
    SetTabStop(true);
    RebuildLayout();
}

TcsNotebook::~TcsNotebook() {
    SetState(ComponentState::Destroying, true);
    rows_.clear();
    tabRects_.clear();
    // The pages are owned components; the base destroys them.
    pageList_.clear();
}

TcsPage* TcsNotebook::Page(int index) const {
    if (index < 0 || index >= static_cast<int>(pageList_.size()))
        return nullptr;
    return pageList_[static_cast<std::size_t>(index)];
}

QString TcsNotebook::ActivePage() const { return pages_->Get(pageIndex_); }

TcsPage* TcsNotebook::PageOf(const QString& caption) const { return Page(pages_->Find(caption)); }

TBitmap TcsNotebook::Bitmap() const {
    const TcsPage* page = Page(pageIndex_);
    return page ? page->Bitmap() : TBitmap();
}

void TcsNotebook::SetBitmap(const TBitmap& value) {
    if (TcsPage* page = Page(pageIndex_))
        page->SetBitmap(value);
}

int TcsNotebook::NumGlyphs() const {
    const TcsPage* page = Page(pageIndex_);
    return page ? page->NumGlyphs() : 1;
}

void TcsNotebook::SetNumGlyphs(int value) {
    if (TcsPage* page = Page(pageIndex_))
        page->SetNumGlyphs(value);
}

void TcsNotebook::ShowControl(TControl* control) {
    const auto it = std::find(pageList_.begin(), pageList_.end(), control);
    if (it != pageList_.end())
        SetPageIndex(static_cast<int>(it - pageList_.begin()));
}

// --- Selection ---------------------------------------------------------------------

bool TcsNotebook::PageSelectable(int index) const {
    const TcsPage* page = Page(index);
    return page && page->PageEnabled() && page->PageVisible();
}

bool TcsNotebook::AnyPageSelectable() const {
    if (Designing())
        return true;
    return std::any_of(pageList_.begin(), pageList_.end(),
                       [](const TcsPage* p) { return p->PageEnabled() && p->PageVisible(); });
}

bool TcsNotebook::AnyPageVisible() const {
    return std::any_of(pageList_.begin(), pageList_.end(),
                       [](const TcsPage* p) { return p->PageVisible(); });
}

void TcsNotebook::SetPageIndex(int value) {
    if (IsLoading()) {
        pageIndex_ = value;
        return;
    }
    if (value == pageIndex_ || !Page(value))
        return;
    ChangePage(value, Page(pageIndex_));
}

bool TcsNotebook::TakeFocus() {
    SetFocus();
    return Focused();
}

// The steps of a page change after the index was found acceptable; oldPage
// is the page shown until now (nullptr for none), which need not stand at
// PageIndex any more after a page edit.
void TcsNotebook::ChangePage(int index, TcsPage* oldPage) {
    TcsPage* page = Page(index);
    if (!page)
        return;
    if (!Designing() && !page->PageEnabled()) {
        // A disabled page is selected only away from a hidden page, or when
        // no page is current (then nothing better is shown).
        const TcsPage* current = Page(pageIndex_);
        if (current && current->PageVisible())
            return;
    }
    if (!page->PageVisible())
        return;
    if (TForm* form = GetParentForm(this); form && !Designing()) {
        TWinControl* active = form->ActiveControl();
        if (active && (active == this || ContainsControl(active))) {
            form->SetActiveControl(this);
            if (!Focused() && !TakeFocus())
                return;
        }
    }
    bool allow = true;
    OnPageChanging(this, index, allow);
    if (!allow)
        return;
    if (layoutReady_ && !anchoredTabs_)
        RotateRows(page->Caption());
    ShowPage(page);
    if (oldPage && oldPage != page) {
        oldPage->SetEnabled(false);
        oldPage->SetVisible(false);
        if (saveResources_ && !oldPage->HasState(ComponentState::Designing))
            oldPage->ReleaseWindow();
    }
    const int oldIndex = pageIndex_;
    pageIndex_ = index;
    focusShown_ = false;
    RepaintChangedTabs(oldIndex, index);
    OnPageChanged(this);
}

void TcsNotebook::ShowPage(TcsPage* page) {
    page->BringToFront();
    page->SetEnabled(true);
    page->SetVisible(true);
    page->SetAlign(alClient);
}

void TcsNotebook::EnsureSelectablePage() {
    const int count = static_cast<int>(pageList_.size());
    if (count == 0 || PageSelectable(pageIndex_))
        return;
    // Every other index once, forward from the current one with wrapping.
    auto walk = [&](auto&& accept) {
        const int start = pageIndex_;
        for (int k = 1; k <= count; ++k) {
            const int i = ((start + k) % count + count) % count;
            if (i == start)
                break;
            if (accept(i))
                return i;
        }
        return -1;
    };
    if (const int i = walk([&](int i) { return PageSelectable(i); }); i >= 0) {
        SetPageIndex(i);
        return;
    }
    if (TcsPage* current = Page(pageIndex_);
        current && current->Enabled() && !current->PageEnabled())
        current->SetEnabled(false);
    if (!AnyPageVisible() || AnyPageSelectable())
        return;
    if (const int i = walk([&](int i) { return Page(i)->PageVisible(); }); i >= 0)
        SetPageIndex(i);
}

// --- Page edits ----------------------------------------------------------------------

void TcsNotebook::NotifyDesigner() {
    if (!Designing())
        return;
    if (TForm* form = GetParentForm(this); form && form->Designer())
        form->Designer()->Modified();
}

void TcsNotebook::AfterPagesChanged(int index, TcsPage* previousPage) {
    if (!layoutReady_) {
        // Before the layout is ready only the shown page is kept right: an
        // edit that put another page under PageIndex shows that page.
        if (Page(pageIndex_) && Page(pageIndex_) != previousPage)
            ChangePage(pageIndex_, previousPage);
        return;
    }
    const int p = pageIndex_;
    RefreshTabs();
    // An added page may be the first that can be selected, a deleted one the
    // last: the notebook is usable exactly while one can.
    if (!Designing())
        SetEnabled(AnyPageSelectable());
    const int target = index < 0 ? p : index;
    // The page shown until the edit is the old page of the change wherever
    // the edit moved it (an insert before it, say): it is the one to hide.
    const bool moved = previousPage && Page(pageIndex_) != previousPage;
    if (target >= 0 && Page(target) && Page(target) != previousPage &&
        (target == pageIndex_ || moved))
        ChangePage(target, previousPage);
    else
        SetPageIndex(target);
    // A change that did not happen (vetoed, or to a page that cannot be
    // selected) leaves the shown page where it is: PageIndex follows it.
    const auto shown = std::find(pageList_.begin(), pageList_.end(), previousPage);
    if (moved && shown != pageList_.end() && previousPage->Visible() &&
        Page(pageIndex_) != previousPage)
        pageIndex_ = static_cast<int>(shown - pageList_.begin());
}

void TcsNotebook::RefreshTabs() {
    if (!layoutReady_)
        return;
    tabRects_.clear();
    RebuildLayout();
    ComputeTabRects();
    Invalidate();
}

void TcsNotebook::PageEnabledChanged(TcsPage* page) {
    InvalidateTabText(page);
    if (Designing())
        return;
    const bool wasEnabled = Enabled();
    SetEnabled(AnyPageSelectable());
    if (page->Caption() == ActivePage() || (Enabled() && !wasEnabled)) {
        page->SetEnabled(page->PageEnabled());
        EnsureSelectablePage();
    }
}

void TcsNotebook::PageVisibleChanged(TcsPage*) {
    RefreshTabs();
    EnsureSelectablePage();
    if (!Designing())
        SetEnabled(AnyPageSelectable());
}

void TcsNotebook::TabRenamed(TcsPage* page) {
    const QString caption = page->Caption();
    const int index = pages_->Find(caption);
    if (index < 0)
        return;
    // The old caption is the one key no page carries any more.
    for (TTabEntry& entry : tabRects_) {
        if (pages_->Find(entry.Caption) >= 0)
            continue;
        const QString old = entry.Caption;
        const int row = RowOf(old);
        const int col = ColOf(old);
        entry.Caption = caption;
        if (row < static_cast<int>(rows_.size()) && col >= 0 &&
            col < rows_[static_cast<std::size_t>(row)].size())
            rows_[static_cast<std::size_t>(row)][col] = caption;
        InvalidateTabText(Page(index));
        return;
    }
}

// --- Property setters ------------------------------------------------------------------

void TcsNotebook::Rebuild() {
    RebuildLayout();
    Invalidate();
}

void TcsNotebook::SetTabOrientation(TTabOrientation value) {
    if (value == tabOrientation_)
        return;
    const bool wasHorizontal = Horizontal();
    tabOrientation_ = value;
    if (Streaming())
        return;
    if (wasHorizontal != Horizontal())
        sidewaysText_ = Vertical();
    Rebuild();
}

void TcsNotebook::SetTabsPerRow(int value) {
    tabsPerRow_ = value <= 0 ? 3 : value;
    if (!Streaming())
        Rebuild();
}

void TcsNotebook::SetRowIndent(int value) {
    if (value < 0 || value == rowIndent_)
        return;
    rowIndent_ = value;
    if (!Streaming())
        Rebuild();
}

void TcsNotebook::SetTabHeight(int value) {
    if (value == tabHeight_)
        return;
    tabHeight_ = value;
    SetCornerSize(cornerSize_);
    if (!Streaming())
        Rebuild();
}

void TcsNotebook::SetCornerSize(int value) {
    if (tabHeight_ > 0)
        value = std::min(value, tabHeight_ - 1);
    value = std::max(1, value);
    const bool changed = value != cornerSize_;
    cornerSize_ = value;
    if (maxTabWidth_ > 0)
        maxTabWidth_ = std::max(maxTabWidth_, 2 * cornerSize_ + 6);
    if (changed && !Streaming())
        Invalidate();
}

void TcsNotebook::SetMaxTabWidth(int value) {
    if (value > 0 && value < 15)
        value = 15;
    const bool changed = value != maxTabWidth_;
    maxTabWidth_ = value;
    if (value > 0)
        cornerSize_ = std::min(cornerSize_, std::max(1, value / 2 - 6));
    if (changed && !Streaming())
        Invalidate();
}

void TcsNotebook::SetAnchoredTabs(bool value) {
    if (value == anchoredTabs_)
        return;
    anchoredTabs_ = value;
    if (!Streaming())
        Rebuild();
}

void TcsNotebook::SetSidewaysText(bool value) {
    if (value == sidewaysText_)
        return;
    if (Streaming()) {
        sidewaysText_ = value;
        return;
    }
    if (value && Horizontal())
        return;
    sidewaysText_ = value;
    InvalidateTabTexts(TTabTexts::All);
}

void TcsNotebook::SetTextAlignment(TTextAlignment value) {
    if (value == textAlignment_)
        return;
    textAlignment_ = value;
    if (!Streaming())
        InvalidateTabTexts(TTabTexts::All);
}

void TcsNotebook::SetBitmapAlignment(TBitmapAlignment value) {
    if (value == bitmapAlignment_)
        return;
    bitmapAlignment_ = value;
    if (!Streaming())
        InvalidateTabTexts(TTabTexts::All);
}

void TcsNotebook::SetSelectedColor(TColor value) {
    if (value == selectedColor_)
        return;
    selectedColor_ = value;
    InvalidateTabTexts(TTabTexts::Current);
}

void TcsNotebook::SetUnselectedColor(TColor value) {
    if (value == unselectedColor_)
        return;
    unselectedColor_ = value;
    InvalidateTabTexts(TTabTexts::Unselected);
}

void TcsNotebook::SetUnselectedTabColor(TColor value) {
    if (value == unselectedTabColor_)
        return;
    unselectedTabColor_ = value;
    if (useUnselectedTabColor_)
        Invalidate();
}

void TcsNotebook::SetUseUnselectedTabColor(bool value) {
    if (value == useUnselectedTabColor_)
        return;
    useUnselectedTabColor_ = value;
    if (unselectedTabColor_ != Color())
        Invalidate();
}

void TcsNotebook::SetSaveResources(bool value) {
    if (value == saveResources_)
        return;
    saveResources_ = value;
    if (!value || Designing() || Streaming())
        return;
    for (TcsPage* page : pageList_)
        if (page != Page(pageIndex_))
            page->ReleaseWindow();
}

void TcsNotebook::InvalidateTabTexts(TTabTexts which) {
    if (!HandleAllocated() || !layoutReady_)
        return;
    const TcsPage* current = Page(pageIndex_);
    for (const TcsPage* page : pageList_) {
        if (which == TTabTexts::Current && page != current)
            continue;
        if (which == TTabTexts::Unselected && page == current)
            continue;
        if (page->PageVisible())
            InvalidateRect(TextArea(page->Caption()), true);
    }
}

void TcsNotebook::InvalidateTabText(const TcsPage* page) {
    if (!HandleAllocated() || !page || !page->PageVisible() || pages_->Find(page->Caption()) < 0)
        return;
    InvalidateRect(TextArea(page->Caption()), true);
}

// --- The tab font ------------------------------------------------------------------------

void TcsNotebook::SetTabFont(const TFont& value) {
    tabFont_ = value;
    if (!Streaming())
        TabFontChanged();
}

void TcsNotebook::TabFontChanged() {
    InvalidateTabTexts(TTabTexts::All);
    parentTabFont_ = false;
    Perform(CM_TABFONTCHANGED);
}

void TcsNotebook::SetParentTabFont(bool value) {
    if (value == parentTabFont_)
        return;
    parentTabFont_ = value;
    if (Parent() && !Streaming())
        Perform(CM_PARENTFONTCHANGED);
}

void TcsNotebook::SetParent(TWinControl* parent) {
    TCustomControl::SetParent(parent);
    // A tab font that follows the parent takes the new parent's font.
    if (parentTabFont_ && parent && !Streaming()) {
        tabFont_ = parent->Font();
        InvalidateTabTexts(TTabTexts::All);
    }
}

bool TcsNotebook::IsPropertyStored(const char* name) const {
    // A tab font taken from the parent is the parent's to store.
    if (QByteArray(name) == "TabFont")
        return !parentTabFont_;
    return TCustomControl::IsPropertyStored(name);
}

// --- Streaming ---------------------------------------------------------------------------

void TcsNotebook::ReadState(TReader& reader) {
    pages_->Clear();
    TComponent* oldOwner = reader.Owner();
    reader.SetOwner(this);
    try {
        TCustomControl::ReadState(reader);
    } catch (...) {
        reader.SetOwner(oldOwner);
        throw;
    }
    reader.SetOwner(oldOwner);
    if (TcsPage* page = Page(pageIndex_))
        ShowPage(page);
    else
        pageIndex_ = -1;
}

std::vector<TComponent*> TcsNotebook::StreamedChildren(TComponent*) const {
    return {pageList_.begin(), pageList_.end()};
}

void TcsNotebook::Loaded() {
    TCustomControl::Loaded();
    if (parentTabFont_ && Parent())
        tabFont_ = Parent()->Font();
    if (Horizontal())
        sidewaysText_ = false;
    if (!layoutReady_) {
        RebuildLayout();
        layoutReady_ = true;
    }
    ComputeTabRects();
    if (!Designing()) {
        EnsureSelectablePage();
        SetEnabled(AnyPageSelectable());
    }
}

void TcsNotebook::AlignControls(TControl* control, TRect& rect) {
    rect = PageArea();
    TCustomControl::AlignControls(control, rect);
}

// --- Messages ----------------------------------------------------------------------------

void TcsNotebook::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
    case CM_DIALOGCHAR: DialogChar(message); return;
    case CM_FOCUSCHANGED:
        FocusChanged(reinterpret_cast<TWinControl*>(message.LParam));
        TCustomControl::DefaultHandler(message);
        return;
    case WM_NCHITTEST:
        TCustomControl::DefaultHandler(message);
        lastHitPoint_ = {MessagePointX(message.LParam), MessagePointY(message.LParam)};
        return;
    case WM_SETCURSOR: SetCursorMessage(message); return;
    case CM_DESIGNHITTEST: DesignHitTest(message); return;
    case CM_TABFONTCHANGED:
        // The canvas takes TabFont at every paint; no window font to set.
        TCustomControl::DefaultHandler(message);
        return;
    case CM_PARENTFONTCHANGED:
        TCustomControl::DefaultHandler(message);
        if (parentTabFont_ && Parent()) {
            SetTabFont(Parent()->Font());
            parentTabFont_ = true;
        }
        return;
    case CM_PARENTCOLORCHANGED:
        if (ParentColor())
            TCustomControl::DefaultHandler(message);
        else
            Invalidate();
        return;
    default: TCustomControl::DefaultHandler(message);
    }
}

} // namespace wt
