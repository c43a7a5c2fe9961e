// The notebook's geometry: which visible tab goes into which row, every
// tab's rectangle, the body as seen from each row, the page area, the inner
// area of a tab, row rotation, hit testing and what a page change repaints.
// Rectangles are in client coordinates, right and bottom exclusive.
#include "widgets/notebook/CSNoteBk.h"

#include <algorithm>

namespace wt {

int TcsNotebook::RowExtent() const {
    if (tabsPerRow_ == 0)
        return 1;
    const int visible = static_cast<int>(std::count_if(
        pageList_.begin(), pageList_.end(), [](const TcsPage* p) { return p->PageVisible(); }));
    return (visible - 1) / tabsPerRow_ + 1;
}

TRect TcsNotebook::InnerRect() const {
    const TRect c = ClientRect();
    return {0, 0, c.Right - 1, c.Bottom - 1};
}

TRect TcsNotebook::TabArea() const {
    const TRect c = InnerRect();
    const int w = c.Right - c.Left;
    const int h = c.Bottom - c.Top;
    const int d = TabsDepth();
    TRect a;
    a.Left = tabOrientation_ == toRight ? w - d : 0;
    a.Top = tabOrientation_ == toBottom ? h - d : 0;
    a.Right = tabOrientation_ == toLeft ? d : w;
    a.Bottom = tabOrientation_ == toTop ? d : h;
    if (maxTabWidth_ > 0) {
        const int m = tabsPerRow_ * maxTabWidth_;
        if (Horizontal()) {
            if (m < a.Right - a.Left)
                a.Right = m - 1; // the tabs start at the left end
        } else if (m < a.Bottom - a.Top) {
            if (tabOrientation_ == toLeft)
                a.Top = a.Bottom - (m - 1); // the tabs start at the bottom
            else
                a.Bottom = m - 1; // the tabs start at the top
        }
    }
    return a;
}

TRect TcsNotebook::BodyRect() const {
    TRect b = InnerRect();
    const int d = TabsDepth();
    switch (tabOrientation_) {
    case toTop: b.Top += d; break;
    case toLeft: b.Left += d; break;
    case toBottom: b.Bottom -= d; break;
    case toRight: b.Right -= d; break;
    }
    return b;
}

TRect TcsNotebook::RowBodyRect(int i) const {
    const TRect b = BodyRect();
    const int r = rowCount_;
    const int h = tabHeight_;
    const int k = rowIndent_;
    const int farEnd = (r - i - 1) * k; // set in for every row in front of the back row
    switch (tabOrientation_) {
    case toTop: return {b.Left + i * k, b.Top - i * h, b.Right - farEnd, b.Bottom - i * h};
    case toLeft: return {b.Left - i * h, b.Top + farEnd, b.Right - i * h, b.Bottom - i * k};
    case toBottom: return {b.Left + i * k, b.Top + i * h, b.Right - farEnd, b.Bottom + i * h};
    case toRight: return {b.Left + i * h, b.Top + i * k, b.Right + i * h, b.Bottom - farEnd};
    }
    return b;
}

TRect TcsNotebook::PageArea() const {
    const TRect r = RowBodyRect(0);
    return {r.Left + 3, r.Top + 3, r.Right - 2, r.Bottom - 2};
}

TcsTab* TcsNotebook::FindTab(const QString& caption) {
    for (TTabEntry& e : tabRects_)
        if (e.Caption.compare(caption, Qt::CaseInsensitive) == 0)
            return &e.Tab;
    return nullptr;
}

const TcsTab* TcsNotebook::FindTab(const QString& caption) const {
    return const_cast<TcsNotebook*>(this)->FindTab(caption);
}

QStringList TcsNotebook::TabCaptions() const {
    QStringList out;
    for (const TTabEntry& e : tabRects_)
        out << e.Caption;
    return out;
}

TRect TcsNotebook::TabRect(const QString& caption) const {
    const TcsTab* tab = FindTab(caption);
    if (!tab)
        return {};
    const TRect a = TabArea();
    return {tab->Left + a.Left, tab->Top + a.Top, tab->Right + a.Left, tab->Bottom + a.Top};
}

TRect TcsNotebook::TextArea(const QString& caption) const {
    const TRect r = TabRect(caption);
    const int q = std::max(3, cornerSize_);
    // The side facing the body moves in by 1, the other three by q.
    TRect t{r.Left + (tabOrientation_ == toRight ? 1 : q),
            r.Top + (tabOrientation_ == toBottom ? 1 : q),
            r.Right - (tabOrientation_ == toLeft ? 1 : q),
            r.Bottom - (tabOrientation_ == toTop ? 1 : q)};
    return {t.Left + 1, t.Top + 1, t.Right - 1, t.Bottom - 1};
}

int TcsNotebook::RowOf(const QString& caption) const {
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (rows_[r].contains(caption, Qt::CaseInsensitive))
            return static_cast<int>(r);
    return 0;
}

int TcsNotebook::ColOf(const QString& caption) const {
    const std::size_t r = static_cast<std::size_t>(RowOf(caption));
    if (r >= rows_.size())
        return -1;
    for (int c = 0; c < rows_[r].size(); ++c)
        if (rows_[r][c].compare(caption, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

int TcsNotebook::TabAtPos(int x, int y) const {
    for (std::size_t i = 0; i < pageList_.size(); ++i) {
        const TcsPage* page = pageList_[i];
        if (!page->PageVisible() || !FindTab(page->Caption()))
            continue;
        const TRect r = TabRect(page->Caption());
        if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom)
            return static_cast<int>(i);
    }
    return -1;
}

// --- Building the rows and rectangles -------------------------------------------------

void TcsNotebook::RebuildLayout() {
    rowCount_ = RowExtent();
    BuildRows();
    if (!anchoredTabs_)
        RotateRows(ActivePage());
    Realign();
}

void TcsNotebook::BuildRows() {
    rows_.clear();
    std::size_t i = 0;
    int n = 0;
    while (i < pageList_.size()) {
        QStringList row;
        while (i < pageList_.size() && n < tabsPerRow_) {
            const TcsPage* page = pageList_[i++];
            if (page->PageVisible()) {
                row << page->Caption();
                ++n;
            }
        }
        if (!row.isEmpty()) {
            rows_.push_back(row);
            n = 0;
        }
    }
}

void TcsNotebook::RotateRows(const QString& caption) {
    const int r = RowOf(caption);
    const int count = std::min(rowCount_, static_cast<int>(rows_.size()));
    if (r <= 0 || r >= count)
        return;
    std::rotate(rows_.begin(), rows_.begin() + r, rows_.begin() + count);
}

void TcsNotebook::StretchLastTab(TRect& rect, int row, int col) const {
    if (maxTabWidth_ != 0 || col != tabsPerRow_ - 1)
        return;
    const TRect c = InnerRect();
    const int e = (rowCount_ - row - 1) * rowIndent_;
    switch (tabOrientation_) {
    case toLeft: rect.Top = e; break;
    case toRight: rect.Bottom = c.Bottom - e; break;
    default: rect.Right = c.Right - e; break;
    }
}

void TcsNotebook::ComputeTabRects() {
    const TRect a = TabArea();
    const int w = a.Right - a.Left;
    const int h = a.Bottom - a.Top;
    const int r = std::max(1, rowCount_);
    const int t = std::max(1, tabsPerRow_);
    const int k = rowIndent_;
    int dx, dy;
    if (Horizontal()) {
        dx = (w - (r - 1) * k) / t;
        dy = h / r;
    } else {
        dx = w / r;
        dy = (h - (r - 1) * k) / t;
    }
    int x = tabOrientation_ == toLeft ? (r - 1) * dx : 0;
    int y = tabOrientation_ == toTop ? (r - 1) * dy : tabOrientation_ == toLeft ? h - dy : 0;
    int i = 0, j = 0;
    while (i < r) {
        const bool has =
            i < static_cast<int>(rows_.size()) && j < rows_[static_cast<std::size_t>(i)].size();
        if (has) {
            const QString caption = rows_[static_cast<std::size_t>(i)][j];
            TRect rect{x, y, x + dx, y + dy};
            StretchLastTab(rect, i, j);
            if (TcsTab* tab = FindTab(caption))
                tab->SetRect(rect);
            else
                tabRects_.push_back(
                    {caption, TcsTab{rect.Left, rect.Top, rect.Right, rect.Bottom}});
            switch (tabOrientation_) {
            case toLeft: y -= dy; break;
            case toRight: y += dy; break;
            default: x += dx; break;
            }
            ++j;
        } else {
            j = t;
        }
        if (j == t) {
            ++i;
            j = 0;
            switch (tabOrientation_) {
            case toTop: x = i * k, y = (r - i - 1) * dy; break;
            case toLeft: x = (r - i - 1) * dx, y = (t - 1) * dy + (r - i - 1) * k; break;
            case toBottom: x = i * k, y += dy; break;
            case toRight: x = i * dx, y = i * k; break;
            }
        }
    }
}

// --- What a page change repaints ---------------------------------------------------------

std::vector<TPoint> TcsNotebook::PushedOutline(const QString& caption, int push) const {
    std::vector<TPoint> p = TabOutline(TabRect(caption), 0, RowOf(caption), ColOf(caption));
    switch (tabOrientation_) {
    case toTop: p[0].Y += push, p[5].Y = p[0].Y; break;
    case toLeft: p[0].X += push, p[5].X = p[0].X; break;
    case toBottom: p[0].Y -= push, p[5].Y = p[0].Y; break;
    case toRight: p[0].X -= push, p[5].X = p[0].X; break;
    }
    return p;
}

void TcsNotebook::RepaintChangedTabs(int oldIndex, int newIndex) {
    if (oldIndex >= static_cast<int>(pageList_.size()) || !HandleAllocated())
        return;
    const TcsPage* oldPage = Page(oldIndex);
    const TcsPage* newPage = Page(newIndex);
    if (oldPage && newPage && oldPage->PageVisible() && newPage->PageVisible() &&
        (rowCount_ == 1 || RowOf(oldPage->Caption()) == RowOf(newPage->Caption()) ||
         anchoredTabs_)) {
        for (const TcsPage* page : {newPage, oldPage}) {
            std::vector<TPoint> p;
            if (anchoredTabs_) {
                const QString c = page->Caption();
                p = TabOutline(TabRect(c), 0, RowOf(c), ColOf(c));
            } else {
                const bool nearSide = tabOrientation_ == toTop || tabOrientation_ == toLeft;
                p = PushedOutline(page->Caption(), nearSide ? 4 : 3);
            }
            InvalidateRgn(TRegion::FromPolygon(p), true);
        }
        return;
    }
    // The rows rotate, a tab is hidden, or no page was current before.
    TRect a = TabArea();
    if (!anchoredTabs_) {
        switch (tabOrientation_) {
        case toTop: a.Right += 1, a.Bottom += 3; break;
        case toLeft: a.Right += 3, a.Bottom += 1; break;
        case toBottom: a.Top -= 2, a.Right += 1, a.Bottom += 1; break;
        case toRight: a.Left -= 2, a.Right += 1, a.Bottom += 1; break;
        }
    }
    InvalidateRect(a, true);
}

} // namespace wt
