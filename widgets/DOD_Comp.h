// TCompoundComponentPanel: the container of controls made of several parts
// (the path editor), so that they look like one control: a panel that never
// shows a caption. It paints its frame and fills its inside, nothing more;
// descendants lay out their parts in Resize.
#pragma once

#include "toolkit/controls/panel.h"
#include "toolkit/core/classes.h"

namespace wt {

class TCompoundComponentPanel : public TCustomPanel {
    Q_OBJECT
public:
    // The panel's construction with its caption emptied. Child windows of
    // the toolkit carry no window title, so none is made here either.
    explicit TCompoundComponentPanel(TComponent* owner = nullptr);

protected:
    // Outer bevel, border in the panel colour, inner bevel, fill; no text.
    void Paint() override;
};

} // namespace wt
