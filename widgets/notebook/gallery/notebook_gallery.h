// TfrmNotebookGallery: the notebook's looks on one form, for the snapshot
// tool: tabs on each side, three rows rotated by a selection, anchored rows,
// the unselected-tab colour, bitmaps in several alignments, a disabled
// page's dithered glyph, sideways captions and the focus mark. Not part of
// the add-in.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/forms/form.h"

namespace wt {

class TcsNotebook;

class TfrmNotebookGallery : public TForm {
    Q_OBJECT
public:
    explicit TfrmNotebookGallery(TComponent* owner = nullptr);

private:
    void FormShow(TObject* sender);
    TcsNotebook* focused_ = nullptr;
};

WT_REGISTER_CLASS(TfrmNotebookGallery);

} // namespace wt
