// The notebook's frame: the background fill, every tab's outline with its
// cut corners, the raised edges, the body frame open under the current tab,
// and the stepped frames of the rows behind. Shapes are worked out as if
// the tabs were on top, in a transposed frame, and mapped to the real side.
#include "widgets/notebook/CSNoteBk.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace wt {
namespace {

constexpr TColor W = clWindowFrame;
constexpr TColor H = clBtnHighlight;
constexpr TColor S = clBtnShadow;

// Indexed by orientation: toTop, toLeft, toBottom, toRight.
constexpr std::array<std::array<TColor, 4>, 4> kAnchoredFrame{
    {{H, H, S, S}, {H, S, S, H}, {S, H, H, S}, {S, H, H, S}}};
// Segments 0 to 7; segment 2 is the opening and never drawn.
constexpr std::array<std::array<TColor, 8>, 4> kOpenFrame{{{H, S, W, H, H, H, S, S},
                                                           {H, H, W, S, H, S, S, H},
                                                           {S, S, W, H, S, H, H, S},
                                                           {S, S, W, H, S, H, H, S}}};
constexpr std::array<std::array<TColor, 3>, 4> kBackFrame{
    {{H, S, S}, {H, H, S}, {S, S, H}, {S, S, H}}};

void Line(TCanvas& canvas, TPoint a, TPoint b) {
    canvas.MoveTo(a.X, a.Y);
    canvas.LineTo(b.X, b.Y);
}

// How a tab's outline is drawn in each orientation (toTop, toLeft,
// toBottom, toRight): the pen of each of its five edges, and where the
// second stroke of a doubled outline lies beside the edges from point 1 to
// 2 and from 3 to 4 (offsets of points 1, 2, 3 and 4).
struct TabEdges {
    std::array<TColor, 5> Pens;
    std::array<TPoint, 4> Doubled;
};
constexpr std::array<TabEdges, 4> kTabEdges{{
    {{H, H, H, S, S}, {{{0, 1}, {1, 0}, {-1, 0}, {0, 1}}}},
    {{S, S, H, H, H}, {{{1, 0}, {0, -1}, {0, 1}, {1, 0}}}},
    {{H, S, S, S, S}, {{{0, -1}, {1, 0}, {-1, 0}, {0, -1}}}},
    {{H, S, S, S, S}, {{{-1, 0}, {0, 1}, {0, -1}, {-1, 0}}}},
}};

void Pen(TCanvas& canvas, TColor color) {
    canvas.Pen.Color = color;
    canvas.Pen.Style = psSolid;
    canvas.Pen.Width = 1;
}

} // namespace

TRect TcsNotebook::Transpose(TRect r, TTabOrientation orientation) {
    if (orientation == toTop || orientation == toBottom)
        return r;
    return {r.Left, r.Top, r.Left + (r.Bottom - r.Top), r.Top + (r.Right - r.Left)};
}

std::vector<TPoint> TcsNotebook::MapToOrientation(std::vector<TPoint> points, const TRect& r,
                                                  const TRect& t) const {
    for (TPoint& p : points) {
        const int x = p.X, y = p.Y;
        switch (tabOrientation_) {
        case toTop: break;
        case toLeft: p = {r.Left + (y - t.Top), r.Bottom - (x - t.Left)}; break;
        case toBottom: p = {x, r.Bottom - (y - t.Top)}; break;
        case toRight: p = {r.Left + (t.Bottom - y), r.Top + (x - t.Left)}; break;
        }
    }
    return points;
}

int TcsNotebook::CornerOverlap() const {
    if (rowIndent_ >= cornerSize_)
        return 0;
    const double ov = cornerSize_ * (1.0 - static_cast<double>(rowIndent_) / cornerSize_);
    return std::max(0, static_cast<int>(std::lround(ov)));
}

QString TcsNotebook::CaptionAt(int row, int col) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || col < 0)
        return {};
    const QStringList& r = rows_[static_cast<std::size_t>(row)];
    return col < r.size() ? r[col] : QString();
}

