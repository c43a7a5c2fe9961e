// TButton: a push button over QPushButton. Its click sets the modal result
// of its form and runs OnClick; as the default button Enter presses it, as
// the cancel button Esc does, and its caption's accelerator does too.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/controls/control.h"

class QPushButton;

namespace wt {

class TButton : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(wt::ui::TModalResult ModalResult READ ModalResult WRITE SetModalResult)
    Q_CLASSINFO("Default.Caption", "''")
    Q_CLASSINFO("Default.Cancel", "False")
    Q_CLASSINFO("Default.Default", "False")
    Q_CLASSINFO("Default.ModalResult", "mrNone")
    Q_CLASSINFO("Default.TabStop", "True")

public:
    explicit TButton(TComponent* owner = nullptr);

    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    bool Default() const { return default_; }
    void SetDefault(bool value);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }

    // Sets the form's modal result, then runs OnClick; also while disabled,
    // when called from code.
    void Click() override;
    void DefaultHandler(TMessage& message) override;

protected:
    QWidget* CreateWidget(QWidget* parentWidget) override;
    void UpdateWidget() override;
    void TextChanged() override;
    // The default button answers Enter unless another button has the focus.
    bool ActiveForEnter() const;

private:
    bool cancel_ = false;
    bool default_ = false;
    TModalResult modalResult_ = mrNone;
};

WT_REGISTER_CLASS(TButton);

} // namespace wt
