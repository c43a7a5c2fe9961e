// CSNoteBk: the tabbed notebook. TcsNotebook shows one of its pages
// (TcsPage) and draws a tab for every visible page along any side, in one or
// more rows that rotate so the current tab's row touches the page body;
// TcsPageAccess is the string-list view of the pages. Pages and selection
// are in CSNoteBk.cpp, the geometry in CSNoteBk_layout.cpp, the frame in
// CSNoteBk_paint.cpp, captions and bitmaps in CSNoteBk_contents.cpp, mouse,
// keys and the focus mark in CSNoteBk_input.cpp.
#pragma once

#include "toolkit/controls/page.h"
#include "toolkit/core/classes.h"
#include "toolkit/core/event.h"
#include "toolkit/core/strings.h"
#include "toolkit/graphics/bitmap.h"

#include <memory>
#include <vector>

namespace wt {

class TcsNotebook;
class TcsPage;

// One tab's rectangle, relative to the tab area's top-left corner.
struct TcsTab {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    TRect Rect() const { return {Left, Top, Right, Bottom}; }
    void SetRect(const TRect& r) { Left = r.Left, Top = r.Top, Right = r.Right, Bottom = r.Bottom; }
};

using TPageChangingEvent = TEvent<TObject*, int, bool&>;

// The pages as strings (captions) with the pages as their objects; edits
// keep captions unique and the notebook never without a page.
class TcsPageAccess : public TStrings {
public:
    TcsPageAccess(std::vector<TcsPage*>& pageList, TcsNotebook& notebook)
        : pageList_(pageList), notebook_(notebook) {}

    int Count() const override;
    QString Get(int index) const override;
    TComponent* GetObject(int index) const override;
    void Put(int index, const QString& text) override;
    void Insert(int index, const QString& text) override;
    int Add(const QString& text) override;
    void Delete(int index) override;
    void Exchange(int index1, int index2) override;
    void Move(int from, int to) override;
    void Clear() override;

private:
    bool RefuseDuplicate(const QString& text) const;
    TcsPage* NewPage(const QString& text);

    std::vector<TcsPage*>& pageList_;
    TcsNotebook& notebook_;
};

class TcsPage : public TPage {
    Q_OBJECT
    Q_PROPERTY(wt::TBitmap Bitmap READ Bitmap WRITE SetBitmap)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
    Q_PROPERTY(bool PageEnabled READ PageEnabled WRITE SetPageEnabled)
    Q_PROPERTY(bool PageVisible READ PageVisible WRITE SetPageVisible)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled STORED false)
    Q_CLASSINFO("Default.NumGlyphs", "1")
    Q_CLASSINFO("Default.PageEnabled", "True")
    Q_CLASSINFO("Default.PageVisible", "True")

public:
    explicit TcsPage(TComponent* owner = nullptr);

    const TBitmap& Bitmap() const { return bitmap_; }
    // Copies the bitmap into the page's own and repaints the tab.
    void SetBitmap(const TBitmap& value);
    int NumGlyphs() const { return numGlyphs_; }
    // 1 to 3 glyphs side by side; other values are refused.
    void SetNumGlyphs(int value);
    bool PageEnabled() const { return pageEnabled_; }
    void SetPageEnabled(bool value);
    bool PageVisible() const { return pageVisible_; }
    void SetPageVisible(bool value);

    // Repaints the page's tab; run after the bitmap was drawn on in place.
    void BitmapChanged();

    void ReadState(TReader& reader) override;
    void DefaultHandler(TMessage& message) override;

private:
    TcsNotebook* Notebook() const;

    TBitmap bitmap_;
    bool pageEnabled_ = true;
    bool pageVisible_ = true;
    int numGlyphs_ = 1;
};

