// TBitBtn: a push button with a glyph beside, above or below its caption.
// A Kind other than bkCustom gives the standard caption, glyph, modal result
// and default or cancel role of that kind; those are then not stored.
#pragma once

#include "toolkit/graphics/bitmap.h"
#include "toolkit/graphics/bitmapprop.h"
#include "toolkit/controls/button.h"
#include "toolkit/graphics/buttonglyph.h"
#include "toolkit/core/classes.h"

namespace wt {

class TBitBtn : public TButton {
    Q_OBJECT
    Q_PROPERTY(wt::TBitmap Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(TBitBtnKind Kind READ Kind WRITE SetKind)
    Q_PROPERTY(wt::TButtonGlyph::TButtonLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    Q_CLASSINFO("Default.Kind", "bkCustom")
    Q_CLASSINFO("Default.Layout", "blGlyphLeft")
    Q_CLASSINFO("Default.Margin", "-1")
    Q_CLASSINFO("Default.NumGlyphs", "1")
    Q_CLASSINFO("Default.Spacing", "4")

public:
    enum TBitBtnKind {
        bkCustom,
        bkOK,
        bkCancel,
        bkHelp,
        bkYes,
        bkNo,
        bkClose,
        bkAbort,
        bkRetry,
        bkIgnore,
        bkAll
    };
    Q_ENUM(TBitBtnKind)

    explicit TBitBtn(TComponent* owner = nullptr);

    const TBitmap& Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(const TBitmap& value);
    // bkCustom once the caption, glyph, modal result or role was changed
    // away from the kind's.
    TBitBtnKind Kind() const;
    void SetKind(TBitBtnKind value);
    TButtonLayout Layout() const { return glyph_.Layout(); }
    void SetLayout(TButtonLayout value);
    // Pixels from the edge to the glyph; -1 centres glyph and caption.
    int Margin() const { return glyph_.Margin(); }
    void SetMargin(int value);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int value);
    // Pixels between glyph and caption.
    int Spacing() const { return glyph_.Spacing(); }
    void SetSpacing(int value);

    const TButtonGlyph& ButtonGlyph() const { return glyph_; }

    // A help button with a help context (its own or a parent's) shows that
    // help topic; every other click is a button's click.
    void Click() override;
    bool IsPropertyStored(const char* name) const override;

    // The standard caption of a kind ("OK", "&Help", ...).
    static QString KindCaption(TBitBtnKind kind);
    static TModalResult KindModalResult(TBitBtnKind kind);

protected:
    QWidget* CreateWidget(QWidget* parentWidget) override;

private:
    friend class TBitBtnWidget;
    bool IsCustom() const { return Kind() == bkCustom; }

    TButtonGlyph glyph_;
    TBitBtnKind kind_ = bkCustom;
    bool modifiedGlyph_ = false;
};

using TBitBtnKind = TBitBtn::TBitBtnKind;

WT_REGISTER_CLASS(TBitBtn);

} // namespace wt
