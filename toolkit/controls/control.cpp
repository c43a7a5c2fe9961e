#include "toolkit/controls/control.h"

#include "toolkit/forms/application.h"
#include "toolkit/forms/designer.h"
#include "toolkit/forms/form.h"
#include "toolkit/core/reader.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QWidget>

#include <algorithm>

namespace wt {
namespace {

constexpr const char* kControlProperty = "wtControl";

Qt::CursorShape CursorShapeOf(TCursor cursor) {
    switch (cursor) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSize: return Qt::SizeAllCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
    }
}

TMouseButton ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
    }
}

std::uint32_t ButtonMessage(TMouseButton button, int kind) { // kind 0 down, 1 up, 2 double
    const std::uint32_t base = button == mbLeft    ? WM_LBUTTONDOWN
                               : button == mbRight ? WM_RBUTTONDOWN
                                                   : WM_MBUTTONDOWN;
    return base + static_cast<std::uint32_t>(kind);
}

std::intptr_t PackPoint(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(x & 0xFFFF));
}
int PointX(std::intptr_t lParam) { return static_cast<std::int16_t>(lParam & 0xFFFF); }
int PointY(std::intptr_t lParam) { return static_cast<std::int16_t>((lParam >> 16) & 0xFFFF); }

// The pointer moves this far with the button down before a drag begun
// without `immediate` starts.
constexpr int kDragThreshold = 5;

// The one drag at a time: its source, whether it has started, and the
// control under the pointer with its answer.
struct DragSession {
    QPointer<TControl> Source;
    bool Started = false;
    QPoint From; // where the button went down, on the screen
    QPointer<TControl> Target;
    bool Accepted = false;
    TPoint At; // in the target's coordinates
};
DragSession& Drag() {
    static DragSession session;
    return session;
}
QPoint& LastPointer() { // on the screen, from the last mouse event a control saw
    static QPoint point;
    return point;
}

// The control whose widget, or the nearest of its parents, is under a screen point.
TControl* ControlAt(QPoint screen) {
    for (QWidget* w = QApplication::widgetAt(screen); w; w = w->parentWidget())
        if (TControl* control = TControl::FromWidget(w))
            return control;
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
    SetState(ComponentState::Destroying, true);
    if (Drag().Source == this)
        Drag() = {};
    if (parent_)
        parent_->RemoveControl(this);
    DestroyWidget();
}

void TControl::StoreBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    StoreBounds(left, top, width, height);
    if (Streaming())
        return;
    if (widget_)
        ApplyBounds();
    BoundsChanged();
}

void TControl::BoundsChanged() {
    if (parent_ && align_ != alNone)
        parent_->Realign();
    if (auto* self = dynamic_cast<TWinControl*>(this))
        self->Realign();
}

void TControl::SetClientSize(int width, int height) {
    const TRect client = ClientRect();
    SetBounds(left_, top_, width_ + width - client.Width(), height_ + height - client.Height());
}

void TControl::SetAlign(TAlign value) {
    if (value == align_)
        return;
    align_ = value;
    if (!Streaming() && parent_)
        parent_->Realign();
}

void TControl::SetVisible(bool value) {
    if (value == visible_)
        return;
    visible_ = value;
    if (!Streaming())
        VisibleChanged();
}

void TControl::VisibleChanged() {
    // A control whose window was released gets it back when shown.
    if (!widget_ && visible_ && parent_ && parent_->HandleAllocated())
        Widget();
    if (widget_)
        ApplyVisible();
    if (parent_ && align_ != alNone)
        parent_->Realign();
}

void TControl::SetEnabled(bool value) {
    if (value == enabled_)
        return;
    enabled_ = value;
    if (!Streaming())
        EnabledChanged();
}

void TControl::EnabledChanged() {
    if (widget_)
        widget_->setEnabled(enabled_);
    Invalidate();
}

void TControl::SetColor(TColor value) {
    const bool changed = value != color_;
    color_ = value;
    parentColor_ = false;
    if (changed && !Streaming())
        ColorChanged();
}

