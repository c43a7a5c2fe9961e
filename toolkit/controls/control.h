// The control base classes: TControl (bounds, visibility, colour, font,
// cursor, hint, alignment, mouse steps, messages by number, control style,
// popup menu, drags) and TWinControl (children, tab order, focus, keys,
// child alignment), each thin over a QWidget created on demand.
#pragma once

#include "toolkit/graphics/colors.h"
#include "toolkit/controls/dragdrop.h"
#include "toolkit/controls/menus.h"
#include "toolkit/core/component.h"
#include "toolkit/core/enums.h"
#include "toolkit/core/event.h"
#include "toolkit/graphics/font.h"
#include "toolkit/core/messages.h"

#include <QFlags>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class QWidget;
class QEvent;
class QMouseEvent;
class QPoint;

namespace wt {

class TWinControl;

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, std::uint16_t&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;
using TMessageHandler = std::function<void(TMessage&)>;

// What a control is, as the toolkit and a form designer ask it: whether a
// designer may drop child controls into it, whether its caption follows its
// name (set in code: a caption that equals the old name, or is empty with
// no name yet, takes the new name; not while the control is read from a
// form). Panels have both.
enum TControlStyleFlag { csAcceptsControls = 1 << 0, csSetCaption = 1 << 1 };
Q_DECLARE_FLAGS(TControlStyle, TControlStyleFlag)

class TControl : public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(wt::ui::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(wt::TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(wt::ui::TCursor Cursor READ Cursor WRITE SetCursor)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
    Q_PROPERTY(wt::ui::TDragMode DragMode READ DragMode WRITE SetDragMode)
    Q_PROPERTY(wt::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_CLASSINFO("Default.Align", "alNone")
    Q_CLASSINFO("Default.Visible", "True")
    Q_CLASSINFO("Default.Enabled", "True")
    Q_CLASSINFO("Default.Color", "clWindow")
    Q_CLASSINFO("Default.ParentColor", "True")
    Q_CLASSINFO("Default.ParentFont", "True")
    Q_CLASSINFO("Default.Cursor", "crDefault")
    Q_CLASSINFO("Default.Hint", "''")
    Q_CLASSINFO("Default.ShowHint", "False")
    Q_CLASSINFO("Default.HelpContext", "0")
    Q_CLASSINFO("Default.DragMode", "dmManual")

public:
    explicit TControl(TComponent* owner = nullptr);
    ~TControl() override;

    // --- Published properties ------------------------------------------------
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    // Left and top are in the parent's client coordinates.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& value);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);
    QString Hint() const { return hint_; }
    void SetHint(const QString& value);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value) { helpContext_ = value; }
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode value) { dragMode_ = value; }
    // Shown at the pointer on a right click or the menu key (when its
    // AutoPopup holds). Without one, a widget with a menu of its own (an
    // edit's) shows that, any other passes the click to its parent.
    TPopupMenu* PopupMenu() const { return popupMenu_.data(); }
    void SetPopupMenu(TPopupMenu* value) { popupMenu_ = value; }

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
    void SetName(const QString& name) override;

    // Caption and Text share one value; classes that show it publish it.
    QString Caption() const { return text_; }
    void SetCaption(const QString& value) { SetText(value); }
    QString Text() const { return text_; }
    void SetText(const QString& value);

    // --- Geometry --------------------------------------------------------------
    // The area children are placed in, in this control's coordinates.
    virtual TRect ClientRect() const { return {0, 0, width_, height_}; }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientSize(int width, int height);
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    // --- Parent and window ------------------------------------------------------
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // The control's widget, created (with its parent's) on first use. Creating
    // it pushes every stored property to it.
    QWidget* Widget();
    QWidget* WidgetIfCreated() const { return widget_; }
    bool HandleAllocated() const { return widget_ != nullptr; }
    // Drops the widget; the next Widget() makes a new one.
    void DestroyWidget();
    // Gives up the window and what it holds (children's too): the widgets,
    // and the pixels kept for painting. Showing the control again makes
    // them anew.
    virtual void ReleaseWindow() { DestroyWidget(); }
    static TControl* FromWidget(const QWidget* widget);

    bool Showing() const; // visible here and in every parent
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    void BringToFront();
    void SendToBack();
    // Virtual so that self-drawn controls track what is to be painted.
    virtual void Invalidate();
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }

    // --- Messages by number -------------------------------------------------------
    std::intptr_t Perform(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    // Runs the handler set for msg, else the default handling.
    virtual void WndProc(TMessage& message);
    // What the toolkit does with a message nobody took: mouse messages go to
    // the mouse steps, parent font and colour notices are followed.
    virtual void DefaultHandler(TMessage& message);
    // A handler for one message number (nullptr removes it); call
    // DefaultHandler from it to keep the toolkit's handling.
    void SetMessageHandler(std::uint32_t msg, TMessageHandler handler);
    // Shows a screen cursor over the control now, as a WM_SETCURSOR handler
    // does; the next WM_SETCURSOR left to the default brings Cursor back.
    void SetCursorNow(TCursor id);

    // --- Dragging -------------------------------------------------------------------
    // Starts a drag of this control: at once, or once the pointer has moved
    // five pixels with the left button down. Over each control the drag
    // asks DragOver; releasing the button over one that accepts drops there
    // (DragDrop with this control as Source); Escape or a release elsewhere
    // cancels. Either way DoEndDrag follows, with the target or nullptr.
    void BeginDrag(bool immediate);
    // Ends the drag from code: dropped where the pointer is, or cancelled.
    void EndDrag(bool drop);
    bool Dragging() const;
    // The drop target's steps; a plain control accepts nothing.
    virtual bool DragOver(TObject* source, int x, int y, TDragState state);
    virtual void DragDrop(TObject* source, int x, int y);

    // --- Steps subclasses refine ------------------------------------------------
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

    void Loaded() override;
    bool IsPropertyStored(const char* name) const override;

    TNotifyEvent OnClick{this, "OnClick"};
    TNotifyEvent OnDblClick{this, "OnDblClick"};
    TMouseEvent OnMouseDown{this, "OnMouseDown"};
    TMouseMoveEvent OnMouseMove{this, "OnMouseMove"};
    TMouseEvent OnMouseUp{this, "OnMouseUp"};

protected:
    // Makes the widget; parentWidget is the parent's widget (nullptr for a
    // top-level window). The default is a plain QWidget.
    virtual QWidget* CreateWidget(QWidget* parentWidget);
    // Pushes every stored property to the widget; runs after creation and at
    // the end of loading. Subclasses push their own and call this.
    virtual void UpdateWidget();
    // Pushes one aspect to the widget (only called when one exists).
    virtual void ApplyBounds();
    virtual void ApplyVisible();
    virtual void ApplyFont();
    virtual void ApplyColor();
    // After a change of the value; the defaults apply it and tell children.
    virtual void TextChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void EnabledChanged();
    virtual void VisibleChanged();
    // Qt events of the widget, translated to messages; true swallows the event.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // After the bounds changed (not while streaming); the default realigns.
    virtual void BoundsChanged();
    // Stores the bounds without touching the widget or the alignment.
    void StoreBounds(int left, int top, int width, int height);
    // Controls without a clicking widget of their own (panels, images, labels)
    // raise Click on a left button release inside after a press inside.
    void SetClickOnMouseUp(bool on) { clickOnMouseUp_ = on; }
    bool Streaming() const { return IsStreaming(); }
    // The end of a drag that started here; target is nullptr when it was
    // cancelled or nobody accepted it. X and Y are the target's.
    virtual void DoEndDrag(TObject* target, int x, int y);

private:
    void AttachWidget(QWidget* widget);
    // A right click or the menu key: this control's popup menu; false when
    // it has none to show.
    bool ShowPopupMenu(int screenX, int screenY);
    // The pointer's steps while this control is a drag's source.
    bool TrackDrag(QEvent* event);
    void DragTo(QPoint screen);
    // Before a mouse message at a point of the control: WM_NCHITTEST (with
    // the screen point) and WM_SETCURSOR, as the window system sends them.
    void HitTestAndCursor(QPoint local, std::uint32_t mouseMsg);
    // While designing: unless the control claims the message through
    // CM_DESIGNHITTEST, the form's designer gets it instead.
    bool DesignerTook(const QMouseEvent* event, TMessage& message);
    void ApplyCursor();
    friend class TWinControl;

    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = true;
    TFont font_;
    bool parentFont_ = true;
    TCursor cursor_ = crDefault;
    QString hint_;
    bool showHint_ = false;
    int helpContext_ = 0;
    TDragMode dragMode_ = dmManual;
    QPointer<TPopupMenu> popupMenu_;
    TControlStyle controlStyle_;
    QString text_;
    TWinControl* parent_ = nullptr;
    QWidget* widget_ = nullptr;
    bool creatingWidget_ = false;
    bool clickOnMouseUp_ = false;
    bool leftPressed_ = false;
    bool cursorOverridden_ = false;
    std::map<std::uint32_t, TMessageHandler> messageHandlers_;
};

class TWinControl : public TControl {
    Q_OBJECT
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(bool ParentCtl3D READ ParentCtl3D WRITE SetParentCtl3D)
    Q_CLASSINFO("Default.TabOrder", "-1")
    Q_CLASSINFO("Default.TabStop", "False")
    Q_CLASSINFO("Default.Ctl3D", "True")
    Q_CLASSINFO("Default.ParentCtl3D", "True")

public:
    explicit TWinControl(TComponent* owner = nullptr);
    ~TWinControl() override;