std::vector<TPoint> TcsNotebook::TabOutline(const TRect& rect, int i, int row, int col) const {
    const int cs = cornerSize_;
    const int ov = CornerOverlap();
    const int k = rowIndent_;
    const TRect t = Transpose(rect);
    const int l = t.Left, top = t.Top, r = t.Right, b = t.Bottom;
    const bool frontAtCol = row > 0 && !CaptionAt(row - 1, col).isEmpty();
    const bool frontAtNext = row > 0 && !CaptionAt(row - 1, col + 1).isEmpty();
    std::vector<TPoint> p(6);
    if (row == 0)
        p[0] = {l + i, b - 1};
    else if (col == 0)
        p[0] = {l + i, b - 1 + std::max(0, ov - i)};
    else if (frontAtCol)
        p[0] = {l + i, b - 1 + std::min(5, std::max(0, ov - i))};
    else
        p[0] = {l + i, b + 5};
    p[1] = {l + i, top + cs};
    p[2] = {l + cs, top + i};
    p[3] = {r - cs, top + i};
    p[4] = {r - i, top + cs};
    if (row == 0) {
        p[5] = {r - i, b};
    } else if (col == tabsPerRow_ - 1 || (col < tabsPerRow_ - 1 && !frontAtNext)) {
        p[5] = {r - i, b + 5};
    } else {
        int e = 0;
        if (k == 0)
            e = std::min(5, std::max(0, cs - i));
        else if (k == 1)
            e = std::min(5, cs - 1 + (i == 1 ? 1 : 0));
        else if (k >= 2 && k <= cs)
            e = std::min(5, ov + i);
        else if (k == cs + 1)
            e = i == 2 ? 1 : 0;
        p[5] = {r - i, b + e};
    }
    return MapToOrientation(std::move(p), rect, t);
}

TColor TcsNotebook::TabBackColor(const QString& caption) const {
    if (useUnselectedTabColor_ && caption.compare(ActivePage(), Qt::CaseInsensitive) != 0)
        return unselectedTabColor_;
    return Color();
}

// --- Background --------------------------------------------------------------------------

void TcsNotebook::EraseBackground(TCanvas& canvas) {
    if (!layoutReady_) {
        RebuildLayout();
        layoutReady_ = true;
    }
    ComputeTabRects();
    const TRect client = ClientRect();
    const TColor brush = Color();
    const TColor parentColor = Parent() ? Parent()->Color() : brush;
    const TBrush saved = canvas.Brush;
    auto fill = [&](const TRegion& region, TColor color) {
        TBrush b;
        b.Color = color;
        canvas.FillRgn(region, b);
    };
    if (ParentColor() && !useUnselectedTabColor_) {
        fill(TRegion(client), parentColor);
        return;
    }
    const TRect body = RowBodyRect(0);
    // A tab's polygon with its feet reaching up to 6 pixels into the body.
    auto tabShape = [&](const QString& caption) {
        std::vector<TPoint> p = TabOutline(TabRect(caption), 0, RowOf(caption), ColOf(caption));
        switch (tabOrientation_) {
        case toTop: p[0].Y = std::min(p[0].Y + 6, body.Top), p[5].Y = p[0].Y; break;
        case toLeft: p[0].X = std::min(p[0].X + 6, body.Left), p[5].X = p[0].X; break;
        case toBottom: p[0].Y = std::max(p[0].Y - 6, body.Bottom), p[5].Y = p[0].Y; break;
        case toRight: p[0].X = std::max(p[0].X - 6, body.Right), p[5].X = p[0].X; break;
        }
        return TRegion::FromPolygon(p);
    };
    TRegion shape(body);
    for (const TTabEntry& e : tabRects_)
        shape = shape.Union(tabShape(e.Caption));
    for (int i = 1; i < rowCount_; ++i) {
        TRect r = RowBodyRect(i);
        switch (tabOrientation_) {
        case toTop: r.Top = std::min(r.Top + 5, r.Bottom); break;
        case toLeft: r.Left = std::min(r.Left + 5, r.Right); break;
        case toBottom: r.Bottom = std::max(r.Bottom - 5, r.Top); break;
        case toRight: r.Right = std::max(r.Right - 5, r.Left); break;
        }
        shape = shape.Union(TRegion(r));
    }
    const TRegion outside = TRegion(client).Difference(shape);
    TColor shapeColor = brush;
    if (useUnselectedTabColor_ && (rowCount_ == 1 || !anchoredTabs_)) {
        TRegion current(body);
        if (FindTab(ActivePage()))
            current = current.Union(tabShape(ActivePage()));
        fill(current, Color());
        shape = shape.Difference(current);
        shapeColor = unselectedTabColor_;
    }
    fill(shape, shapeColor);
    fill(outside, parentColor);
    canvas.Brush = saved;
}