void TControl::SetParentColor(bool value) {
    if (value == parentColor_)
        return;
    parentColor_ = value;
    if (Streaming())
        return;
    if (value && parent_ && parent_->Color() != color_) {
        color_ = parent_->Color();
        ColorChanged();
    }
}

void TControl::ColorChanged() {
    if (widget_)
        ApplyColor();
    Invalidate();
}

void TControl::SetFont(const TFont& value) {
    const bool changed = !(value == font_);
    font_ = value;
    parentFont_ = false;
    if (changed && !Streaming())
        FontChanged();
}

void TControl::SetParentFont(bool value) {
    if (value == parentFont_)
        return;
    parentFont_ = value;
    if (Streaming())
        return;
    if (value && parent_ && !(parent_->Font() == font_)) {
        font_ = parent_->Font();
        FontChanged();
    }
}

void TControl::FontChanged() {
    if (widget_)
        ApplyFont();
    Invalidate();
}

void TControl::SetCursor(TCursor value) {
    if (value == cursor_)
        return;
    cursor_ = value;
    if (widget_ && !Streaming())
        ApplyCursor();
}

void TControl::SetHint(const QString& value) {
    if (value == hint_)
        return;
    hint_ = value;
    if (widget_ && !Streaming())
        widget_->setToolTip(showHint_ ? hint_ : QString());
}

void TControl::SetShowHint(bool value) {
    if (value == showHint_)
        return;
    showHint_ = value;
    if (widget_ && !Streaming())
        widget_->setToolTip(showHint_ ? hint_ : QString());
}

void TControl::SetText(const QString& value) {
    if (value == text_)
        return;
    text_ = value;
    if (!Streaming())
        TextChanged();
}

void TControl::TextChanged() {
    Perform(CM_TEXTCHANGED);
    Invalidate();
}

TPoint TControl::ClientToScreen(TPoint p) const {
    if (widget_) {
        const QPoint q = widget_->mapToGlobal(QPoint(p.X, p.Y));
        return {q.x(), q.y()};
    }
    const TPoint origin = parent_ ? parent_->ClientToScreen({left_, top_}) : TPoint{left_, top_};
    return {origin.X + p.X, origin.Y + p.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    const TPoint origin = ClientToScreen({0, 0});
    return {p.X - origin.X, p.Y - origin.Y};
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_)
        return;
    if (parent == this)
        throw std::invalid_argument("A control cannot be its own parent");
    if (auto* self = dynamic_cast<TWinControl*>(this);
        self && parent && self->ContainsControl(parent))
        throw std::invalid_argument("A control cannot be placed inside its own child");
    if (parent_) {
        parent_->RemoveControl(this);
        DestroyWidget();
    }
    if (!parent)
        return;
    parent->InsertControl(this);
    if (parentFont_)
        font_ = parent->Font();
    if (parentColor_)
        color_ = parent->Color();
    if (auto* self = dynamic_cast<TWinControl*>(this); self && self->parentCtl3D_)
        self->ctl3D_ = parent->Ctl3D();
    if (parent->HandleAllocated())
        Widget();
    if (!Streaming() && align_ != alNone)
        parent->Realign();
}

QWidget* TControl::Widget() {
    if (widget_)
        return widget_;
    if (creatingWidget_ || HasState(ComponentState::Destroying))
        return nullptr;
    QWidget* parentWidget = nullptr;
    if (parent_) {
        parentWidget = parent_->Widget();
        if (widget_) // the parent made its children, this one included
            return widget_;
        if (!parentWidget)
            return nullptr;
    }
    creatingWidget_ = true;
    QWidget* widget = nullptr;
    try {
        widget = CreateWidget(parentWidget);
    } catch (...) {
        creatingWidget_ = false;
        throw;
    }
    creatingWidget_ = false;
    if (!widget)
        return nullptr;
    AttachWidget(widget);
    UpdateWidget();
    if (auto* self = dynamic_cast<TWinControl*>(this)) {
        for (TControl* child : self->controls_)
            child->Widget();
        self->ApplyTabOrder();
        self->Realign();
    }
    return widget_;
}

