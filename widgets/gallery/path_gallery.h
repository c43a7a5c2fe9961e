// TfrmPathEditorGallery: the path editor in each of its three styles, with
// the browse button shown and with it hidden (smart show, the edit not
// focused), for the snapshot tool. Not part of the add-in.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/forms/form.h"

namespace wt {

class TfrmPathEditorGallery : public TForm {
    Q_OBJECT
public:
    explicit TfrmPathEditorGallery(TComponent* owner = nullptr);
};

WT_REGISTER_CLASS(TfrmPathEditorGallery);

} // namespace wt
