// Panels: TCustomPanel draws an outer and an inner 3D bevel, a border of the
// panel colour between them, its caption centred, and places aligned
// children inside the frame; it raises Resize after every change of size
// (not while it is read from a form). TPanel publishes its settings.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/controls/customcontrol.h"

namespace wt {

class TCustomPanel : public TCustomControl {
    Q_OBJECT
public:
    enum TPanelBevel { bvNone, bvLowered, bvRaised };
    Q_ENUM(TPanelBevel)

    explicit TCustomPanel(TComponent* owner = nullptr);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    // bsSingleBorder adds a one-pixel window frame outside the bevels.
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);

    void Loaded() override;

    TNotifyEvent OnResize{this, "OnResize"};

protected:
    void Paint() override;
    // After every change of size, not while streaming.
    virtual void Resize();
    void BoundsChanged() override;
    void AdjustClientRect(TRect& rect) const override;
    void TextChanged() override;
    // The classic 3D frame: width nested outlines, top and left in
    // topColor, bottom and right in bottomColor; rect shrinks by width.
    // The frame (window border, bevels, border) and the fill inside it;
    // rect ends as the filled area.
    void PaintFrame(TCanvas& canvas, TRect& rect);
    static void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor,
                        int width);
    // The frame colours of a bevel kind: first top-left, then bottom-right.
    static void BevelColors(TPanelBevel bevel, TColor& topColor, TColor& bottomColor);

private:
    void FrameChanged();

    TAlignment alignment_ = taCenter;
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNoBorder;
    int lastWidth_ = -1;
    int lastHeight_ = -1;
};

class TPanel : public TCustomPanel {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(wt::ui::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(wt::TCustomPanel::TPanelBevel BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(wt::TCustomPanel::TPanelBevel BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(wt::ui::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_CLASSINFO("Default.Caption", "''")
    Q_CLASSINFO("Default.Alignment", "taCenter")
    Q_CLASSINFO("Default.BevelInner", "bvNone")
    Q_CLASSINFO("Default.BevelOuter", "bvRaised")
    Q_CLASSINFO("Default.BevelWidth", "1")
    Q_CLASSINFO("Default.BorderWidth", "0")
    Q_CLASSINFO("Default.BorderStyle", "bsNoBorder")
    Q_CLASSINFO("Default.Color", "clBtnFace")
    Q_CLASSINFO("Default.ParentColor", "False")

public:
    explicit TPanel(TComponent* owner = nullptr) : TCustomPanel(owner) {}
};

using TPanelBevel = TCustomPanel::TPanelBevel;

WT_REGISTER_CLASS(TPanel);

} // namespace wt