void TControl::AttachWidget(QWidget* widget) {
    widget_ = widget;
    widget_->setProperty(kControlProperty, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
    widget_->setObjectName(Name());
    widget_->installEventFilter(this);
}

void TControl::DestroyWidget() {
    if (!widget_)
        return;
    if (auto* self = dynamic_cast<TWinControl*>(this))
        for (TControl* child : self->controls_)
            child->DestroyWidget();
    QWidget* widget = widget_;
    widget_ = nullptr;
    widget->removeEventFilter(this);
    widget->setProperty(kControlProperty, QVariant());
    delete widget;
}

TControl* TControl::FromWidget(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property(kControlProperty);
        if (v.isValid())
            return reinterpret_cast<TControl*>(v.value<quintptr>());
    }
    return nullptr;
}

QWidget* TControl::CreateWidget(QWidget* parentWidget) { return new QWidget(parentWidget); }

void TControl::UpdateWidget() {
    if (!widget_)
        return;
    ApplyBounds();
    widget_->setEnabled(enabled_);
    ApplyFont();
    ApplyColor();
    ApplyCursor();
    widget_->setToolTip(showHint_ ? hint_ : QString());
    ApplyVisible();
}

void TControl::ApplyCursor() {
    if (cursor_ == crDefault)
        widget_->unsetCursor();
    else if (cursor_ > 0) // a cursor registered with the application by number
        widget_->setCursor(Application()->CursorOf(cursor_));
    else
        widget_->setCursor(QCursor(CursorShapeOf(cursor_)));
}

void TControl::ApplyBounds() {
    if (widget_)
        widget_->setGeometry(left_, top_, std::max(width_, 0), std::max(height_, 0));
}

void TControl::ApplyVisible() {
    if (widget_)
        widget_->setVisible(visible_);
}

void TControl::ApplyFont() {
    if (!widget_)
        return;
    widget_->setFont(ToQFont(font_));
    QPalette pal = widget_->palette();
    const QColor text = ToQColor(font_.Color);
    // The font's colour is for enabled controls; disabled ones keep the
    // palette's grey text.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::WindowText, text);
        pal.setColor(group, QPalette::Text, text);
        pal.setColor(group, QPalette::ButtonText, text);
    }
    widget_->setPalette(pal);
}

void TControl::ApplyColor() {
    if (!widget_)
        return;
    QPalette pal = widget_->palette();
    const QColor color = ToQColor(color_);
    pal.setColor(QPalette::Window, color);
    pal.setColor(QPalette::Base, color);
    widget_->setPalette(pal);
}

bool TControl::Showing() const {
    if (!visible_)
        return false;
    return parent_ ? parent_->Showing() : true;
}

void TControl::BringToFront() {
    if (parent_) {
        auto& list = parent_->controls_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        list.push_back(this);
    }
    if (widget_)
        widget_->raise();
}

void TControl::SendToBack() {
    if (parent_) {
        auto& list = parent_->controls_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        list.insert(list.begin(), this);
    }
    if (widget_)
        widget_->lower();
}

void TControl::Invalidate() {
    if (widget_ && !Streaming())
        widget_->update();
}

