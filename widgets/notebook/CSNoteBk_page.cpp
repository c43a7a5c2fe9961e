// The notebook's pages (TcsPage) and their string-list view (TcsPageAccess):
// page edits with their refusals, and the notices a page sends its notebook.
#include "widgets/notebook/CSNoteBk.h"

#include "toolkit/core/reader.h"
#include "toolkit/forms/messagedlg.h"

#include <algorithm>
#include <stdexcept>

namespace wt {

// --- TcsPage -------------------------------------------------------------------

TcsPage::TcsPage(TComponent* owner) : TPage(owner) {
    SetEnabled(false); // only the current page is enabled (and shown)
}

TcsNotebook* TcsPage::Notebook() const { return dynamic_cast<TcsNotebook*>(Parent()); }

void TcsPage::SetBitmap(const TBitmap& value) {
    bitmap_ = value;
    BitmapChanged();
}

void TcsPage::SetNumGlyphs(int value) {
    if (value < 1 || value > 3)
        throw std::out_of_range("NumGlyphs must be 1, 2 or 3");
    if (value == numGlyphs_)
        return;
    numGlyphs_ = value;
    BitmapChanged();
}

void TcsPage::BitmapChanged() {
    if (TcsNotebook* nb = Notebook(); nb && !IsStreaming())
        nb->InvalidateTabText(this);
}

void TcsPage::SetPageEnabled(bool value) {
    if (value == pageEnabled_)
        return;
    pageEnabled_ = value;
    Perform(CM_PAGEENABLEDCHANGED);
}

void TcsPage::SetPageVisible(bool value) {
    if (value == pageVisible_)
        return;
    pageVisible_ = value;
    Perform(CM_PAGEVISIBLECHANGED);
}

void TcsPage::ReadState(TReader& reader) {
    // A page read into a notebook joins its page list; the page's own
    // controls belong to the form, not to the notebook.
    if (auto* nb = dynamic_cast<TcsNotebook*>(reader.Parent()))
        nb->pageList_.push_back(this);
    TComponent* oldOwner = reader.Owner();
    reader.SetOwner(reader.Root());
    try {
        TPage::ReadState(reader);
    } catch (...) {
        reader.SetOwner(oldOwner);
        throw;
    }
    reader.SetOwner(oldOwner);
}

void TcsPage::DefaultHandler(TMessage& message) {
    TcsNotebook* nb = Notebook();
    const bool notify = nb && !IsStreaming();
    switch (message.Msg) {
    case CM_PAGEENABLEDCHANGED:
        if (notify)
            nb->PageEnabledChanged(this);
        return;
    case CM_PAGEVISIBLECHANGED:
        if (notify)
            nb->PageVisibleChanged(this);
        return;
    case CM_TEXTCHANGED:
        TPage::DefaultHandler(message);
        if (nb)
            nb->TabRenamed(this);
        return;
    default: TPage::DefaultHandler(message);
    }
}

// --- TcsPageAccess -----------------------------------------------------------------

namespace {

const QString kCannotDelete =
    QStringLiteral("Cannot delete last remaining Tab.  Notebooks must have at least one Tab.");
const QString kCannotClear =
    QStringLiteral("Cannot clear all Notebook pages.  Notebooks with no pages are not allowed.");

QString DuplicateMessage(const QString& caption) {
    return QStringLiteral("Tab with Caption '") + caption +
           QStringLiteral("' already exists. Tab Captions must be unique.");
}

} // namespace

int TcsPageAccess::Count() const { return static_cast<int>(pageList_.size()); }

QString TcsPageAccess::Get(int index) const {
    TcsPage* page = notebook_.Page(index);
    return page ? page->Caption() : QString();
}

TComponent* TcsPageAccess::GetObject(int index) const { return notebook_.Page(index); }

bool TcsPageAccess::RefuseDuplicate(const QString& text) const {
    if (Find(text) < 0)
        return false;
    MessageDlg(DuplicateMessage(text), mtError, 0);
    return true;
}

TcsPage* TcsPageAccess::NewPage(const QString& text) {
    auto* page = new TcsPage(&notebook_);
    // Names are what form descriptions key components by: Page1, Page2, ...
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("Page%1").arg(n);
        if (!notebook_.FindComponent(name)) {
            page->SetName(name);
            break;
        }
    }
    page->SetParent(&notebook_);
    page->SetCaption(text);
    return page;
}

