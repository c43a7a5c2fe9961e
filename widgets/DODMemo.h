// TCDKMemo: the memo with a TopLine property (the first visible line, set by
// scrolling) and AllowCaret: while false, the nine mouse button messages are
// dropped, so clicks neither move a caret, select, focus nor open a menu.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/controls/memo.h"

namespace wt {

class TCDKMemo : public TMemo {
    Q_OBJECT
    // No declared default: always stored.
    Q_PROPERTY(int TopLine READ TopLine WRITE SetTopLine)
    Q_PROPERTY(bool AllowCaret READ AllowCaret WRITE SetAllowCaret)
    Q_CLASSINFO("Default.AllowCaret", "True")

public:
    explicit TCDKMemo(TComponent* owner = nullptr);

    // The index of the first visible line; makes the control's window.
    int TopLine();
    // Scrolls by the difference to the current first line: down for a
    // larger value, up for a smaller, not at all for the same.
    void SetTopLine(int value);
    bool AllowCaret() const { return allowCaret_; }
    // Takes effect with the next mouse message.
    void SetAllowCaret(bool value);

    void Loaded() override;

private:
    void ButtonMessage(TMessage& message);

    bool allowCaret_ = true;
    int pendingTopLine_ = 0; // read from a form, scrolled to after loading
};

WT_REGISTER_CLASS(TCDKMemo);

} // namespace wt
