#include "toolkit/controls/bitbtn.h"

#include "toolkit/forms/application.h"

#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace wt {
namespace {

const char* KindGlyphName(TBitBtnKind kind) {
    switch (kind) {
    case TBitBtn::bkOK: return "OK";
    case TBitBtn::bkCancel: return "CANCEL";
    case TBitBtn::bkHelp: return "HELP";
    case TBitBtn::bkYes: return "YES";
    case TBitBtn::bkNo: return "NO";
    case TBitBtn::bkClose: return "CLOSE";
    case TBitBtn::bkAbort: return "ABORT";
    case TBitBtn::bkRetry: return "RETRY";
    case TBitBtn::bkIgnore: return "IGNORE";
    case TBitBtn::bkAll: return "ALL";
    default: return "";
    }
}

} // namespace

// Draws the button face with the style, then glyph and caption itself, so
// that the glyph can stand above or below the caption.
class TBitBtnWidget : public QPushButton {
public:
    TBitBtnWidget(TBitBtn* owner, QWidget* parent) : QPushButton(parent), owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        option.icon = QIcon();
        painter.drawControl(QStyle::CE_PushButtonBevel, option);
        if (!owner_)
            return;
        const QRect content = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        TButtonGlyph::TButtonState state = TButtonGlyph::bsUp;
        if (!isEnabled())
            state = TButtonGlyph::bsDisabled;
        else if (isDown())
            state = TButtonGlyph::bsDown;
        painter.setFont(font());
        owner_->ButtonGlyph().Draw(painter, content, owner_->Caption(), palette(), owner_->Layout(),
                                   owner_->Margin(), owner_->Spacing(), state);
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }

private:
    QPointer<TBitBtn> owner_;
};

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

QWidget* TBitBtn::CreateWidget(QWidget* parentWidget) {
    auto* button = new TBitBtnWidget(this, parentWidget);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);
    QPointer<TBitBtn> self(this);
    QObject::connect(button, &QPushButton::clicked, this, [self] {
        if (self)
            Guarded([&] { self->Click(); });
    });
    return button;
}

QString TBitBtn::KindCaption(TBitBtnKind kind) {
    switch (kind) {
    case bkOK: return QStringLiteral("OK");
    case bkCancel: return QStringLiteral("Cancel");
    case bkHelp: return QStringLiteral("&Help");
    case bkYes: return QStringLiteral("&Yes");
    case bkNo: return QStringLiteral("&No");
    case bkClose: return QStringLiteral("&Close");
    case bkAbort: return QStringLiteral("Abort");
    case bkRetry: return QStringLiteral("&Retry");
    case bkIgnore: return QStringLiteral("&Ignore");
    case bkAll: return QStringLiteral("&All");
    default: return {};
    }
}

TModalResult TBitBtn::KindModalResult(TBitBtnKind kind) {
    switch (kind) {
    case bkOK: return mrOk;
    case bkCancel: return mrCancel;
    case bkYes: return mrYes;
    case bkNo: return mrNo;
    case bkAbort: return mrAbort;
    case bkRetry: return mrRetry;
    case bkIgnore: return mrIgnore;
    case bkAll: return mrAll;
    default: return mrNone;
    }
}

TBitBtnKind TBitBtn::Kind() const {
    if (kind_ == bkCustom)
        return bkCustom;
    const bool kindDefault = kind_ == bkOK || kind_ == bkYes;
    const bool kindCancel = kind_ == bkCancel || kind_ == bkNo;
    if (kindDefault != Default() || kindCancel != Cancel() ||
        ModalResult() != KindModalResult(kind_) || modifiedGlyph_)
        return bkCustom;
    return kind_;
}

void TBitBtn::SetKind(TBitBtnKind value) {
    if (value == kind_)
        return;
    if (value != bkCustom) {
        SetDefault(value == bkOK || value == bkYes);
        SetCancel(value == bkCancel || value == bkNo);
        // While a form is read a caption read before the kind is kept.
        if (!IsStreaming() || Caption().isEmpty())
            SetCaption(KindCaption(value));
        SetModalResult(KindModalResult(value));
        glyph_.SetGlyph(StandardButtonGlyph(QLatin1String(KindGlyphName(value))));
        glyph_.SetNumGlyphs(2);
        modifiedGlyph_ = false;
    }
    kind_ = value;
    Invalidate();
}

void TBitBtn::SetGlyph(const TBitmap& value) {
    glyph_.SetGlyph(value);
    modifiedGlyph_ = true;
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout value) {
    if (glyph_.SetLayout(value))
        Invalidate();
}

void TBitBtn::SetMargin(int value) {
    if (glyph_.SetMargin(value))
        Invalidate();
}

void TBitBtn::SetNumGlyphs(int value) {
    glyph_.SetNumGlyphs(value);
    Invalidate();
}

void TBitBtn::SetSpacing(int value) {
    if (glyph_.SetSpacing(value))
        Invalidate();
}

void TBitBtn::Click() {
    if (Kind() == bkHelp) {
        for (const TControl* c = this; c; c = c->Parent())
            if (c->HelpContext() != 0) {
                Application()->HelpContext(c->HelpContext());
                return;
            }
    }
    TButton::Click();
}

bool TBitBtn::IsPropertyStored(const char* name) const {
    const QByteArray n(name);
    if (n == "Caption")
        return Caption() != KindCaption(kind_);
    if (n == "Cancel" || n == "Default" || n == "ModalResult" || n == "Glyph")
        return IsCustom() && (n != "Glyph" || !Glyph().Empty());
    if (n == "NumGlyphs")
        return IsCustom();
    return TButton::IsPropertyStored(name);
}

} // namespace wt