// --- Paint step ---------------------------------------------------------------------------

void TcsNotebook::Paint() {
    if (!AnyPageVisible())
        return;
    TCanvas& canvas = Canvas();
    DrawOutlines(canvas);
    DrawEdges(canvas);
    DrawFrontFrame(canvas);
    for (int i = 1; i < rowCount_; ++i)
        DrawBackFrame(canvas, i);
    DrawTabContents(canvas);
    if (focusShown_)
        DrawFocusMark();
}

void TcsNotebook::DrawOutlines(TCanvas& canvas) {
    Pen(canvas, W);
    for (const TTabEntry& e : tabRects_) {
        const std::vector<TPoint> p =
            TabOutline(TabRect(e.Caption), 0, RowOf(e.Caption), ColOf(e.Caption));
        canvas.MoveTo(p[0].X, p[0].Y);
        for (int n = 1; n < 6; ++n)
            canvas.LineTo(p[static_cast<std::size_t>(n)].X, p[static_cast<std::size_t>(n)].Y);
    }
}

void TcsNotebook::DrawEdges(TCanvas& canvas) {
    const QString active = ActivePage();
    for (const TTabEntry& e : tabRects_) {
        const TRect r = TabRect(e.Caption);
        const int row = RowOf(e.Caption), col = ColOf(e.Caption);
        DrawEdgeSet(canvas, TabOutline(r, 1, row, col), false);
        if (e.Caption.compare(active, Qt::CaseInsensitive) == 0)
            DrawEdgeSet(canvas, TabOutline(r, 2, row, col), true);
    }
}

void TcsNotebook::DrawEdgeSet(TCanvas& c, const std::vector<TPoint>& p, bool doubled) {
    const TabEdges& edges = kTabEdges[static_cast<std::size_t>(tabOrientation_)];
    auto at = [&](int n) { return p[static_cast<std::size_t>(n)]; };
    auto edge = [&](int from, TPoint a, TPoint b) {
        Pen(c, edges.Pens[static_cast<std::size_t>(from)]);
        c.MoveTo(a.X, a.Y);
        c.LineTo(b.X, b.Y);
    };
    auto shifted = [&](int n, int offset) {
        const TPoint d = edges.Doubled[static_cast<std::size_t>(offset)];
        return TPoint{at(n).X + d.X, at(n).Y + d.Y};
    };
    edge(0, at(0), at(1));
    edge(1, at(1), at(2));
    if (doubled)
        edge(1, shifted(1, 0), shifted(2, 1));
    edge(2, at(2), at(3));
    edge(3, at(3), at(4));
    if (doubled)
        edge(3, shifted(3, 2), shifted(4, 3));
    edge(4, at(4), at(5));
}

void TcsNotebook::DrawFrontFrame(TCanvas& canvas) {
    const TRect q = RowBodyRect(0);
    const TRect t = Transpose(q);
    const int l = t.Left, top = t.Top, r = t.Right, b = t.Bottom;
    const auto o = static_cast<std::size_t>(tabOrientation_);
    const TcsTab* current = FindTab(ActivePage());
    if (anchoredTabs_ || !current) {
        // A closed rectangle: no tab is opened into the body.
        for (int a = 0; a <= 2; ++a) {
            const std::vector<TPoint> p = MapToOrientation({{r - a, top + a},
                                                            {l + a, top + a},
                                                            {l + a, b - a},
                                                            {r - a, b - a},
                                                            {r - a, top + a - 1}},
                                                           q, t);
            for (std::size_t n = 0; n < 4; ++n) {
                Pen(canvas, a == 0 ? W : kAnchoredFrame[o][n]);
                Line(canvas, p[n], p[n + 1]);
            }
        }
        return;
    }
    const TRect tab = TabRect(ActivePage());
    int gs = tab.Left, ge = tab.Right;
    if (tabOrientation_ == toLeft)
        gs = (q.Bottom - tab.Bottom) + l, ge = (q.Bottom - tab.Top) + l;
    else if (tabOrientation_ == toRight)
        gs = (tab.Top - q.Top) + l, ge = (tab.Bottom - q.Top) + l;
    for (int a = 0; a <= 2; ++a) {
        const std::vector<TPoint> p = MapToOrientation({{r - a, top + a},
                                                        {ge - a, top + a},
                                                        {ge - a, top - 1},
                                                        {gs + a, top},
                                                        {gs + a, top + a},
                                                        {l + a, top + a},
                                                        {l + a, b - a},
                                                        {r - a, b - a},
                                                        {r - a, top + a}},
                                                       q, t);
        for (std::size_t n = 0; n < 8; ++n) {
            if (n == 2)
                continue; // the opening under the current tab
            Pen(canvas, a == 0 ? W : kOpenFrame[o][n]);
            Line(canvas, p[n], p[n + 1]);
        }
    }
}

