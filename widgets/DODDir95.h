// TCDKWin95DirListBox: the directory list of the "Select a Directory"
// dialog, the toolkit's list drawn with the program's own Win95-style
// folder glyphs (WIN95DIRLISTBOX_OPEN_FOLDER, _CLOSED_FOLDER and
// _CURRENT_FOLDER) instead of the toolkit's.
#pragma once

#include "toolkit/controls/dirlistbox.h"
#include "toolkit/core/classes.h"

namespace wt {

class TCDKWin95DirListBox : public TDirectoryListBox {
    Q_OBJECT
public:
    explicit TCDKWin95DirListBox(TComponent* owner = nullptr);

protected:
    void ReadBitmaps(std::array<TBitmap, 3>& glyphs) override;
};

WT_REGISTER_CLASS(TCDKWin95DirListBox);

} // namespace wt
