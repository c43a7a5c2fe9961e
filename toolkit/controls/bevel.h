// TBevel: a windowless 3D frame, box or line in the button shadow and
// highlight colours, lowered or raised, drawn over its parent.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/controls/graphiccontrol.h"

namespace wt {

class TBevel : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(TBevelShape Shape READ Shape WRITE SetShape)
    Q_PROPERTY(TBevelStyle Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default.Shape", "bsBox")
    Q_CLASSINFO("Default.Style", "bsLowered")

public:
    enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };
    Q_ENUM(TBevelShape)
    enum TBevelStyle { bsLowered, bsRaised };
    Q_ENUM(TBevelStyle)

    explicit TBevel(TComponent* owner = nullptr);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle value);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

WT_REGISTER_CLASS(TBevel);

} // namespace wt