void TControl::Update() {
    if (widget_ && widget_->isVisible())
        widget_->repaint();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

std::intptr_t TControl::Perform(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
    TMessage message;
    message.Msg = msg;
    message.WParam = wParam;
    message.LParam = lParam;
    WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    auto it = messageHandlers_.find(message.Msg);
    if (it != messageHandlers_.end() && it->second) {
        TMessageHandler handler = it->second; // may replace itself
        handler(message);
        return;
    }
    DefaultHandler(message);
}

void TControl::SetMessageHandler(std::uint32_t msg, TMessageHandler handler) {
    if (handler)
        messageHandlers_[msg] = std::move(handler);
    else
        messageHandlers_.erase(msg);
}

void TControl::SetCursorNow(TCursor id) {
    if (!widget_)
        return;
    widget_->setCursor(id > 0 ? Application()->CursorOf(id) : QCursor(CursorShapeOf(id)));
    cursorOverridden_ = true;
}

void TControl::DefaultHandler(TMessage& message) {
    message.Defaulted = true;
    const auto shift = TShiftState::fromInt(static_cast<int>(message.WParam));
    const int x = PointX(message.LParam);
    const int y = PointY(message.LParam);
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
        leftPressed_ = true;
        if (dragMode_ == dmAutomatic && !HasState(ComponentState::Designing))
            BeginDrag(false);
        MouseDown(mbLeft, shift, x, y);
        break;
    case WM_RBUTTONDOWN: MouseDown(mbRight, shift, x, y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, shift, x, y); break;
    case WM_LBUTTONDBLCLK:
        leftPressed_ = true;
        MouseDown(mbLeft, shift | ssDouble, x, y);
        DblClick();
        break;
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, shift | ssDouble, x, y); break;
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, shift | ssDouble, x, y); break;
    case WM_LBUTTONUP: {
        const bool click =
            clickOnMouseUp_ && leftPressed_ && x >= 0 && y >= 0 && x < width_ && y < height_;
        leftPressed_ = false;
        MouseUp(mbLeft, shift, x, y);
        if (click)
            Click();
        break;
    }
    case WM_RBUTTONUP: MouseUp(mbRight, shift, x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, x, y); break;
    case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    case WM_NCHITTEST: message.Result = HTCLIENT; break;
    case WM_SETCURSOR:
        if (cursorOverridden_ && widget_) {
            cursorOverridden_ = false;
            ApplyCursor();
        }
        break;
    case CM_PARENTFONTCHANGED:
        if (parentFont_ && parent_ && !(parent_->Font() == font_)) {
            font_ = parent_->Font();
            if (!Streaming())
                FontChanged();
        }
        break;
    case CM_PARENTCOLORCHANGED:
        if (parentColor_ && parent_ && parent_->Color() != color_) {
            color_ = parent_->Color();
            if (!Streaming())
                ColorChanged();
        }
        break;
    default: break;
    }
}

void TControl::SetName(const QString& name) {
    const bool follow = (controlStyle_ & csSetCaption) && !IsStreaming() && Name() == Text();
    TComponent::SetName(name);
    if (follow)
        SetText(name);
}

bool TControl::ShowPopupMenu(int screenX, int screenY) {
    TPopupMenu* menu = PopupMenu();
    if (!menu || !menu->AutoPopup() || HasState(ComponentState::Designing))
        return false; // the widget's own menu, or Qt passes it to the parent
    menu->SetPopupComponent(this);
    menu->Popup(screenX, screenY);
    return true;
}

// --- Dragging ----------------------------------------------------------------------

void TControl::BeginDrag(bool immediate) {
    DragSession& d = Drag();
    if (d.Source)
        return; // one drag at a time
    d = {};
    d.Source = this;
    d.From = LastPointer();
    if (immediate) {
        d.Started = true;
        DragTo(LastPointer());
    }
}

bool TControl::Dragging() const { return Drag().Source == this && Drag().Started; }

void TControl::DragTo(QPoint screen) {
    DragSession& d = Drag();
    TControl* target = ControlAt(screen);
    const bool entering = target != d.Target;
    if (entering) {
        if (TControl* old = d.Target)
            old->DragOver(this, d.At.X, d.At.Y, dsDragLeave);
        d.Target = target;
    }
    d.Accepted = false;
    if (target) {
        d.At = target->ScreenToClient({screen.x(), screen.y()});
        d.Accepted = target->DragOver(this, d.At.X, d.At.Y, entering ? dsDragEnter : dsDragMove);
    }
    if (widget_)
        widget_->setCursor(d.Accepted ? Qt::DragCopyCursor : Qt::ForbiddenCursor);
}

void TControl::EndDrag(bool drop) {
    DragSession& d = Drag();
    if (d.Source != this)
        return;
    const DragSession ended = d;
    d = {};
    if (widget_)
        ApplyCursor();
    if (!ended.Started)
        return; // the button came up before the drag began: a plain click
    TControl* target = ended.Target;
    if (target && (!drop || !ended.Accepted))
        target->DragOver(this, ended.At.X, ended.At.Y, dsDragLeave);
    if (drop && target && ended.Accepted) {
        target->DragDrop(this, ended.At.X, ended.At.Y);
        DoEndDrag(target, ended.At.X, ended.At.Y);
    } else {
        DoEndDrag(nullptr, 0, 0);
    }
}

