// TRzLabel: the label with its caption raised or recessed: two more passes
// of the text, one pixel down-right and one up-left in the button shadow and
// highlight colours, drawn under the text itself. The size follows the text
// alone, as a plain label's does.
#pragma once

#include "toolkit/controls/label.h"
#include "toolkit/core/classes.h"

namespace wt {

class TRzLabel : public TLabel {
    Q_OBJECT
    Q_PROPERTY(TTextStyle TextStyle READ TextStyle WRITE SetTextStyle)
    Q_CLASSINFO("Default.TextStyle", "tsRecessed")

public:
    enum TTextStyle { tsNone, tsRaised, tsRecessed };
    Q_ENUM(TTextStyle)

    explicit TRzLabel(TComponent* owner = nullptr);

    TTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TTextStyle value);

protected:
    void Paint() override;

private:
    TTextStyle textStyle_ = tsRecessed;
};

using TTextStyle = TRzLabel::TTextStyle;

WT_REGISTER_CLASS(TRzLabel);

} // namespace wt