void TcsNotebook::DrawBackFrame(TCanvas& canvas, int row) {
    const TRect q = RowBodyRect(row);
    const TRect t = Transpose(q);
    const int l = t.Left, r = t.Right, b = t.Bottom;
    const int y0 = t.Top + 5;
    const int k = rowIndent_, cs = cornerSize_, n = tabsPerRow_;
    const int len = Transpose(TabArea()).Width();
    const auto o = static_cast<std::size_t>(tabOrientation_);
    for (int a = 0; a <= 1; ++a) {
        std::vector<TPoint> p(static_cast<std::size_t>(2 * n + 6));
        std::vector<bool> set(p.size() / 2, false);
        auto pair = [&](int index, TPoint from, TPoint to) {
            p[static_cast<std::size_t>(index)] = from;
            p[static_cast<std::size_t>(index) + 1] = to;
            set[static_cast<std::size_t>(index / 2)] = true;
        };
        for (int j = 0; j < n; ++j) {
            QString c = CaptionAt(row, j);
            const bool fromFront = c.isEmpty();
            if (fromFront)
                c = CaptionAt(row - 1, j);
            if (c.isEmpty() || !FindTab(c))
                continue;
            const TRect tab = TabRect(c);
            int trl = tab.Left, trr = tab.Right;
            if (tabOrientation_ == toLeft)
                trl = l + q.Bottom - tab.Bottom, trr = l + q.Bottom - tab.Top;
            else if (tabOrientation_ == toRight)
                trl = l + tab.Top - q.Top, trr = l + tab.Bottom - q.Top;
            if (fromFront)
                trl += k, trr += k;
            const bool frontHasTab = !CaptionAt(row - 1, j).isEmpty();
            if (j == 0) {
                if (cs > 5 && cs - 5 >= k)
                    pair(0, {trl + a, y0 + a}, {trl + std::max(a, cs - 5 - k - a), y0 + a});
            } else if (frontHasTab) {
                if (cs > 5)
                    pair(2 * j, {trl - k - std::max(0, cs - 6 - a), y0 + a},
                         {trl - k + std::max(0, cs - 5 - a), y0 + a});
            } else {
                const int w = cs > 5 ? cs - 6 - a : -1;
                pair(2 * j, {trl - k - w, y0 + a}, {trr - a, y0 + a});
            }
        }
        const int m = std::max(0, (r - l) + (rowCount_ - 1) * k - len);
        if (k > 1 || cs > 7 || m > 0) {
            const int s = cs < 6 ? a + 1 : a + 2;
            pair(2 * n, {(r - k) + s - std::max(0, cs - 5) - (m + (m > 0 ? 1 : 0)), y0 + a},
                 {r - a, y0 + a});
        } else if (a == 0) {
            pair(2 * n, {r - k, y0}, {r - 1, y0});
        }
        pair(2 * n + 2, {r - a, y0 + a}, {r - a, b - a});
        pair(2 * n + 4, {r - a, b - a}, {r - k, b - a});
        p = MapToOrientation(std::move(p), q, t);
        for (int m2 = 0; m2 < n + 3; ++m2) {
            if (!set[static_cast<std::size_t>(m2)])
                continue;
            const int index = 2 * m2;
            TColor color = W;
            if (a == 1)
                color = index < 2 * n + 2    ? kBackFrame[o][0]
                        : index == 2 * n + 2 ? kBackFrame[o][1]
                                             : kBackFrame[o][2];
            Pen(canvas, color);
            Line(canvas, p[static_cast<std::size_t>(index)],
                 p[static_cast<std::size_t>(index) + 1]);
        }
    }
}

} // namespace wt
