// TSpinEdit: a whole-number field with up and down buttons over QSpinBox,
// kept within MinValue and MaxValue (no bounds while the two are equal).
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/controls/control.h"

class QSpinBox;

namespace wt {

class TSpinEdit : public TWinControl {
    Q_OBJECT
    // Without declared defaults: always stored.
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(int Value READ Value WRITE SetValue)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE SetEditorEnabled)
    Q_CLASSINFO("Default.Increment", "1")
    Q_CLASSINFO("Default.EditorEnabled", "True")
    Q_CLASSINFO("Default.ParentColor", "False")
    Q_CLASSINFO("Default.TabStop", "True")

public:
    explicit TSpinEdit(TComponent* owner = nullptr);

    int MinValue() const { return minValue_; }
    void SetMinValue(int value);
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value);
    int Value() const { return value_; }
    // Brought within the bounds first.
    void SetValue(int value);
    int Increment() const { return increment_; }
    void SetIncrement(int value);
    // False: the number changes only by the buttons and arrow keys.
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool value);

    TNotifyEvent OnChange{this, "OnChange"};

protected:
    virtual void Change();
    QWidget* CreateWidget(QWidget* parentWidget) override;
    void UpdateWidget() override;
    void Loaded() override;
    int CheckValue(int value) const;

private:
    QSpinBox* SpinBox() const;
    void ApplyRange();
    void WidgetValueChanged(int value);

    int minValue_ = 0;
    int maxValue_ = 0;
    int value_ = 0;
    int increment_ = 1;
    bool editorEnabled_ = true;
    bool pushing_ = false;
};

WT_REGISTER_CLASS(TSpinEdit);

} // namespace wt
