// TLabel: windowless text on its parent, sized to its text (AutoSize), with
// alignment, word wrap, transparency and an accelerator character ("&") that
// moves the focus to its FocusControl.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/controls/graphiccontrol.h"

#include <QPointer>

namespace wt {

class TLabel : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(wt::ui::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(wt::TWinControl* FocusControl READ FocusControl WRITE SetFocusControl)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE SetShowAccelChar)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_CLASSINFO("Default.Caption", "''")
    Q_CLASSINFO("Default.Alignment", "taLeftJustify")
    Q_CLASSINFO("Default.AutoSize", "True")
    Q_CLASSINFO("Default.ShowAccelChar", "True")
    Q_CLASSINFO("Default.Transparent", "False")
    Q_CLASSINFO("Default.WordWrap", "False")

public:
    explicit TLabel(TComponent* owner = nullptr);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TWinControl* FocusControl() const { return focusControl_.data(); }
    void SetFocusControl(TWinControl* control);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);

    void DefaultHandler(TMessage& message) override;
    void Loaded() override;

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
    // Fits the bounds to the text when AutoSize (the right edge stays for
    // right-justified labels).
    virtual void AdjustBounds();
    void DoDrawText(TCanvas& canvas, TRect& rect, unsigned flags);

private:
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    QPointer<TWinControl> focusControl_;
    bool showAccelChar_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
};

WT_REGISTER_CLASS(TLabel);

} // namespace wt