bool TControl::TrackDrag(QEvent* event) {
    DragSession& d = Drag();
    if (d.Source != this)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        if (!d.Started && (at - d.From).manhattanLength() < kDragThreshold)
            return false;
        d.Started = true;
        DragTo(at);
        return true; // no text selection while dragging
    }
    case QEvent::MouseButtonRelease: {
        const bool started = d.Started;
        if (started)
            DragTo(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        EndDrag(true);
        return started;
    }
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape || !d.Started)
            return false;
        EndDrag(false);
        return true;
    default: return false;
    }
}

bool TControl::DragOver(TObject*, int, int, TDragState) { return false; }
void TControl::DragDrop(TObject*, int, int) {}
void TControl::DoEndDrag(TObject*, int, int) {}

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }
void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseUp(this, button, shift, x, y);
}

bool TControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget_ || !widget_)
        return false;
    switch (event->type()) {
    case QEvent::ContextMenu: {
        auto* ce = static_cast<QContextMenuEvent*>(event);
        // The menu key has no point of its own: the menu shows at the pointer.
        const QPoint at =
            ce->reason() == QContextMenuEvent::Mouse ? ce->globalPos() : QCursor::pos();
        try {
            return ShowPopupMenu(at.x(), at.y());
        } catch (const std::exception& e) {
            Application()->HandleException(e);
            return true;
        }
    }
    case QEvent::KeyPress: try { return TrackDrag(event);
        } catch (const std::exception& e) {
            Application()->HandleException(e);
            return true;
        }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(event);
        LastPointer() = me->globalPosition().toPoint();
        try {
            if (TrackDrag(event))
                return true;
        } catch (const std::exception& e) {
            Application()->HandleException(e);
            return true;
        }
        const QPoint pos = me->position().toPoint();
        const TShiftState shift = ShiftOf(me->modifiers(), me->buttons());
        std::uint32_t msg = WM_MOUSEMOVE;
        if (event->type() == QEvent::MouseButtonPress)
            msg = ButtonMessage(ButtonOf(me->button()), 0);
        else if (event->type() == QEvent::MouseButtonRelease)
            msg = ButtonMessage(ButtonOf(me->button()), 1);
        else if (event->type() == QEvent::MouseButtonDblClick)
            msg = ButtonMessage(ButtonOf(me->button()), 2);
        TMessage message;
        message.Msg = msg;
        message.WParam = static_cast<std::uintptr_t>(shift.toInt());
        message.LParam = PackPoint(pos.x(), pos.y());
        bool failed = false;
        try {
            if (event->type() != QEvent::MouseButtonRelease)
                HitTestAndCursor(pos, msg);
            if (DesignerTook(me, message))
                return true;
            WndProc(message);
        } catch (const std::exception& e) {
            failed = true;
            Application()->HandleException(e);
        }
        return failed || !message.Defaulted;
    }
    default: return false;
    }
}

void TControl::HitTestAndCursor(QPoint local, std::uint32_t mouseMsg) {
    // The screen point as the toolkit counts it, so ScreenToClient undoes it.
    const TPoint screen = ClientToScreen({local.x(), local.y()});
    Perform(WM_NCHITTEST, 0, PackPoint(screen.X, screen.Y));
    Perform(WM_SETCURSOR, 0, HTCLIENT | static_cast<std::intptr_t>(mouseMsg << 16));
}

