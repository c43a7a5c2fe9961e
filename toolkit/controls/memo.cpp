#include "toolkit/controls/memo.h"

#include "toolkit/forms/application.h"
#include "toolkit/forms/form.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

namespace wt {
namespace {

QString NormalBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

std::uint32_t ButtonMessageOf(Qt::MouseButton button, QEvent::Type type) {
    std::uint32_t base = WM_LBUTTONDOWN;
    if (button == Qt::RightButton)
        base = WM_RBUTTONDOWN;
    else if (button == Qt::MiddleButton)
        base = WM_MBUTTONDOWN;
    if (type == QEvent::MouseButtonRelease)
        return base + 1;
    if (type == QEvent::MouseButtonDblClick)
        return base + 2;
    return base;
}

std::intptr_t PackPoint(QPoint p) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(p.y() & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(p.x() & 0xFFFF));
}

} // namespace

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 185, 89);
}

QPlainTextEdit* TMemo::Editor() const { return static_cast<QPlainTextEdit*>(WidgetIfCreated()); }

QWidget* TMemo::CreateWidget(QWidget* parentWidget) {
    auto* editor = new QPlainTextEdit(parentWidget);
    editor->viewport()->installEventFilter(this);
    // Moves without a button reach the control too, as WM_MOUSEMOVE does.
    editor->viewport()->setMouseTracking(true);
    QObject::connect(editor, &QPlainTextEdit::textChanged, this, [this] { WidgetTextChanged(); });
    return editor;
}

void TMemo::UpdateWidget() {
    TWinControl::UpdateWidget();
    QPlainTextEdit* editor = Editor();
    if (!editor)
        return;
    if (editor->toPlainText() != Text()) {
        pushing_ = true;
        editor->setPlainText(Text());
        pushing_ = false;
    }
    ApplyEditStyle();
}