int TcsPageAccess::Add(const QString& text) {
    if (RefuseDuplicate(text))
        return -1;
    TcsPage* previous = notebook_.Page(notebook_.pageIndex_);
    pageList_.push_back(NewPage(text));
    notebook_.NotifyDesigner();
    notebook_.AfterPagesChanged(Count() - 1, previous);
    return Count() - 1;
}

void TcsPageAccess::Insert(int index, const QString& text) {
    if (RefuseDuplicate(text))
        return;
    index = std::clamp(index, 0, Count());
    TcsPage* previous = notebook_.Page(notebook_.pageIndex_);
    pageList_.insert(pageList_.begin() + index, NewPage(text));
    notebook_.NotifyDesigner();
    notebook_.AfterPagesChanged(index, previous);
}

void TcsPageAccess::Put(int index, const QString& text) {
    TcsPage* page = notebook_.Page(index);
    if (!page)
        return;
    const int found = Find(text);
    if (found >= 0 && found != index) {
        MessageDlg(DuplicateMessage(text), mtError, 0);
        return;
    }
    page->SetCaption(text);
    notebook_.NotifyDesigner();
}

void TcsPageAccess::Delete(int index) {
    if (Count() <= 1) {
        MessageDlg(kCannotDelete, mtError, 0);
        return;
    }
    TcsPage* gone = notebook_.Page(index);
    if (!gone)
        return;
    const QString remembered = notebook_.ActivePage();
    TcsPage* current = notebook_.Page(notebook_.pageIndex_);
    pageList_.erase(pageList_.begin() + index);
    delete gone;
    if (current == gone)
        current = nullptr;
    // The index follows the current page; without one there is none.
    const auto at = std::find(pageList_.begin(), pageList_.end(), current);
    notebook_.pageIndex_ = current ? static_cast<int>(at - pageList_.begin()) : -1;
    notebook_.NotifyDesigner();
    // Page 0 is shown, as a page change even when it already is current.
    notebook_.ChangePage(0, current);
    const int j = std::max(0, Find(remembered));
    notebook_.AfterPagesChanged(j, notebook_.Page(notebook_.pageIndex_));
}

void TcsPageAccess::Exchange(int index1, int index2) {
    if (index1 == index2 || !notebook_.Page(index1) || !notebook_.Page(index2))
        return;
    TcsPage* previous = notebook_.Page(notebook_.pageIndex_);
    std::swap(pageList_[static_cast<std::size_t>(index1)],
              pageList_[static_cast<std::size_t>(index2)]);
    notebook_.NotifyDesigner();
    const int c = notebook_.pageIndex_;
    if (c == index1 || c == index2) {
        notebook_.AfterPagesChanged(c == index1 ? index2 : index1, previous);
        notebook_.SetPageIndex(c);
    } else {
        notebook_.AfterPagesChanged(-1, previous);
    }
}

void TcsPageAccess::Move(int from, int to) {
    if (from == to || !notebook_.Page(from) || !notebook_.Page(to))
        return;
    const QString remembered = notebook_.ActivePage();
    TcsPage* previous = notebook_.Page(notebook_.pageIndex_);
    TcsPage* page = pageList_[static_cast<std::size_t>(from)];
    pageList_.erase(pageList_.begin() + from);
    pageList_.insert(pageList_.begin() + to, page);
    notebook_.NotifyDesigner();
    notebook_.AfterPagesChanged(Find(remembered), previous);
}

void TcsPageAccess::Clear() {
    if (notebook_.LayoutReady()) {
        MessageDlg(kCannotClear, mtError, 0);
        return;
    }
    const std::vector<TcsPage*> pages = pageList_;
    pageList_.clear();
    notebook_.pageIndex_ = -1;
    for (TcsPage* page : pages)
        delete page;
}

} // namespace wt
