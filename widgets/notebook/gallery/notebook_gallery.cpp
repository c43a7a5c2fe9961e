#include "widgets/notebook/gallery/notebook_gallery.h"

#include "widgets/notebook/CSNoteBk.h"

namespace wt {
namespace {

using N = TcsNotebook;

// A strip of glyphs 24 x 24, one per colour, each a filled disc with a dark
// ring on a fuchsia ground (the bottom-left pixel, so transparent).
TBitmap Glyphs(std::initializer_list<TColor> colors) {
    TBitmap b(24 * static_cast<int>(colors.size()), 24);
    TCanvas& c = b.Canvas();
    c.Brush.Color = clFuchsia;
    c.FillRect({0, 0, b.Width(), 24});
    int x = 0;
    for (TColor color : colors) {
        c.Brush.Color = color;
        c.Pen.Color = clNavy;
        c.Polygon({{x + 12, 2}, {x + 21, 7}, {x + 21, 17}, {x + 12, 22}, {x + 3, 17}, {x + 3, 7}});
        c.Brush.Color = clWhite;
        c.FillRect({x + 9, 9, x + 15, 15});
        x += 24;
    }
    return b;
}

N* Put(TForm* form, int left, int top, int width, int height, const QStringList& pages) {
    auto* nb = new N(form);
    nb->SetParent(form);
    nb->SetBounds(left, top, width, height);
    nb->SetParentColor(false);
    nb->SetColor(clBtnFace);
    nb->SetPages(pages);
    nb->SetPageIndex(0);
    return nb;
}

// Three rows on top; selecting a back-row tab brings its row forward.
N* PutRowsOnTop(TForm* form) {
    N* top =
        Put(form, 8, 8, 300, 190, {"&One", "T&wo", "Th&ree", "&Four", "F&ive", "&Six", "Se&ven"});
    top->SetTextAlignment(N::taCentreMiddle);
    top->SetTabHeight(22);
    top->SetCornerSize(6);
    top->SetActivePage("F&ive");
    return top;
}

// The options dialog's notebook: bitmaps only, the second page disabled
// (one glyph: dithered), the third with a disabled glyph of its own.
N* PutOptionsNotebook(TForm* form) {
    N* left = Put(form, 320, 8, 244, 142, {"Hiding", "Sound", "Movement", "General"});
    left->SetTabOrientation(N::toLeft);
    left->SetTabsPerRow(4);
    left->SetTabHeight(35);
    left->SetCornerSize(3);
    left->SetTextAlignment(N::taInvisible);
    left->SetBitmapAlignment(N::baCentreMiddle);
    left->Page(0)->SetBitmap(Glyphs({clLime}));
    left->Page(1)->SetBitmap(Glyphs({clRed}));
    left->Page(1)->SetPageEnabled(false);
    left->Page(2)->SetBitmap(Glyphs({clYellow, clGray}));
    left->Page(2)->SetNumGlyphs(2);
    left->Page(2)->SetPageEnabled(false);
    left->Page(3)->SetBitmap(Glyphs({clAqua, clGray, clBlue}));
    left->Page(3)->SetNumGlyphs(3);
    return left;
}

// Anchored rows at the bottom: the selection leaves the rows in order.
N* PutAnchoredAtBottom(TForm* form) {
    N* bottom = Put(form, 576, 8, 236, 190, {"&Alpha", "&Beta", "&Gamma", "&Delta", "&Epsilon"});
    bottom->SetTabOrientation(N::toBottom);
    bottom->SetAnchoredTabs(true);
    bottom->SetTextAlignment(N::taRightMiddle);
    bottom->SetBitmapAlignment(N::baLeftMiddle);
    bottom->SetTabHeight(30);
    bottom->SetCornerSize(7);
    bottom->Page(0)->SetBitmap(Glyphs({clLime}));
    bottom->Page(3)->SetBitmap(Glyphs({clRed}));
    bottom->SetActivePage("&Delta");
    return bottom;
}

// Sideways captions on the right, the other tabs in their own colour.
N* PutSidewaysOnRight(TForm* form) {
    N* right = Put(form, 8, 210, 300, 200, {"&Red", "&Green", "&Blue"});
    right->SetTabOrientation(N::toRight);
    right->SetTabHeight(48);
    right->SetSidewaysText(true);
    right->SetTextAlignment(N::taCentreBottom);
    right->SetBitmapAlignment(N::baCentreTop);
    right->SetUseUnselectedTabColor(true);
    right->SetUnselectedTabColor(clSilver);
    right->SetSelectedColor(clMaroon);
    for (int i = 0; i < 3; ++i)
        right->Page(i)->SetBitmap(Glyphs({i == 0 ? clRed : i == 1 ? clLime : clBlue}));
    return right;
}

// Sideways on the left, two rows, fitted bitmaps, a disabled caption.
N* PutSidewaysOnLeft(TForm* form) {
    N* side = Put(form, 320, 160, 244, 250, {"&North", "&East", "&South", "&West", "&Up"});
    side->SetTabOrientation(N::toLeft);
    side->SetTabsPerRow(3);
    side->SetTabHeight(28);
    side->SetSidewaysText(true);
    side->SetTextAlignment(N::taLeftTop);
    side->SetBitmapAlignment(N::baRightBottom);
    side->SetUnselectedColor(clNavy);
    side->Page(1)->SetPageEnabled(false);
    side->Page(2)->SetBitmap(Glyphs({clYellow}));
    side->Page(3)->SetBitmap(Glyphs({clAqua}));
    return side;
}

// Tabs as long as given on top, fitted glyphs.
N* PutFixedWidths(TForm* form) {
    N* fixed = Put(form, 576, 210, 236, 200, {"&Fit", "Fi&xed", "&Wide"});
    fixed->SetMaxTabWidth(70);
    fixed->SetTabHeight(40);
    fixed->SetBitmapAlignment(N::baFit);
    fixed->SetTextAlignment(N::taInvisible);
    for (int i = 0; i < 3; ++i)
        fixed->Page(i)->SetBitmap(Glyphs({i == 1 ? clBlue : clYellow}));
    return fixed;
}

} // namespace

TfrmNotebookGallery::TfrmNotebookGallery(TComponent* owner) : TForm(owner) {
    SetCaption(QStringLiteral("Notebook gallery"));
    SetColor(clTeal);
    SetClientSize(820, 420);

    PutRowsOnTop(this);
    focused_ = PutOptionsNotebook(this);
    PutAnchoredAtBottom(this);
    PutSidewaysOnRight(this);
    PutSidewaysOnLeft(this);
    PutFixedWidths(this);
    OnShow = [this](TObject* sender) { FormShow(sender); };
}

void TfrmNotebookGallery::FormShow(TObject*) {
    // The focus mark: the options notebook holds the focus.
    SetActiveControl(focused_);
    focused_->SetFocus();
}

} // namespace wt