bool TControl::DesignerTook(const QMouseEvent* event, TMessage& message) {
    if (!HasState(ComponentState::Designing))
        return false;
    TForm* form = GetParentForm(this);
    TDesigner* designer = form ? form->Designer() : nullptr;
    if (!designer)
        return false;
    std::uintptr_t keys = 0;
    if (event->buttons() & Qt::LeftButton)
        keys |= MK_LBUTTON;
    if (event->buttons() & Qt::RightButton)
        keys |= MK_RBUTTON;
    if (event->buttons() & Qt::MiddleButton)
        keys |= MK_MBUTTON;
    if (event->modifiers() & Qt::ShiftModifier)
        keys |= MK_SHIFT;
    if (event->modifiers() & Qt::ControlModifier)
        keys |= MK_CONTROL;
    if (Perform(CM_DESIGNHITTEST, keys, message.LParam) != 0)
        return false; // the control claims the mouse
    designer->IsDesignMsg(this, message);
    return true;
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (parent_) {
        if (parentFont_)
            font_ = parent_->Font();
        if (parentColor_)
            color_ = parent_->Color();
    }
    if (widget_)
        UpdateWidget();
    if (parent_ && align_ != alNone)
        parent_->Realign();
}

bool TControl::IsPropertyStored(const char* name) const {
    const QByteArray n(name);
    if (n == "Font")
        return !parentFont_;
    if (n == "Color")
        return !parentColor_;
    return TComponent::IsPropertyStored(name);
}

// ---------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    SetState(ComponentState::Destroying, true);
    // A container frees the controls placed in it, last first.
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        RemoveControl(child);
        delete child;
    }
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* win = dynamic_cast<TWinControl*>(control))
        tabList_.push_back(win);
}

