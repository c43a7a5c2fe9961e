// How the user changes pages: clicks on tabs, the arrow keys, accelerator
// characters; the focus mark drawn by inversion on the current tab; and the
// design-time aids (pages switched by clicking tabs, a cursor over tabs).
#include "widgets/notebook/CSNoteBk.h"

#include "toolkit/forms/designer.h"
#include "toolkit/forms/form.h"

namespace wt {
namespace {

// Shared by every notebook: a design-time press on a tab keeps the designer
// from seeing the press and its release.
bool designClickLatch = false;

// The character after the first "&", or a null character.
QChar AcceleratorOf(const QString& caption) {
    const int p = caption.indexOf(u'&');
    if (p < 0 || p == caption.size() - 1)
        return {};
    return caption[p + 1];
}

} // namespace

void TcsNotebook::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    const int i = TabAtPos(x, y);
    if (i < 0 || !Page(i)->PageEnabled())
        return;
    if (!TakeFocus())
        return;
    const QString caption = Page(i)->Caption();
    SetActivePage(caption);
    if (ActivePage() == caption)
        TabClick();
}

void TcsNotebook::KeyDown(std::uint16_t& key, TShiftState) {
    const bool forward = key == VK_RIGHT || key == VK_DOWN;
    if (!forward && key != VK_LEFT && key != VK_UP)
        return;
    const int count = static_cast<int>(pageList_.size());
    if (count == 0)
        return;
    const int last = count - 1;
    int n = pageIndex_;
    for (int step = 0; step < count; ++step) {
        if (forward)
            n = n >= last ? 0 : n + 1;
        else
            n = n <= 0 ? last : n - 1;
        if (PageSelectable(n) || n == pageIndex_)
            break;
    }
    if (n == pageIndex_ || !PageSelectable(n))
        return;
    SetPageIndex(n);
    if (pageIndex_ == n)
        TabClick();
}

void TcsNotebook::TabClick() {
    Update();
    if (Focused() && !focusShown_) {
        DrawFocusMark();
        focusShown_ = true;
    }
    OnTabClick(this);
}

void TcsNotebook::DialogChar(TMessage& message) {
    if (!Enabled()) {
        TCustomControl::DefaultHandler(message);
        return;
    }
    const QChar typed(static_cast<char16_t>(message.WParam));
    int found = -1;
    for (int i = 0; i < static_cast<int>(pageList_.size()) && found < 0; ++i) {
        const QChar accel = AcceleratorOf(Page(i)->Caption());
        if (!accel.isNull() && accel.toCaseFolded() == typed.toCaseFolded() && PageSelectable(i))
            found = i;
    }
    if (found < 0) {
        TCustomControl::DefaultHandler(message);
        return;
    }
    message.Result = 1;
    if (!TakeFocus())
        return;
    const QString caption = Page(found)->Caption();
    SetActivePage(caption);
    if (ActivePage() == caption)
        TabClick();
}

// --- The focus mark -------------------------------------------------------------------------

void TcsNotebook::DrawFocusMark() {
    if (!layoutReady_)
        return;
    const TRect r = TextArea(ActivePage());
    Canvas().DrawFocusRect({r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1});
}

void TcsNotebook::FocusChanged(TWinControl* focused) {
    if (!AnyPageVisible())
        return;
    if (focused == this && !focusShown_) {
        DrawFocusMark();
        focusShown_ = true;
    } else if (focused != this && focusShown_) {
        DrawFocusMark();
        focusShown_ = false;
    }
}

void TcsNotebook::DoExit() {
    TCustomControl::DoExit();
    if (focusShown_) {
        DrawFocusMark();
        focusShown_ = false;
    }
}

// --- Design-time aids ---------------------------------------------------------------------------

void TcsNotebook::SetCursorMessage(TMessage& message) {
    if (Designing() && (message.LParam & 0xFFFF) == HTCLIENT) {
        lastHitPoint_ = ScreenToClient(lastHitPoint_);
        if (TabAtPos(lastHitPoint_.X, lastHitPoint_.Y) >= 0) {
            SetCursorNow(static_cast<TCursor>(TabCursor));
            message.Result = 1;
            return;
        }
    }
    TCustomControl::DefaultHandler(message);
}

void TcsNotebook::DesignHitTest(TMessage& message) {
    if (message.WParam & MK_LBUTTON) {
        if (designClickLatch) {
            message.Result = 1;
            return;
        }
        const int i = TabAtPos(MessagePointX(message.LParam), MessagePointY(message.LParam));
        if (i < 0) {
            TCustomControl::DefaultHandler(message);
            return;
        }
        SetPageIndex(i);
        designClickLatch = true;
        message.Result = 1;
        if (TForm* form = GetParentForm(this); form && form->Designer())
            form->Designer()->Modified();
        return;
    }
    if (designClickLatch) {
        designClickLatch = false;
        message.Result = 1;
        return;
    }
    TCustomControl::DefaultHandler(message);
}

} // namespace wt
