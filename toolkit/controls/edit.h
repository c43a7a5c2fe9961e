// TEdit: the one-line edit box over QLineEdit, with character case,
// maximum length, password character, read-only and OnChange, which runs on
// every change of the text, typed or set from code.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/controls/control.h"
#include "toolkit/controls/dragdrop.h"

#include <memory>

class QLineEdit;

namespace wt {

class TEdit : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)
    Q_PROPERTY(wt::ui::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(TEditCharCase CharCase READ CharCase WRITE SetCharCase)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool OEMConvert READ OEMConvert WRITE SetOEMConvert)
    Q_PROPERTY(QString PasswordChar READ PasswordChar WRITE SetPasswordChar)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_CLASSINFO("Default.AutoSelect", "True")
    Q_CLASSINFO("Default.BorderStyle", "bsSingleBorder")
    Q_CLASSINFO("Default.CharCase", "ecNormal")
    Q_CLASSINFO("Default.MaxLength", "0")
    Q_CLASSINFO("Default.OEMConvert", "False")
    Q_CLASSINFO("Default.PasswordChar", "''")
    Q_CLASSINFO("Default.ReadOnly", "False")
    Q_CLASSINFO("Default.Text", "''")
    Q_CLASSINFO("Default.ParentColor", "False")
    Q_CLASSINFO("Default.TabStop", "True")

public:
    enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
    Q_ENUM(TEditCharCase)

    explicit TEdit(TComponent* owner = nullptr);

    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TEditCharCase CharCase() const { return charCase_; }
    // Converts the text at once and every character typed from then on.
    void SetCharCase(TEditCharCase value);
    // 0: no limit. Longer text is cut, typed or set.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool OEMConvert() const { return oemConvert_; }
    void SetOEMConvert(bool value) { oemConvert_ = value; }
    // One character shown for each typed one; empty shows the text.
    QString PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(const QString& value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);

    void Clear() { SetText(QString()); }
    void SelectAll();
    int SelStart() const;
    int SelLength() const;
    void SetSelStart(int value);
    void SetSelLength(int value);

    TNotifyEvent OnChange{this, "OnChange"};
    // A drop target: files dragged in from a file manager and drags of the
    // toolkit's own controls. OnDragOver decides (accepted unless it clears
    // the flag); a drop of files puts the first file's path into the text,
    // then OnDragDrop runs. OnEndDrag ends a drag that started at the edit
    // (BeginDrag, or DragMode dmAutomatic).
    TDragOverEvent OnDragOver{this, "OnDragOver"};
    TDragDropEvent OnDragDrop{this, "OnDragDrop"};
    TEndDragEvent OnEndDrag{this, "OnEndDrag"};

    bool DragOver(TObject* source, int x, int y, TDragState state) override;
    void DragDrop(TObject* source, int x, int y) override;

protected:
    virtual void Change();
    void DoEndDrag(TObject* target, int x, int y) override { OnEndDrag(this, target, x, y); }
    bool eventFilter(QObject* watched, QEvent* event) override;
    QWidget* CreateWidget(QWidget* parentWidget) override;
    void UpdateWidget() override;
    void TextChanged() override;
    void Loaded() override;
    // The text as the case setting makes it and the length limit leaves it.
    QString Conformed(const QString& text) const;

private:
    QLineEdit* LineEdit() const;
    void ApplyEditStyle();
    void WidgetTextChanged(const QString& text);

    bool autoSelect_ = true;
    TBorderStyle borderStyle_ = bsSingleBorder;
    TEditCharCase charCase_ = ecNormal;
    int maxLength_ = 0;
    bool oemConvert_ = false;
    QString passwordChar_;
    bool readOnly_ = false;
    bool pushing_ = false;                 // setting the widget's text from ours
    std::unique_ptr<TDragObject> dragged_; // the files over the edit now
    int dragX_ = 0, dragY_ = 0;
};

using TEditCharCase = TEdit::TEditCharCase;

WT_REGISTER_CLASS(TEdit);

} // namespace wt
