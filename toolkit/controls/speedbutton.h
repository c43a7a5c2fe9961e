// TSpeedButton: a small button that never takes the focus, with a glyph of
// up to four images and an optional caption, raising OnClick when clicked.
#pragma once

#include "toolkit/graphics/bitmap.h"
#include "toolkit/graphics/bitmapprop.h"
#include "toolkit/graphics/buttonglyph.h"
#include "toolkit/core/classes.h"
#include "toolkit/controls/control.h"

namespace wt {

class TSpeedButton : public TControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(wt::TBitmap Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(wt::TButtonGlyph::TButtonLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    Q_CLASSINFO("Default.Caption", "''")
    Q_CLASSINFO("Default.Layout", "blGlyphLeft")
    Q_CLASSINFO("Default.Margin", "-1")
    Q_CLASSINFO("Default.NumGlyphs", "1")
    Q_CLASSINFO("Default.Spacing", "4")

public:
    explicit TSpeedButton(TComponent* owner = nullptr);

    const TBitmap& Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(const TBitmap& value);
    TButtonLayout Layout() const { return glyph_.Layout(); }
    void SetLayout(TButtonLayout value);
    int Margin() const { return glyph_.Margin(); }
    void SetMargin(int value);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int value);
    int Spacing() const { return glyph_.Spacing(); }
    void SetSpacing(int value);

    const TButtonGlyph& ButtonGlyph() const { return glyph_; }
    bool IsPropertyStored(const char* name) const override;

protected:
    QWidget* CreateWidget(QWidget* parentWidget) override;

private:
    TButtonGlyph glyph_;
};

WT_REGISTER_CLASS(TSpeedButton);

} // namespace wt
