// What the notebook draws inside each tab: one glyph of the page's bitmap
// and the caption with its accelerator underlined, placed by the alignments,
// rotated along vertical tabs when sideways, bold on the current tab, and
// dithered into the tab's background for disabled pages.
#include "widgets/notebook/CSNoteBk.h"

#include <algorithm>
#include <array>

namespace wt {
namespace {

// The caption without its accelerator marker, as it is measured.
QString WithoutMarker(const QString& caption) {
    const int p = caption.indexOf(u'&');
    if (p < 0 || p == caption.size() - 1)
        return caption;
    QString s = caption;
    s.remove(p, 1); // of "&&" the second one stays
    return s;
}

// Horizontal and vertical place (0 start, 1 centre, 2 end) of a bitmap by
// alignment group (rows) and orientation (columns toTop, toLeft, toBottom,
// toRight): on vertical tabs the alignment turns with the tab.
constexpr std::array<std::array<int, 4>, 10> kPlaceX{{{0, 0, 0, 2},
                                                      {1, 0, 1, 2},
                                                      {2, 0, 2, 2},
                                                      {0, 1, 0, 1},
                                                      {1, 1, 1, 1},
                                                      {2, 1, 2, 1},
                                                      {0, 2, 0, 0},
                                                      {1, 2, 1, 0},
                                                      {2, 2, 2, 0},
                                                      {0, 0, 0, 0}}};
constexpr std::array<std::array<int, 4>, 10> kPlaceY{{{0, 2, 0, 0},
                                                      {0, 1, 0, 1},
                                                      {0, 0, 0, 2},
                                                      {1, 2, 1, 0},
                                                      {1, 1, 1, 1},
                                                      {1, 0, 1, 2},
                                                      {2, 2, 2, 0},
                                                      {2, 1, 2, 1},
                                                      {2, 0, 2, 2},
                                                      {0, 0, 0, 0}}};

int PlaceGroup(TcsNotebook::TBitmapAlignment a) {
    using N = TcsNotebook;
    switch (a) {
    case N::baLeftTop: return 0;
    case N::baCentreTop:
    case N::baCenterTop: return 1;
    case N::baRightTop: return 2;
    case N::baLeftMiddle: return 3;
    case N::baCentreMiddle:
    case N::baCenterMiddle: return 4;
    case N::baRightMiddle: return 5;
    case N::baLeftBottom: return 6;
    case N::baCentreBottom:
    case N::baCenterBottom: return 7;
    case N::baRightBottom: return 8;
    default: return 9;
    }
}

// Column (0 left, 1 centre, 2 right) and row (0 top, 1 middle, 2 bottom) of
// a text alignment; taInvisible counts as left and top.
int TextColumn(TcsNotebook::TTextAlignment a) {
    if (a == TcsNotebook::taInvisible)
        return 0;
    const int c = a % 4;
    return c == 0 ? 0 : c == 3 ? 2 : 1;
}
int TextRow(TcsNotebook::TTextAlignment a) { return a == TcsNotebook::taInvisible ? 0 : a / 4; }

int Place(int where, int start, int extent, int end, int size) {
    switch (where) {
    case 1: return start + extent / 2 - size / 2;
    case 2: return end - size + 1;
    default: return start;
    }
}

// A bitmap of the given size filled with one colour.
TBitmap Filled(int w, int h, TColor color) {
    TBitmap b(std::max(1, w), std::max(1, h));
    b.Canvas().Brush.Color = color;
    b.Canvas().Brush.Style = bsSolid;
    b.Canvas().FillRect({0, 0, b.Width(), b.Height()});
    return b;
}

} // namespace

TFont TcsNotebook::MakeTabFont(int flags) const {
    TLogFont record;
    record.Height = tabFont_.Height;
    if (sidewaysText_ && tabOrientation_ == toLeft)
        record.Escapement = 900;
    else if (sidewaysText_ && tabOrientation_ == toRight)
        record.Escapement = 2700;
    record.Weight = tabFont_.Has(fsBold) || (flags & 1) ? 700 : 400;
    record.Italic = tabFont_.Has(fsItalic);
    record.Underline = tabFont_.Has(fsUnderline) || (flags & 4);
    record.StrikeOut = tabFont_.Has(fsStrikeOut);
    record.FaceName = tabFont_.Name;
    return CreateFontIndirect(record, tabFont_.Color);
}

TSize TcsNotebook::GlyphSize(const QString& caption) const {
    const TcsPage* page = PageOf(caption);
    if (!page || page->Bitmap().Empty())
        return {};
    return {page->Bitmap().Width() / page->NumGlyphs(), page->Bitmap().Height()};
}

int TcsNotebook::TextWidth(const QString& caption, const TCanvas& canvas) {
    return std::max(0, canvas.TextWidth(WithoutMarker(caption)));
}

TRect TcsNotebook::BitmapRect(const QString& caption) const {
    const TRect ta = TextArea(caption);
    int bw = ta.Width(), bh = ta.Height();
    if (bitmapAlignment_ != baFit) {
        const TSize g = GlyphSize(caption);
        bw = std::min(g.Width, ta.Width());
        bh = std::min(g.Height, ta.Height());
    }
    const int group = PlaceGroup(bitmapAlignment_);
    const auto o = static_cast<std::size_t>(tabOrientation_);
    const int x =
        Place(kPlaceX[static_cast<std::size_t>(group)][o], ta.Left, ta.Width(), ta.Right, bw);
    const int y =
        Place(kPlaceY[static_cast<std::size_t>(group)][o], ta.Top, ta.Height(), ta.Bottom, bh);
    return {x, y, x + bw, y + bh};
}

TPoint TcsNotebook::TextOrigin(const QString& caption, const TRect& area, TCanvas& canvas) const {
    const TRect r = Sideways() ? Transpose(area) : area;
    const int tw = TextWidth(caption, canvas);
    const TTextMetric tm = canvas.TextMetrics();
    const int th = tm.Height + tm.ExternalLeading;
    int x = r.Left;
    switch (TextColumn(textAlignment_)) {
    case 1: x = (r.Left + r.Right - tw) / 2; break;
    case 2: x = r.Right - tw; break;
    default: break;
    }
    int y = r.Top;
    canvas.SetTextAlign(TA_LEFT | TA_TOP);
    switch (TextRow(textAlignment_)) {
    case 1: y = (r.Top + r.Bottom - th) / 2; break;
    case 2:
        y = r.Bottom;
        canvas.SetTextAlign(TA_BOTTOM);
        break;
    default: break;
    }
    if (!Sideways())
        return {x, y};
    return MapToOrientation({{x, y}}, area, r)[0];
}

void TcsNotebook::DrawAccelText(int x, int y, const TFont& underlined, const TFont& plain,
                                TCanvas& canvas, const QString& caption) const {
    const int p = caption.indexOf(u'&');
    QString parts[3] = {caption, QString(), QString()};
    if (p >= 0 && p + 1 < caption.size() && caption[p + 1] == u'&')
        parts[0] = caption.left(p + 1), parts[2] = caption.mid(p + 2);
    else if (p >= 0)
        parts[0] = caption.left(p), parts[1] = caption.mid(p + 1, 1), parts[2] = caption.mid(p + 2);
    const TFont saved = canvas.Font;
    for (int n = 0; n < 3; ++n) {
        canvas.Font = n == 1 ? underlined : plain;
        canvas.TextOut(x, y, parts[n]);
        const int width = TextWidth(parts[n], canvas);
        if (Sideways() && tabOrientation_ == toLeft)
            y -= width;
        else if (Sideways())
            y += width;
        else
            x += width;
        canvas.Font = saved;
    }
}

// --- The contents step ---------------------------------------------------------------------

void TcsNotebook::DrawTabContents(TCanvas& canvas) {
    canvas.Save();
    for (const TTabEntry& e : tabRects_) {
        TcsPage* page = PageOf(e.Caption);
        if (!page)
            continue;
        const TRect ta = TextArea(e.Caption);
        if (ta.Width() <= 0 || ta.Height() <= 0)
            continue;
        if (bitmapAlignment_ != baInvisible && !page->Bitmap().Empty())
            DrawTabBitmap(canvas, e.Caption, *page, ta);
        if (textAlignment_ != taInvisible)
            DrawTabCaption(canvas, e.Caption, *page, ta);
    }
    canvas.Restore();
}

void TcsNotebook::DrawTabBitmap(TCanvas& canvas, const QString& caption, TcsPage& page,
                                const TRect& ta) {
    const bool current = caption.compare(ActivePage(), Qt::CaseInsensitive) == 0;
    int g = 0;
    bool dithered = false;
    if (page.PageEnabled())
        g = current ? 0 : (page.NumGlyphs() == 3 ? 2 : 0);
    else if (page.NumGlyphs() < 2)
        dithered = true;
    else
        g = 1;
    const TBitmap& bitmap = page.Bitmap();
    const int gw = bitmap.Width() / page.NumGlyphs();
    const TRect src{g * gw, 0, (g + 1) * gw, bitmap.Height()};
    // The glyph goes into the computed rectangle less its last column and
    // row, which keeps an end-aligned glyph inside the text area.
    const TRect r = BitmapRect(caption);
    const TRect dest{r.Left, r.Top, r.Right - 1, r.Bottom - 1};
    if (!dithered) {
        DrawGlyph(canvas, dest, src, bitmap, caption);
        return;
    }
    const TColor back = TabBackColor(caption);
    TBitmap scratch = Filled(ta.Width(), ta.Height(), back);
    DrawGlyph(scratch.Canvas(),
              {dest.Left - ta.Left, dest.Top - ta.Top, dest.Right - ta.Left, dest.Bottom - ta.Top},
              src, bitmap, caption);
    Dither(scratch, back);
    canvas.BitBlt(ta.Left, ta.Top, ta.Width(), ta.Height(), scratch.Image(), 0, 0, SRCCOPY);
}

void TcsNotebook::DrawGlyph(TCanvas& canvas, const TRect& dest, const TRect& src,
                            const TBitmap& bitmap, const QString& caption) const {
    const TBrush saved = canvas.Brush;
    canvas.Brush.Color = TabBackColor(caption);
    canvas.Brush.Style = bsSolid;
    TRect s = src;
    if (bitmapAlignment_ != baFit) {
        // Cut the source equally on opposite sides so its centre shows.
        if (dest.Width() < s.Width()) {
            const int cut = (s.Width() - dest.Width()) / 2;
            s.Left += cut, s.Right -= cut;
        }
        if (dest.Height() < s.Height()) {
            const int cut = (s.Height() - dest.Height()) / 2;
            s.Top += cut, s.Bottom -= cut;
        }
    }
    canvas.BrushCopy(dest, bitmap, s, bitmap.TransparentColor());
    canvas.Brush = saved;
}

void TcsNotebook::Dither(TBitmap& scratch, TColor background) const {
    TBitmap pattern(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pattern.Canvas().SetPixel(x, y, (x + y) % 2 == 0 ? clWhite : clBlack);
    const TBitmap back = Filled(scratch.Width(), scratch.Height(), background);
    TCanvas& c = scratch.Canvas();
    const TBrush saved = c.Brush;
    c.Brush.SetBitmap(&pattern);
    // Where the pattern is white the background is taken, elsewhere the
    // image stays: half the pixels, in a checkerboard.
    c.BitBlt(0, 0, scratch.Width(), scratch.Height(), back.Image(), 0, 0, DSPDxax);
    c.Brush = saved;
}

void TcsNotebook::DrawTabCaption(TCanvas& canvas, const QString& caption, TcsPage& page,
                                 const TRect& ta) {
    if (page.PageEnabled()) {
        canvas.Save();
        const TRegion area(ta);
        canvas.SetClipRegion(canvas.ClipRegion() ? canvas.ClipRegion()->Intersect(area) : area);
        DrawCaptionOn(canvas, caption, ta);
        canvas.Restore();
        return;
    }
    const TColor back = TabBackColor(caption);
    TBitmap scratch = Filled(ta.Width(), ta.Height(), back);
    DrawCaptionOn(scratch.Canvas(), caption, {0, 0, ta.Width(), ta.Height()});
    Dither(scratch, back);
    canvas.MaskedCopy(ta.Left, ta.Top, scratch, back);
}

void TcsNotebook::DrawCaptionOn(TCanvas& canvas, const QString& caption, const TRect& area) {
    const bool current = caption.compare(ActivePage(), Qt::CaseInsensitive) == 0;
    TFont plain = MakeTabFont(current ? 1 : 0);
    TFont underlined = MakeTabFont(current ? 5 : 4);
    plain.Color = underlined.Color = current ? selectedColor_ : unselectedColor_;
    const TFont savedFont = canvas.Font;
    const TBrush savedBrush = canvas.Brush;
    const unsigned savedAlign = canvas.TextAlign();
    canvas.Font = plain;
    canvas.Brush.Style = bsClear;
    const TPoint origin = TextOrigin(caption, area, canvas);
    DrawAccelText(origin.X, origin.Y, underlined, plain, canvas, caption);
    canvas.SetTextAlign(savedAlign);
    canvas.Brush = savedBrush;
    canvas.Font = savedFont;
}

} // namespace wt
