// TfrmLabelGallery: every look of the raised-text and rotated labels on one
// form, for the snapshot tool: each text style, enabled and disabled, and
// each shadow style at 0, 45, 90, 180 and 270 degrees. Not part of the add-in.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/forms/form.h"

namespace wt {

class TfrmLabelGallery : public TForm {
    Q_OBJECT
public:
    explicit TfrmLabelGallery(TComponent* owner = nullptr);
};

WT_REGISTER_CLASS(TfrmLabelGallery);

} // namespace wt