void TWinControl::RemoveControl(TControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
    control->parent_ = nullptr;
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::FindChildControl(const QString& name) const {
    for (TControl* c : controls_)
        if (c->Name().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

int TWinControl::TabOrder() const {
    if (Streaming())
        return storedTabOrder_;
    if (!Parent())
        return -1;
    const auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (Streaming()) {
        storedTabOrder_ = value;
        return;
    }
    if (!Parent())
        return;
    auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    const int count = static_cast<int>(list.size());
    if (value < 0 || value >= count)
        value = count - 1;
    if (value == static_cast<int>(it - list.begin()))
        return;
    list.erase(it);
    list.insert(list.begin() + value, this);
    Parent()->ApplyTabOrder();
}

void TWinControl::ApplyTabOrder() {
    if (!WidgetIfCreated())
        return;
    QWidget* previous = nullptr;
    for (TWinControl* child : tabList_) {
        QWidget* w = child->WidgetIfCreated();
        if (!w)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void TWinControl::SetTabStop(bool value) {
    if (value == tabStop_)
        return;
    tabStop_ = value;
    if (QWidget* w = WidgetIfCreated(); w && !Streaming()) {
        Qt::FocusPolicy policy = w->focusPolicy();
        if (value)
            policy = policy == Qt::NoFocus ? Qt::StrongFocus
                                           : static_cast<Qt::FocusPolicy>(policy | Qt::TabFocus);
        else
            policy = static_cast<Qt::FocusPolicy>(policy & ~Qt::TabFocus);
        w->setFocusPolicy(policy);
    }
}

void TWinControl::SetCtl3D(bool value) {
    const bool changed = value != ctl3D_;
    ctl3D_ = value;
    parentCtl3D_ = false;
    if (changed && !Streaming())
        Ctl3DChanged();
}

void TWinControl::SetParentCtl3D(bool value) {
    if (value == parentCtl3D_)
        return;
    parentCtl3D_ = value;
    if (Streaming())
        return;
    if (value && Parent() && Parent()->Ctl3D() != ctl3D_) {
        ctl3D_ = Parent()->Ctl3D();
        Ctl3DChanged();
    }
}

void TWinControl::Ctl3DChanged() {
    NotifyControls(CM_PARENTCTL3DCHANGED);
    Invalidate();
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const {
    const QWidget* w = WidgetIfCreated();
    return w && w->hasFocus();
}

void TWinControl::SetFocus() {
    if (QWidget* w = Widget())
        w->setFocus(Qt::OtherFocusReason);
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward,
                                          bool checkTabStop) const {
    // Every windowed descendant in tab order, depth first.
    std::vector<TWinControl*> order;
    std::function<void(const TWinControl*)> collect = [&](const TWinControl* c) {
        for (TWinControl* child : c->tabList_) {
            order.push_back(child);
            collect(child);
        }
    };
    collect(this);
    if (order.empty())
        return nullptr;
    const int count = static_cast<int>(order.size());
    int start = -1;
    for (int i = 0; i < count; ++i)
        if (order[static_cast<std::size_t>(i)] == current)
            start = i;
    int i = start;
    for (int step = 0; step < count; ++step) {
        i = forward ? (i + 1) % count : (i <= 0 ? count - 1 : i - 1);
        TWinControl* candidate = order[static_cast<std::size_t>(i)];
        if (candidate == current)
            break;
        if ((!checkTabStop || candidate->TabStop()) && candidate->CanFocus())
            return candidate;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop))
        next->SetFocus();
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0)
        Realign();
}

void TWinControl::Realign() {
    if (alignDisabled_ > 0 || aligning_ || Streaming() || HasState(ComponentState::Destroying))
        return;
    TRect rect = ClientRect();
    AdjustClientRect(rect);
    aligning_ = true;
    try {
        AlignControls(nullptr, rect);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AdjustClientRect(TRect&) const {}

void TWinControl::AlignControls(TControl*, TRect& rect) {
    // Top and bottom bands take the full width first, then left and right
    // bands the height that remains, then client controls the rest.
    auto place = [&](TAlign align) {
        for (TControl* c : controls_) {
            if (c->Align() != align || !c->Visible())
                continue;
            int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
            switch (align) {
            case alTop:
                l = rect.Left;
                t = rect.Top;
                w = rect.Width();
                rect.Top += h;
                break;
            case alBottom:
                l = rect.Left;
                w = rect.Width();
                t = rect.Bottom - h;
                rect.Bottom -= h;
                break;
            case alLeft:
                l = rect.Left;
                t = rect.Top;
                h = rect.Height();
                rect.Left += w;
                break;
            case alRight:
                t = rect.Top;
                h = rect.Height();
                l = rect.Right - w;
                rect.Right -= w;
                break;
            case alClient:
                l = rect.Left;
                t = rect.Top;
                w = rect.Width();
                h = rect.Height();
                break;
            default: break;
            }
            c->SetBounds(l, t, std::max(w, 0), std::max(h, 0));
        }
    };
    place(alTop);
    place(alBottom);
    place(alLeft);
    place(alRight);
    place(alClient);
}

void TWinControl::Broadcast(TMessage& message) {
    const std::vector<TControl*> children = controls_;
    for (TControl* c : children) {
        c->WndProc(message);
        if (message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(std::uint32_t msg) {
    const std::vector<TControl*> children = controls_;
    for (TControl* c : children)
        c->Perform(msg);
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::KeyDown(std::uint16_t& key, TShiftState shift) { OnKeyDown(this, key, shift); }
void TWinControl::KeyUp(std::uint16_t& key, TShiftState shift) { OnKeyUp(this, key, shift); }
void TWinControl::KeyPress(char& key) { OnKeyPress(this, key); }
void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }

void TWinControl::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
        auto key = static_cast<std::uint16_t>(message.WParam);
        const auto shift = TShiftState::fromInt(static_cast<int>(message.LParam));
        if (message.Msg == WM_KEYDOWN)
            KeyDown(key, shift);
        else
            KeyUp(key, shift);
        message.WParam = key;
        message.Defaulted = key != 0;
        return;
    }
    case WM_CHAR: {
        char key = static_cast<char>(message.WParam);
        KeyPress(key);
        message.WParam = static_cast<unsigned char>(key);
        message.Defaulted = key != 0;
        return;
    }
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
        // Dialog keys and accelerators travel down to the controls inside.
        Broadcast(message);
        break;
    case CM_ENTER: DoEnter(); break;
    case CM_EXIT: DoExit(); break;
    case CM_PARENTCTL3DCHANGED:
        if (parentCtl3D_ && Parent() && Parent()->Ctl3D() != ctl3D_) {
            ctl3D_ = Parent()->Ctl3D();
            if (!Streaming())
                Ctl3DChanged();
        }
        break;
    default: break;
    }
    TControl::DefaultHandler(message);
}

bool TWinControl::eventFilter(QObject* watched, QEvent* event) {
    try {
        return FilterEvent(watched, event);
    } catch (const std::exception& e) {
        Application()->HandleException(e);
        return true;
    }
}

bool TWinControl::FilterEvent(QObject* watched, QEvent* event) {
    if (watched == WidgetIfCreated()) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            if (TrackDrag(event))
                return true; // Escape ended a drag

            auto* ke = static_cast<QKeyEvent*>(event);
            const std::uint16_t vk = VirtualKeyOf(ke->key());
            const TShiftState shift = ShiftOf(ke->modifiers());
            TMessage message;
            message.Msg = event->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP;
            message.WParam = vk;
            message.LParam = shift.toInt();
            if (vk != 0) {
                WndProc(message);
                if (!message.Defaulted)
                    return true;
            }
            if (event->type() == QEvent::KeyPress && ke->text().size() == 1) {
                const QChar ch = ke->text().at(0);
                if (ch.unicode() < 0x100 && ch.unicode() != 0) {
                    TMessage charMessage;
                    charMessage.Msg = WM_CHAR;
                    charMessage.WParam = ch.unicode();
                    WndProc(charMessage);
                    if (!charMessage.Defaulted)
                        return true;
                }
            }
            return false;
        }
        case QEvent::FocusIn:
            Perform(CM_ENTER);
            if (TForm* form = GetParentForm(this); form && form != this)
                form->FocusChanged(this);
            return false;
        case QEvent::FocusOut: Perform(CM_EXIT); return false;
        default: break;
        }
    }
    return TControl::eventFilter(watched, event);
}

void TWinControl::UpdateWidget() {
    TControl::UpdateWidget();
    QWidget* w = WidgetIfCreated();
    if (!w)
        return;
    Qt::FocusPolicy policy = w->focusPolicy();
    if (tabStop_)
        policy = policy == Qt::NoFocus ? Qt::StrongFocus
                                       : static_cast<Qt::FocusPolicy>(policy | Qt::TabFocus);
    else
        policy = static_cast<Qt::FocusPolicy>(policy & ~Qt::TabFocus);
    w->setFocusPolicy(policy);
}

void TWinControl::ReadState(TReader& reader) {
    TWinControl* oldParent = reader.Parent();
    reader.SetParent(this);
    DisableAlign();
    try {
        TComponent::ReadState(reader);
    } catch (...) {
        reader.SetParent(oldParent);
        --alignDisabled_;
        throw;
    }
    reader.SetParent(oldParent);
    --alignDisabled_;
}

std::vector<TComponent*> TWinControl::StreamedChildren(TComponent* root) const {
    std::vector<TComponent*> out;
    for (TControl* c : controls_)
        if (c->Owner() == root)
            out.push_back(c);
    return out;
}

void TWinControl::Loaded() {
    if (Parent() && parentCtl3D_)
        ctl3D_ = Parent()->Ctl3D();
    const int order = storedTabOrder_;
    TControl::Loaded();
    if (order >= 0)
        SetTabOrder(order);
    storedTabOrder_ = -1;
    ApplyTabOrder();
    Realign();
}

void TWinControl::ReleaseWindow() {
    for (TControl* child : controls_)
        child->ReleaseWindow();
    TControl::ReleaseWindow();
}

bool TWinControl::IsPropertyStored(const char* name) const {
    if (QByteArray(name) == "Ctl3D")
        return !parentCtl3D_;
    return TControl::IsPropertyStored(name);
}

// ---------------------------------------------------------------------------

std::uint16_t VirtualKeyOf(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<std::uint16_t>('0' + (qtKey - Qt::Key_0));
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<std::uint16_t>('A' + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<std::uint16_t>(VK_F1 + (qtKey - Qt::Key_F1));
    switch (qtKey) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: return 0;
    }
}

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s;
    if (modifiers & Qt::ShiftModifier)
        s |= ssShift;
    if (modifiers & Qt::AltModifier)
        s |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

} // namespace wt
