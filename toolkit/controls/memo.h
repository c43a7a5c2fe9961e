// TMemo: the multi-line edit control over QPlainTextEdit, with its Lines,
// alignment, word wrap, read-only, scroll bars, the first visible line, and
// mouse messages that come from its viewport, where Qt delivers the clicks.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/controls/control.h"

#include <QStringList>

class QPlainTextEdit;

namespace wt {

class TMemo : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(wt::ui::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(wt::ui::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QStringList Lines READ Lines WRITE SetLines)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
    Q_PROPERTY(bool WantReturns READ WantReturns WRITE SetWantReturns)
    Q_PROPERTY(bool WantTabs READ WantTabs WRITE SetWantTabs)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_CLASSINFO("Default.Alignment", "taLeftJustify")
    Q_CLASSINFO("Default.BorderStyle", "bsSingleBorder")
    Q_CLASSINFO("Default.Lines", "()")
    Q_CLASSINFO("Default.MaxLength", "0")
    Q_CLASSINFO("Default.ReadOnly", "False")
    Q_CLASSINFO("Default.ScrollBars", "ssNone")
    Q_CLASSINFO("Default.WantReturns", "True")
    Q_CLASSINFO("Default.WantTabs", "False")
    Q_CLASSINFO("Default.WordWrap", "True")
    Q_CLASSINFO("Default.ParentColor", "False")
    Q_CLASSINFO("Default.TabStop", "True")

public:
    enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
    Q_ENUM(TScrollStyle)

    explicit TMemo(TComponent* owner = nullptr);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    // The text's lines ("\r\n", "\r" and "\n" all break lines); an empty
    // memo has none.
    QStringList Lines() const;
    void SetLines(const QStringList& lines);
    // Appends text as a new last line; line breaks inside it start more lines.
    void AddLine(const QString& text);
    int LineCount() const { return static_cast<int>(Lines().size()); }
    void Clear() { SetText(QString()); }
    // 0: no limit on typing.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value) { maxLength_ = value; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);

    // The first visible line (wrapped lines count one by one); reading or
    // writing it makes the control's window. Writing scrolls by the
    // difference to the current first line, within the text.
    int FirstVisibleLine();
    void ScrollLines(int lines);

    // Whether a click gives the control the focus (it does by default).
    void SetClickFocus(bool on);
    bool ClickFocus() const { return clickFocus_; }

    TNotifyEvent OnChange{this, "OnChange"};

protected:
    virtual void Change();
    QWidget* CreateWidget(QWidget* parentWidget) override;
    void UpdateWidget() override;
    void TextChanged() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* Editor() const;
    void ApplyEditStyle();
    void ApplyFocusPolicy();
    void ApplyViewportCursor();
    void WidgetTextChanged();
    bool ViewportMouse(QEvent* event);

    TAlignment alignment_ = taLeftJustify;
    TBorderStyle borderStyle_ = bsSingleBorder;
    int maxLength_ = 0;
    bool readOnly_ = false;
    TScrollStyle scrollBars_ = ssNone;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
    bool wordWrap_ = true;
    bool clickFocus_ = true;
    bool pushing_ = false;
    bool rightButtonDropped_ = false; // the context menu goes with the right button
};

using TScrollStyle = TMemo::TScrollStyle;

WT_REGISTER_CLASS(TMemo);

} // namespace wt
