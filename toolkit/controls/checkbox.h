// TCheckBox over QCheckBox: Checked and State (unchecked, checked, greyed).
// Every change of state, by the user or from code, runs OnClick, as the
// classic check box does; while a form is read the state is only stored.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/controls/control.h"

class QCheckBox;

namespace wt {

class TCheckBox : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(wt::ui::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AllowGrayed READ AllowGrayed WRITE SetAllowGrayed)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked STORED false)
    Q_PROPERTY(TCheckBoxState State READ State WRITE SetState)
    Q_CLASSINFO("Default.Caption", "''")
    Q_CLASSINFO("Default.Alignment", "taRightJustify")
    Q_CLASSINFO("Default.AllowGrayed", "False")
    Q_CLASSINFO("Default.State", "cbUnchecked")
    Q_CLASSINFO("Default.TabStop", "True")

public:
    enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
    Q_ENUM(TCheckBoxState)

    explicit TCheckBox(TComponent* owner = nullptr);

    // taRightJustify: the text to the right of the box; taLeftJustify: left.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    // Ticked means the checked state only, not the greyed one.
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState value);
    // What a click does: unchecked -> greyed (when allowed) or checked,
    // checked -> unchecked, greyed -> checked.
    virtual void Toggle();

    void DefaultHandler(TMessage& message) override;

protected:
    QWidget* CreateWidget(QWidget* parentWidget) override;
    void UpdateWidget() override;
    void TextChanged() override;

private:
    QCheckBox* Box() const;
    void ApplyState();

    TAlignment alignment_ = taRightJustify;
    bool allowGrayed_ = false;
    TCheckBoxState state_ = cbUnchecked;
};

using TCheckBoxState = TCheckBox::TCheckBoxState;

WT_REGISTER_CLASS(TCheckBox);

} // namespace wt
