#include "widgets/gallery/path_gallery.h"

#include "toolkit/controls/label.h"
#include "widgets/DODPathE.h"

namespace wt {
namespace {

constexpr int kRow = 34;
constexpr int kLeft = 110; // right of the style names
constexpr int kColumn = 200;

} // namespace

TfrmPathEditorGallery::TfrmPathEditorGallery(TComponent* owner) : TForm(owner) {
    SetCaption(QStringLiteral("Path editor gallery"));
    SetColor(clBtnFace);
    SetClientSize(kLeft + 2 * kColumn, 28 + 3 * kRow);

    const char* const columns[] = {"browse button", "smart show, unfocused"};
    for (int c = 0; c < 2; ++c) {
        auto* heading = new TLabel(this);
        heading->SetParent(this);
        heading->SetBounds(kLeft + c * kColumn, 6, 180, 16);
        heading->SetCaption(QString::fromLatin1(columns[c]));
    }
    const std::pair<TCDKPathEdStyle, const char*> styles[] = {
        {TCDKPathEditor::_SelectFile, "_SelectFile"},
        {TCDKPathEditor::_SelectDirectory, "_SelectDirectory"},
        {TCDKPathEditor::_SaveFile, "_SaveFile"}};
    int top = 28;
    for (const auto& [style, name] : styles) {
        auto* label = new TLabel(this);
        label->SetParent(this);
        label->SetBounds(8, top + 4, kLeft - 12, 16);
        label->SetCaption(QString::fromLatin1(name));
        for (int c = 0; c < 2; ++c) {
            auto* editor = new TCDKPathEditor(this);
            editor->SetParent(this);
            editor->SetLeft(kLeft + c * kColumn);
            editor->SetTop(top);
            editor->SetStyle(style);
            editor->SetText(style == TCDKPathEditor::_SelectDirectory
                                ? QStringLiteral("/home/user/Sounds")
                                : QStringLiteral("/home/user/Sounds/in.wav"));
            editor->SetSmartShowBrowseButton(c == 1);
        }
        top += kRow;
    }
}

} // namespace wt