class TcsNotebook : public TCustomControl {
    Q_OBJECT
public:
    enum TTabOrientation : std::uint8_t { toTop, toLeft, toBottom, toRight };
    Q_ENUM(TTabOrientation)
    enum TTextAlignment : std::uint8_t {
        taLeftTop,
        taCentreTop,
        taCenterTop,
        taRightTop,
        taLeftMiddle,
        taCentreMiddle,
        taCenterMiddle,
        taRightMiddle,
        taLeftBottom,
        taCentreBottom,
        taCenterBottom,
        taRightBottom,
        taInvisible
    };
    Q_ENUM(TTextAlignment)
    enum TBitmapAlignment : std::uint8_t {
        baLeftTop,
        baCentreTop,
        baCenterTop,
        baRightTop,
        baLeftMiddle,
        baCentreMiddle,
        baCenterMiddle,
        baRightMiddle,
        baLeftBottom,
        baCentreBottom,
        baCenterBottom,
        baRightBottom,
        baFit,
        baInvisible
    };
    Q_ENUM(TBitmapAlignment)

private:
    Q_PROPERTY(QString ActivePage READ ActivePage WRITE SetActivePage STORED false)
    Q_PROPERTY(bool AnchoredTabs READ AnchoredTabs WRITE SetAnchoredTabs)
    Q_PROPERTY(wt::TBitmap Bitmap READ Bitmap WRITE SetBitmap STORED false)
    Q_PROPERTY(TBitmapAlignment BitmapAlignment READ BitmapAlignment WRITE SetBitmapAlignment)
    Q_PROPERTY(int CornerSize READ CornerSize WRITE SetCornerSize)
    Q_PROPERTY(int MaxTabWidth READ MaxTabWidth WRITE SetMaxTabWidth)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs STORED false)
    Q_PROPERTY(int PageIndex READ PageIndex WRITE SetPageIndex)
    Q_PROPERTY(QStringList Pages READ PageCaptions WRITE SetPages STORED false)
    Q_PROPERTY(bool ParentTabFont READ ParentTabFont WRITE SetParentTabFont)
    Q_PROPERTY(int RowExtent READ RowExtent STORED false)
    Q_PROPERTY(int RowIndent READ RowIndent WRITE SetRowIndent)
    Q_PROPERTY(bool SaveResources READ SaveResources WRITE SetSaveResources)
    Q_PROPERTY(int SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_PROPERTY(bool SidewaysText READ SidewaysText WRITE SetSidewaysText)
    Q_PROPERTY(wt::TFont TabFont READ TabFont WRITE SetTabFont)
    Q_PROPERTY(int TabHeight READ TabHeight WRITE SetTabHeight)
    Q_PROPERTY(TTabOrientation TabOrientation READ TabOrientation WRITE SetTabOrientation)
    Q_PROPERTY(int TabsPerRow READ TabsPerRow WRITE SetTabsPerRow)
    Q_PROPERTY(TTextAlignment TextAlignment READ TextAlignment WRITE SetTextAlignment)
    Q_PROPERTY(int UnselectedColor READ UnselectedColor WRITE SetUnselectedColor)
    Q_PROPERTY(int UnselectedTabColor READ UnselectedTabColor WRITE SetUnselectedTabColor)
    Q_PROPERTY(bool UseUnselectedTabColor READ UseUnselectedTabColor WRITE SetUseUnselectedTabColor)
    Q_CLASSINFO("Default.AnchoredTabs", "False")
    Q_CLASSINFO("Default.BitmapAlignment", "baRightMiddle")
    Q_CLASSINFO("Default.CornerSize", "5")
    Q_CLASSINFO("Default.MaxTabWidth", "0")
    Q_CLASSINFO("Default.PageIndex", "0")
    Q_CLASSINFO("Default.ParentTabFont", "True")
    Q_CLASSINFO("Default.RowIndent", "5")
    Q_CLASSINFO("Default.SaveResources", "False")
    Q_CLASSINFO("Default.SelectedColor", "clBtnText")
    Q_CLASSINFO("Default.SidewaysText", "False")
    Q_CLASSINFO("Default.TabHeight", "25")
    Q_CLASSINFO("Default.TabOrientation", "toTop")
    Q_CLASSINFO("Default.TabsPerRow", "3")
    Q_CLASSINFO("Default.TextAlignment", "taLeftMiddle")
    Q_CLASSINFO("Default.UnselectedColor", "clBtnText")
    Q_CLASSINFO("Default.UnselectedTabColor", "clBtnFace")
    Q_CLASSINFO("Default.UseUnselectedTabColor", "False")
    Q_CLASSINFO("Default.TabStop", "True")

public:
    explicit TcsNotebook(TComponent* owner = nullptr);
    ~TcsNotebook() override;

    // --- Pages and selection ---------------------------------------------------
    TcsPageAccess& Pages() { return *pages_; }
    QStringList PageCaptions() const { return pages_->ToStringList(); }
    // Clear, then Add every caption (refused while the layout is ready).
    void SetPages(const QStringList& captions) { pages_->Assign(captions); }
    const std::vector<TcsPage*>& PageList() const { return pageList_; }
    TcsPage* Page(int index) const;
    int PageIndex() const { return pageIndex_; }
    void SetPageIndex(int value);
    QString ActivePage() const;
    void SetActivePage(const QString& caption) { SetPageIndex(pages_->Find(caption)); }
    // The current page's bitmap and glyph count (none and 1 without one).
    TBitmap Bitmap() const;
    void SetBitmap(const TBitmap& value);
    int NumGlyphs() const;
    void SetNumGlyphs(int value);
    // Brings a page into view by selecting it.
    void ShowControl(TControl* control);

    bool AnyPageSelectable() const;
    bool AnyPageVisible() const;
    void EnsureSelectablePage();

    // --- Properties --------------------------------------------------------------
    bool AnchoredTabs() const { return anchoredTabs_; }
    void SetAnchoredTabs(bool value);
    TBitmapAlignment BitmapAlignment() const { return bitmapAlignment_; }
    void SetBitmapAlignment(TBitmapAlignment value);
    int CornerSize() const { return cornerSize_; }
    void SetCornerSize(int value);
    int MaxTabWidth() const { return maxTabWidth_; }
    void SetMaxTabWidth(int value);
    bool ParentTabFont() const { return parentTabFont_; }
    void SetParentTabFont(bool value);
    int RowIndent() const { return rowIndent_; }
    void SetRowIndent(int value);
    bool SaveResources() const { return saveResources_; }
    void SetSaveResources(bool value);
    TColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(TColor value);
    bool SidewaysText() const { return sidewaysText_; }
    void SetSidewaysText(bool value);
    const TFont& TabFont() const { return tabFont_; }
    void SetTabFont(const TFont& value);
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int value);
    TTabOrientation TabOrientation() const { return tabOrientation_; }
    void SetTabOrientation(TTabOrientation value);
    int TabsPerRow() const { return tabsPerRow_; }
    void SetTabsPerRow(int value);
    TTextAlignment TextAlignment() const { return textAlignment_; }
    void SetTextAlignment(TTextAlignment value);
    TColor UnselectedColor() const { return unselectedColor_; }
    void SetUnselectedColor(TColor value);
    TColor UnselectedTabColor() const { return unselectedTabColor_; }
    void SetUnselectedTabColor(TColor value);
    bool UseUnselectedTabColor() const { return useUnselectedTabColor_; }
    void SetUseUnselectedTabColor(bool value);

    // --- Layout (CSNoteBk_layout.cpp) --------------------------------------------
    int RowExtent() const;
    int RowCount() const { return rowCount_; }
    const std::vector<QStringList>& Rows() const { return rows_; }
    bool LayoutReady() const { return layoutReady_; }
    TRect InnerRect() const;
    int TabsDepth() const { return tabHeight_ * rowCount_; }
    TRect TabArea() const;
    TRect BodyRect() const;
    TRect RowBodyRect(int row) const;
    TRect PageArea() const;
    TRect TabRect(const QString& caption) const;
    TRect TextArea(const QString& caption) const;
    int RowOf(const QString& caption) const;
    int ColOf(const QString& caption) const;
    int TabAtPos(int x, int y) const;
    // The captions with a stored rectangle, in the order they were stored.
    QStringList TabCaptions() const;

    void RebuildLayout();
    void BuildRows();
    void RotateRows(const QString& caption);
    void ComputeTabRects();
    void RepaintChangedTabs(int oldIndex, int newIndex);
    void RefreshTabs();

    // --- Painting helpers (CSNoteBk_paint.cpp) ------------------------------------
    static TRect Transpose(TRect r, TTabOrientation orientation);
    TRect Transpose(const TRect& r) const { return Transpose(r, tabOrientation_); }
    std::vector<TPoint> MapToOrientation(std::vector<TPoint> points, const TRect& r,
                                         const TRect& t) const;
    std::vector<TPoint> TabOutline(const TRect& rect, int inset, int row, int col) const;
    int CornerOverlap() const;
    TColor TabBackColor(const QString& caption) const;
    bool FocusShown() const { return focusShown_; }

    // --- Captions and bitmaps (CSNoteBk_contents.cpp) ------------------------------
    TFont MakeTabFont(int flags) const;
    TSize GlyphSize(const QString& caption) const;
    static int TextWidth(const QString& caption, const TCanvas& canvas);
    TRect BitmapRect(const QString& caption) const;
    TPoint TextOrigin(const QString& caption, const TRect& area, TCanvas& canvas) const;
    void DrawAccelText(int x, int y, const TFont& underlined, const TFont& plain, TCanvas& canvas,
                       const QString& caption) const;

    // --- Input (CSNoteBk_input.cpp) ----------------------------------------------
    virtual void TabClick();
    TPoint LastHitPoint() const { return lastHitPoint_; }
    // The mouse cursor shown over tabs while designing.
    static constexpr int TabCursor = 31000;

    // --- Toolkit steps -------------------------------------------------------------
    void SetParent(TWinControl* parent) override;
    void Loaded() override;
    void ReadState(TReader& reader) override;
    std::vector<TComponent*> StreamedChildren(TComponent* root) const override;
    bool IsPropertyStored(const char* name) const override;
    void DefaultHandler(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void DoExit() override;

    TPageChangingEvent OnPageChanging{this, "OnPageChanging"};
    TNotifyEvent OnPageChanged{this, "OnPageChanged"};
    TNotifyEvent OnTabClick{this, "OnTabClick"};

protected:
    void EraseBackground(TCanvas& canvas) override;
    void Paint() override;
    void AlignControls(TControl* control, TRect& rect) override;

private:
    friend class TcsPageAccess;
    friend class TcsPage;
    enum class TTabTexts { Current, All, Unselected };

    bool Designing() const { return HasState(ComponentState::Designing); }
    bool Horizontal() const { return tabOrientation_ == toTop || tabOrientation_ == toBottom; }
    bool Vertical() const { return !Horizontal(); }
    bool Sideways() const { return sidewaysText_ && Vertical(); }
    bool PageSelectable(int index) const;
    void NotifyDesigner();
    void AfterPagesChanged(int index, TcsPage* previousPage);
    void ChangePage(int index, TcsPage* oldPage);
    void ShowPage(TcsPage* page);
    void Rebuild();
    void InvalidateTabTexts(TTabTexts which);
    void InvalidateTabText(const TcsPage* page);
    void PageEnabledChanged(TcsPage* page);
    void PageVisibleChanged(TcsPage* page);
    void TabRenamed(TcsPage* page);
    void TabFontChanged();
    void StretchLastTab(TRect& rect, int row, int col) const;
    TcsTab* FindTab(const QString& caption);
    const TcsTab* FindTab(const QString& caption) const;
    TcsPage* PageOf(const QString& caption) const;
    // The caption at a row and position, empty when there is none.
    QString CaptionAt(int row, int col) const;
    // The caption's outline with its feet pushed into the body by push pixels.
    std::vector<TPoint> PushedOutline(const QString& caption, int push) const;
    // Painting steps.
    void DrawOutlines(TCanvas& canvas);
    void DrawEdges(TCanvas& canvas);
    void DrawEdgeSet(TCanvas& canvas, const std::vector<TPoint>& p, bool doubled);
    void DrawFrontFrame(TCanvas& canvas);
    void DrawBackFrame(TCanvas& canvas, int row);
    void DrawTabContents(TCanvas& canvas);
    void DrawTabBitmap(TCanvas& canvas, const QString& caption, TcsPage& page, const TRect& ta);
    void DrawTabCaption(TCanvas& canvas, const QString& caption, TcsPage& page, const TRect& ta);
    void DrawCaptionOn(TCanvas& canvas, const QString& caption, const TRect& area);
    void DrawGlyph(TCanvas& canvas, const TRect& dest, const TRect& src, const TBitmap& bitmap,
                   const QString& caption) const;
    void Dither(TBitmap& scratch, TColor background) const;
    // Input steps.
    void DrawFocusMark();
    void FocusChanged(TWinControl* focused);
    void DialogChar(TMessage& message);
    void DesignHitTest(TMessage& message);
    void SetCursorMessage(TMessage& message);
    bool TakeFocus();

    std::vector<TcsPage*> pageList_;
    std::unique_ptr<TcsPageAccess> pages_;
    int pageIndex_ = -1;
    bool anchoredTabs_ = false;
    int rowCount_ = 1;
    int tabsPerRow_ = 3;
    int rowIndent_ = 5;
    int cornerSize_ = 5;
    TTabOrientation tabOrientation_ = toTop;
    bool sidewaysText_ = false;
    int maxTabWidth_ = 0;
    int tabHeight_ = 25;
    TTextAlignment textAlignment_ = taLeftMiddle;
    TBitmapAlignment bitmapAlignment_ = baRightMiddle;
    std::vector<QStringList> rows_;
    struct TTabEntry {
        QString Caption;
        TcsTab Tab;
    };
    std::vector<TTabEntry> tabRects_;
    bool layoutReady_ = false;
    TPoint lastHitPoint_;
    TFont tabFont_;
    bool focusShown_ = false;
    bool saveResources_ = false;
    TColor selectedColor_ = clBtnText;
    TColor unselectedColor_ = clBtnText;
    bool parentTabFont_ = true;
    TColor unselectedTabColor_ = clBtnFace;
    bool useUnselectedTabColor_ = false;
};

WT_REGISTER_CLASS(TcsPage);
WT_REGISTER_CLASS(TcsNotebook);

} // namespace wt
