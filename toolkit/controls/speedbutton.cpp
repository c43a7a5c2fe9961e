#include "toolkit/controls/speedbutton.h"

#include "toolkit/forms/application.h"

#include <QAbstractButton>
#include <QPointer>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace wt {
namespace {

class TSpeedButtonWidget : public QAbstractButton {
public:
    TSpeedButtonWidget(TSpeedButton* owner, QWidget* parent)
        : QAbstractButton(parent), owner_(owner) {
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        option.initFrom(this);
        option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
        painter.drawControl(QStyle::CE_PushButtonBevel, option);
        if (!owner_)
            return;
        TButtonGlyph::TButtonState state = TButtonGlyph::bsUp;
        if (!isEnabled())
            state = TButtonGlyph::bsDisabled;
        else if (isDown())
            state = TButtonGlyph::bsDown;
        painter.setFont(font());
        owner_->ButtonGlyph().Draw(painter, rect(), owner_->Caption(), palette(), owner_->Layout(),
                                   owner_->Margin(), owner_->Spacing(), state);
    }

private:
    QPointer<TSpeedButton> owner_;
};

} // namespace

TSpeedButton::TSpeedButton(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 25, 25); }

QWidget* TSpeedButton::CreateWidget(QWidget* parentWidget) {
    auto* button = new TSpeedButtonWidget(this, parentWidget);
    QPointer<TSpeedButton> self(this);
    QObject::connect(button, &QAbstractButton::clicked, this, [self] {
        if (self)
            Guarded([&] { self->Click(); });
    });
    return button;
}

void TSpeedButton::SetGlyph(const TBitmap& value) {
    glyph_.SetGlyph(value);
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value) {
    if (glyph_.SetLayout(value))
        Invalidate();
}

void TSpeedButton::SetMargin(int value) {
    if (glyph_.SetMargin(value))
        Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value) {
    glyph_.SetNumGlyphs(value);
    Invalidate();
}

void TSpeedButton::SetSpacing(int value) {
    if (glyph_.SetSpacing(value))
        Invalidate();
}

bool TSpeedButton::IsPropertyStored(const char* name) const {
    if (QByteArray(name) == "Glyph")
        return !Glyph().Empty();
    return TControl::IsPropertyStored(name);
}

} // namespace wt