    // Child controls in z-order, bottom first.
    const std::vector<TControl*>& Controls() const { return controls_; }
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Control(int index) const { return controls_.at(static_cast<std::size_t>(index)); }
    bool ContainsControl(const TControl* control) const; // also deeper down
    TControl* FindChildControl(const QString& name) const;

    // Position among the windowed children in tab order; -1 without a parent.
    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);
    bool ParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool value);
    // The windowed children in tab order.
    const std::vector<TWinControl*>& TabList() const { return tabList_; }

    // --- Focus -------------------------------------------------------------------
    virtual bool CanFocus() const; // showing and enabled up to the form
    bool Focused() const;
    virtual void SetFocus();
    // The next (or previous) control in tab order after current among the
    // descendants; with checkTabStop only tab stops count.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

    // --- Child alignment -----------------------------------------------------------
    void Realign();
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();

    // Sends a message to every child control, stopping at the first that sets
    // a non-zero result (accelerators travel this way).
    void Broadcast(TMessage& message);
    // Sends a message to every child control.
    void NotifyControls(std::uint32_t msg);

    // --- Keys and focus steps -------------------------------------------------------
    virtual void KeyDown(std::uint16_t& key, TShiftState shift);
    virtual void KeyUp(std::uint16_t& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void DoEnter();
    virtual void DoExit();

    void DefaultHandler(TMessage& message) override;
    void ReadState(TReader& reader) override;
    std::vector<TComponent*> StreamedChildren(TComponent* root) const override;
    void Loaded() override;
    bool IsPropertyStored(const char* name) const override;
    void ReleaseWindow() override;

    TNotifyEvent OnEnter{this, "OnEnter"};
    TNotifyEvent OnExit{this, "OnExit"};
    TKeyEvent OnKeyDown{this, "OnKeyDown"};
    TKeyPressEvent OnKeyPress{this, "OnKeyPress"};
    TKeyEvent OnKeyUp{this, "OnKeyUp"};

protected:
    // Places aligned children within rect (the client rectangle after
    // AdjustClientRect); containers with a page area refine it.
    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void AdjustClientRect(TRect& rect) const;
    void UpdateWidget() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void FontChanged() override;
    void ColorChanged() override;
    virtual void Ctl3DChanged();

private:
    friend class TControl;
    bool FilterEvent(QObject* watched, QEvent* event);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void ApplyTabOrder();

    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
    int storedTabOrder_ = -1; // read from a form, placed in Loaded
    int alignDisabled_ = 0;
    bool aligning_ = false;
};

// The key and shift state of a Qt key event as virtual key code and shift set.
std::uint16_t VirtualKeyOf(int qtKey);
TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = {});

} // namespace wt

Q_DECLARE_OPERATORS_FOR_FLAGS(wt::TControlStyle)