void TMemo::ApplyEditStyle() {
    QPlainTextEdit* editor = Editor();
    if (!editor)
        return;
    editor->setFrameShape(borderStyle_ == bsNoBorder ? QFrame::NoFrame : QFrame::StyledPanel);
    editor->setReadOnly(readOnly_);
    editor->setLineWrapMode(wordWrap_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    editor->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    editor->setTabChangesFocus(!wantTabs_);
    const bool vertical = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    const bool horizontal = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    editor->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    editor->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn
                                                    : Qt::ScrollBarAlwaysOff);
    QTextOption option = editor->document()->defaultTextOption();
    Qt::Alignment align = Qt::AlignLeft;
    if (alignment_ == taCenter)
        align = Qt::AlignHCenter;
    else if (alignment_ == taRightJustify)
        align = Qt::AlignRight;
    option.setAlignment(align);
    option.setWrapMode(wordWrap_ ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    editor->document()->setDefaultTextOption(option);
    ApplyFocusPolicy();
    ApplyViewportCursor();
}

void TMemo::ApplyFocusPolicy() {
    QPlainTextEdit* editor = Editor();
    if (!editor)
        return;
    int policy = editor->focusPolicy();
    if (clickFocus_)
        policy |= Qt::ClickFocus;
    else
        policy &= ~Qt::ClickFocus;
    editor->setFocusPolicy(static_cast<Qt::FocusPolicy>(policy));
}

void TMemo::ApplyViewportCursor() {
    QPlainTextEdit* editor = Editor();
    if (!editor)
        return;
    // The viewport shows the cursor over the text; the control's own cursor
    // is meant there.
    if (editor->testAttribute(Qt::WA_SetCursor))
        editor->viewport()->setCursor(editor->cursor());
    else
        editor->viewport()->setCursor(readOnly_ ? Qt::ArrowCursor : Qt::IBeamCursor);
}

void TMemo::SetClickFocus(bool on) {
    if (on == clickFocus_)
        return;
    clickFocus_ = on;
    ApplyFocusPolicy();
}

QStringList TMemo::Lines() const {
    const QString text = Text();
    if (text.isEmpty())
        return {};
    QStringList lines = NormalBreaks(text).split(u'\n');
    if (lines.size() > 1 && lines.back().isEmpty())
        lines.removeLast(); // a final line break ends the last line
    return lines;
}

void TMemo::SetLines(const QStringList& lines) { SetText(NormalBreaks(lines.join(u'\n'))); }

void TMemo::AddLine(const QString& text) {
    const QString current = Text();
    SetText(current.isEmpty() ? NormalBreaks(text) : current + u'\n' + NormalBreaks(text));
}

void TMemo::TextChanged() {
    TWinControl::TextChanged();
    if (QPlainTextEdit* editor = Editor(); editor && editor->toPlainText() != Text()) {
        pushing_ = true;
        editor->setPlainText(Text());
        pushing_ = false;
    }
    Change();
}

void TMemo::WidgetTextChanged() {
    if (pushing_)
        return;
    QPlainTextEdit* editor = Editor();
    if (!editor)
        return;
    QString text = editor->toPlainText();
    if (maxLength_ > 0 && text.size() > maxLength_) {
        text.truncate(maxLength_);
        pushing_ = true;
        editor->setPlainText(text);
        editor->moveCursor(QTextCursor::End);
        pushing_ = false;
    }
    Guarded([&] { SetText(text); });
}

void TMemo::Change() { OnChange(this); }

void TMemo::SetAlignment(TAlignment value) {
    if (value == alignment_)
        return;
    alignment_ = value;
    if (!Streaming())
        ApplyEditStyle();
}

void TMemo::SetBorderStyle(TBorderStyle value) {
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    if (!Streaming())
        ApplyEditStyle();
}

void TMemo::SetReadOnly(bool value) {
    if (value == readOnly_)
        return;
    readOnly_ = value;
    if (!Streaming())
        ApplyEditStyle();
}

void TMemo::SetScrollBars(TScrollStyle value) {
    if (value == scrollBars_)
        return;
    scrollBars_ = value;
    if (!Streaming())
        ApplyEditStyle();
}

void TMemo::SetWantTabs(bool value) {
    if (value == wantTabs_)
        return;
    wantTabs_ = value;
    if (!Streaming())
        ApplyEditStyle();
}

void TMemo::SetWordWrap(bool value) {
    if (value == wordWrap_)
        return;
    wordWrap_ = value;
    if (!Streaming())
        ApplyEditStyle();
}

int TMemo::FirstVisibleLine() {
    Widget();
    QPlainTextEdit* editor = Editor();
    return editor ? editor->verticalScrollBar()->value() : 0;
}

void TMemo::ScrollLines(int lines) {
    Widget();
    QPlainTextEdit* editor = Editor();
    if (!editor || lines == 0)
        return;
    QScrollBar* bar = editor->verticalScrollBar();
    bar->setValue(bar->value() + lines); // the bar keeps it within the text
}

bool TMemo::ViewportMouse(QEvent* event) {
    QPlainTextEdit* editor = Editor();
    auto* me = static_cast<QMouseEvent*>(event);
    const QPoint pos = editor->viewport()->mapTo(editor, me->position().toPoint());
    TMessage message;
    message.Msg = event->type() == QEvent::MouseMove ? WM_MOUSEMOVE
                                                     : ButtonMessageOf(me->button(), event->type());
    message.WParam = static_cast<std::uintptr_t>(ShiftOf(me->modifiers(), me->buttons()).toInt());
    message.LParam = PackPoint(pos);
    WndProc(message);
    if (me->button() == Qt::RightButton && event->type() != QEvent::MouseMove)
        rightButtonDropped_ = !message.Defaulted;
    return !message.Defaulted;
}

bool TMemo::eventFilter(QObject* watched, QEvent* event) {
    QPlainTextEdit* editor = Editor();
    if (editor && watched == editor->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: return ViewportMouse(event);
        case QEvent::ContextMenu:
            // The menu a right click opens goes with that click.
            return static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse &&
                   rightButtonDropped_;
        default: return false;
        }
    }
    if (editor && watched == editor) {
        if (event->type() == QEvent::CursorChange)
            ApplyViewportCursor();
        if (event->type() == QEvent::KeyPress && !wantReturns_) {
            auto* ke = static_cast<QKeyEvent*>(event);
            if ((ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) &&
                !(ke->modifiers() & Qt::ControlModifier)) {
                // Enter belongs to the form's default button.
                if (TForm* form = GetParentForm(this))
                    Guarded([&] { form->DialogKey(VK_RETURN, ShiftOf(ke->modifiers())); });
                return true;
            }
        }
    }
    return TWinControl::eventFilter(watched, event);
}

} // namespace wt
