// TPage: the plain notebook page, a custom control with a published caption
// that a notebook shows one at a time; registered for form descriptions.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/controls/customcontrol.h"

namespace wt {

class TPage : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_CLASSINFO("Default.Caption", "''")

public:
    explicit TPage(TComponent* owner = nullptr);
};

WT_REGISTER_CLASS(TPage);

} // namespace wt
