#include "widgets/DODDir95.h"

namespace wt {

TCDKWin95DirListBox::TCDKWin95DirListBox(TComponent* owner) : TDirectoryListBox(owner) {
    Glyph(frOpen); // the glyphs are read while the list is made
}

void TCDKWin95DirListBox::ReadBitmaps(std::array<TBitmap, 3>& glyphs) {
    const char* const names[] = {"WIN95DIRLISTBOX_OPEN_FOLDER", "WIN95DIRLISTBOX_CLOSED_FOLDER",
                                 "WIN95DIRLISTBOX_CURRENT_FOLDER"};
    for (std::size_t i = 0; i < glyphs.size(); ++i)
        glyphs[i].LoadFromResourceName(QString::fromLatin1(names[i]));
}

} // namespace wt
