// Forms: top-level windows read from their form description, with caption,
// client size, border style and icons, placement, stay-on-top, active
// control, Enter and Esc to the default and cancel buttons, accelerators,
// Show/Hide/ShowModal/Close, and window messages by number to handlers. A
// form's window is registered with the platform so posted messages reach it.
#pragma once

#include "toolkit/controls/control.h"
#include "toolkit/core/event.h"

#include "platform/types.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <stdexcept>
#include <string_view>
#include <vector>

class QEventLoop;
namespace wt {
class TDesigner;
}
class QKeyEvent;

namespace wt {

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

// Raised for operations a control cannot do in its state (a visible form
// shown modally, say).
class EInvalidOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TForm : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE SetWidth STORED false)
    Q_PROPERTY(int Height READ Height WRITE SetHeight STORED false)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(wt::ui::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(wt::ui::TBorderIcons BorderIcons READ BorderIcons WRITE SetBorderIcons)
    Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
    Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
    Q_PROPERTY(wt::ui::TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(wt::ui::TFormStyle FormStyle READ FormStyle WRITE SetFormStyle)
    Q_PROPERTY(wt::TWinControl* ActiveControl READ ActiveControl WRITE SetActiveControl)
    Q_PROPERTY(bool KeyPreview READ KeyPreview WRITE SetKeyPreview)
    Q_CLASSINFO("Default.Visible", "False")
    Q_CLASSINFO("Default.Color", "clBtnFace")
    Q_CLASSINFO("Default.ParentColor", "False")
    Q_CLASSINFO("Default.ParentFont", "False")
    Q_CLASSINFO("Default.BorderStyle", "bsSizeable")
    Q_CLASSINFO("Default.BorderIcons", "[biSystemMenu, biMinimize, biMaximize]")
    Q_CLASSINFO("Default.Position", "poDesigned")
    Q_CLASSINFO("Default.FormStyle", "fsNormal")
    Q_CLASSINFO("Default.KeyPreview", "False")

public:
    explicit TForm(TComponent* owner = nullptr);
    ~TForm() override;

    // Reads the form's description: components, properties, events bound to
    // the handlers declared with Handler, fields declared with Field; then
    // Loaded on everything, then OnCreate. Call it at the end of the
    // derived constructor. Throws EFormError and leaves no component behind.
    void ReadForm(std::string_view text, const QString& fileName);

    template <class F, class... Args>
    void Handler(const QString& name, void (F::*method)(Args...)) {
        handlers_.Add(name, static_cast<F*>(this), method);
    }
    // A member pointer set to the component of that name once the form is read.
    template <class T>
    void Field(const QString& name, T*& field) {
        fields_.push_back({name, [&field](TComponent* c) {
                               field = dynamic_cast<T*>(c);
                               return field != nullptr;
                           }});
    }
    const THandlerTable& Handlers() const { return handlers_; }

    // The designer the form is being designed in, if any (not owned).
    TDesigner* Designer() const { return designer_; }
    void SetDesigner(TDesigner* designer) { designer_ = designer; }

    // A control on the form took the focus: it becomes the active control
    // and every control hears CM_FOCUSCHANGED (LParam: the control).
    void FocusChanged(TWinControl* control);

    // --- Published ---------------------------------------------------------------
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    void SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
    void SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value);
    TWinControl* ActiveControl() const { return activeControl_.data(); }
    void SetActiveControl(TWinControl* control);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }

    TRect ClientRect() const override;
    // Frame extents around the client area the border style gives.
    int BorderWidth() const;
    int CaptionHeight() const;

    // --- Showing -------------------------------------------------------------------
    void Show();
    void Hide();
    // Shows the form modally and returns the modal result once it is set
    // (by a button, Close or the handlers); the form is hidden again. When
    // the application is terminating (QCoreApplication::exit) the loop ends
    // with mrCancel without asking OnCloseQuery, so no dialog keeps the
    // program alive.
    int ShowModal();
    bool Modal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    // A non-zero result ends the modal loop.
    void SetModalResult(int value);
    // Asks OnCloseQuery, runs OnClose and does what its action says
    // (hide, free later, nothing). On a modal form it sets mrCancel.
    void Close();
    // Frees the form once the handlers running now are done.
    void Release();
    bool CloseQuery();

    // The window handle under which the platform reaches this form (made on
    // first use, with the form's window).
    WindowHandle Handle();
    WindowHandle HandleIfCreated() const { return handle_; }

    // Enter, Esc and accelerators, as the form gets them when no control
    // took the key: Enter and Esc travel as CM_DIALOGKEY, characters as
    // CM_DIALOGCHAR (lParam 1 with Alt), to the controls until one answers.
    bool DialogKey(std::uint16_t key, TShiftState shift);
    bool DialogChar(QChar ch, bool alt);

    std::vector<TComponent*> StreamedChildren(TComponent* root) const override;
    void Loaded() override;

    TNotifyEvent OnCreate{this, "OnCreate"};
    TNotifyEvent OnShow{this, "OnShow"};
    TNotifyEvent OnHide{this, "OnHide"};
    TCloseEvent OnClose{this, "OnClose"};
    TCloseQueryEvent OnCloseQuery{this, "OnCloseQuery"};
    TNotifyEvent OnActivate{this, "OnActivate"};
    TNotifyEvent OnDeactivate{this, "OnDeactivate"};

protected:
    QWidget* CreateWidget(QWidget* parentWidget) override;
    void UpdateWidget() override;
    void ApplyBounds() override;
    void ApplyVisible() override;
    void TextChanged() override;
    void VisibleChanged() override;
    void ApplyWindowFlags();
    // Tells the window manager which frame buttons the border style and
    // icons give: a fixed size has no maximize.
    void AskFrame();
    // The window system asked the window to close (its close box, a window
    // manager's request). Without a system menu the request is ignored.
    virtual void WindowCloseRequested();

private:
    friend class FormWidget;
    // One pass of the modal loop: runs until the modal result is set; false
    // when it ended because the application is terminating.
    bool RunModalLoop();
    void CloseModal();
    void FocusFirst();
    void KeyFromWindow(QKeyEvent* event);
    void ActivationChanged(bool active);

    struct FieldBinding {
        QString Name;
        std::function<bool(TComponent*)> Assign;
    };
    THandlerTable handlers_;
    std::vector<FieldBinding> fields_;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = TBorderIcons(biSystemMenu) | biMinimize | biMaximize;
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    QPointer<TWinControl> activeControl_;
    bool keyPreview_ = false;
    bool modal_ = false;
    int modalResult_ = 0;
    QEventLoop* modalLoop_ = nullptr; // while RunModalLoop runs
    bool modalLoopEnded_ = false;     // the form itself ended that loop
    bool placed_ = false;
    bool releasing_ = false;
    bool widgetReady_ = false; // the widget and its children exist
    WindowHandle handle_ = 0;
    TDesigner* designer_ = nullptr;
};

// The form a control sits on (nullptr when it is on none).
TForm* GetParentForm(const TControl* control);

} // namespace wt
