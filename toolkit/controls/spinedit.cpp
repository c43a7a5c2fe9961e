#include "toolkit/controls/spinedit.h"

#include "toolkit/forms/application.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QSpinBox>

#include <algorithm>
#include <climits>

namespace wt {

namespace {

// A spin box in which a paste is typed, one character at a time: each one
// the field refuses is left out, so pasting 5000 into a field that takes up
// to 1000 gives 500, as typing it does, where a paste taken whole would be
// refused whole, without a sign.
class TypedPasteSpinBox : public QSpinBox {
public:
    explicit TypedPasteSpinBox(QWidget* parent) : QSpinBox(parent) {
        lineEdit()->installEventFilter(this);
    }

    void TypeIn(const QString& text) {
        for (QChar c : text)
            if (!c.isSpace())
                lineEdit()->insert(QString(c));
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Paste) && !lineEdit()->isReadOnly()) {
            TypeIn(QGuiApplication::clipboard()->text());
            event->accept();
            return;
        }
        QSpinBox::keyPressEvent(event);
    }

    void contextMenuEvent(QContextMenuEvent* event) override {
        QPointer<QMenu> menu = lineEdit()->createStandardContextMenu();
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            if (action->objectName() == QLatin1String("edit-paste")) {
                action->disconnect();
                QObject::connect(action, &QAction::triggered, this,
                                 [this] { TypeIn(QGuiApplication::clipboard()->text()); });
            }
        menu->exec(event->globalPos());
        delete menu;
        event->accept();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // The middle button pastes the selection, on X11.
        if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
            !lineEdit()->isReadOnly()) {
            lineEdit()->setCursorPosition(lineEdit()->cursorPositionAt(
                static_cast<QMouseEvent*>(event)->position().toPoint()));
            TypeIn(QGuiApplication::clipboard()->text(QClipboard::Selection));
            return true;
        }
        return QSpinBox::eventFilter(watched, event);
    }
};

} // namespace

TSpinEdit::TSpinEdit(TComponent* owner) : TWinControl(owner) {
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, 22);
}

QSpinBox* TSpinEdit::SpinBox() const { return static_cast<QSpinBox*>(WidgetIfCreated()); }

int TSpinEdit::CheckValue(int value) const {
    if (maxValue_ == minValue_)
        return value;
    return std::clamp(value, std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
}

QWidget* TSpinEdit::CreateWidget(QWidget* parentWidget) {
    auto* box = new TypedPasteSpinBox(parentWidget);
    box->setFocusPolicy(Qt::StrongFocus);
    box->setKeyboardTracking(true);
    // A number typed beyond a bound becomes that bound when the field is left
    // (letters cannot be typed at all).
    box->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    QObject::connect(box, &QSpinBox::valueChanged, this, [this](int v) { WidgetValueChanged(v); });
    return box;
}

void TSpinEdit::ApplyRange() {
    QSpinBox* box = SpinBox();
    if (!box)
        return;
    pushing_ = true;
    if (minValue_ == maxValue_)
        box->setRange(INT_MIN, INT_MAX);
    else
        box->setRange(std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
    box->setSingleStep(increment_);
    if (auto* line = box->findChild<QLineEdit*>())
        line->setReadOnly(!editorEnabled_);
    box->setValue(value_);
    pushing_ = false;
}

void TSpinEdit::UpdateWidget() {
    TWinControl::UpdateWidget();
    ApplyRange();
}

void TSpinEdit::Loaded() {
    TWinControl::Loaded();
    value_ = CheckValue(value_);
    ApplyRange();
}

void TSpinEdit::SetMinValue(int value) {
    if (value == minValue_)
        return;
    minValue_ = value;
    if (!Streaming())
        ApplyRange();
}

void TSpinEdit::SetMaxValue(int value) {
    if (value == maxValue_)
        return;
    maxValue_ = value;
    if (!Streaming())
        ApplyRange();
}

void TSpinEdit::SetValue(int value) {
    if (!Streaming())
        value = CheckValue(value);
    if (value == value_)
        return;
    value_ = value;
    if (Streaming())
        return;
    ApplyRange();
    Change();
}

void TSpinEdit::SetIncrement(int value) {
    if (value == increment_)
        return;
    increment_ = value;
    if (!Streaming())
        ApplyRange();
}

void TSpinEdit::SetEditorEnabled(bool value) {
    if (value == editorEnabled_)
        return;
    editorEnabled_ = value;
    if (!Streaming())
        ApplyRange();
}

void TSpinEdit::WidgetValueChanged(int value) {
    if (pushing_ || value == value_)
        return;
    value_ = value;
    Guarded([this] { Change(); });
}

void TSpinEdit::Change() { OnChange(this); }

} // namespace wt
