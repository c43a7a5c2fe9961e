#include "widgets/gallery/label_gallery.h"

#include "widgets/DODRotat.h"
#include "widgets/Rzlabel.h"

namespace wt {
namespace {

constexpr int kCell = 92;
constexpr int kTop = 84;   // below the text styles
constexpr int kLeft = 120; // right of the style names

TFont GalleryFont(int height) {
    TFont font;
    font.Name = QStringLiteral("Arial");
    font.Height = height;
    font.Style = TFontStyles(fsBold);
    font.Color = clBlack;
    return font;
}

template <class L>
L* Put(TForm* form, int left, int top, const QString& caption) {
    auto* label = new L(form);
    label->SetParent(form);
    label->SetLeft(left);
    label->SetTop(top);
    label->SetCaption(caption);
    return label;
}

} // namespace

TfrmLabelGallery::TfrmLabelGallery(TComponent* owner) : TForm(owner) {
    SetCaption(QStringLiteral("Label gallery"));
    SetColor(clBtnFace);
    SetClientSize(kLeft + 5 * kCell, kTop + 6 * kCell + 8);

    const std::pair<TTextStyle, const char*> textStyles[] = {{TRzLabel::tsNone, "tsNone"},
                                                             {TRzLabel::tsRaised, "tsRaised"},
                                                             {TRzLabel::tsRecessed, "tsRecessed"}};
    // Enabled on the first row, disabled on the second.
    for (bool enabled : {true, false}) {
        int x = 8;
        for (const auto& [style, name] : textStyles) {
            auto* label = Put<TRzLabel>(this, x, enabled ? 6 : 32, QString::fromLatin1(name));
            label->SetFont(GalleryFont(-18));
            label->SetTextStyle(style);
            label->SetEnabled(enabled);
            x += label->Width() + 24;
        }
    }

    const int rotations[] = {0, 45, 90, 180, 270};
    for (int c = 0; c < 5; ++c)
        Put<TLabel>(this, kLeft + c * kCell + 30, kTop - 18,
                    QStringLiteral("%1\u00B0").arg(rotations[c]));
    const std::pair<TCDKShadowStyle, const char*> shadowStyles[] = {
        {TCDKRotate3DLabel::ssRaised, "ssRaised"},
        {TCDKRotate3DLabel::ssLowered, "ssLowered"},
        {TCDKRotate3DLabel::ssHasShadow, "ssHasShadow"},
        {TCDKRotate3DLabel::ssNormalWithDisable, "ssNormalWithDisable"},
        {TCDKRotate3DLabel::ssNormalWithDisable, "  ... disabled"},
        {TCDKRotate3DLabel::ssNoShadow, "ssNoShadow"}};
    for (int r = 0; r < 6; ++r) {
        const int top = kTop + r * kCell;
        Put<TLabel>(this, 8, top + kCell / 2 - 8, QString::fromLatin1(shadowStyles[r].second));
        for (int c = 0; c < 5; ++c) {
            auto* label = Put<TCDKRotate3DLabel>(this, kLeft + c * kCell + 8, top + 8,
                                                 QStringLiteral("Tuck"));
            label->SetFont(GalleryFont(-20));
            label->SetShadowStyle(shadowStyles[r].first);
            label->SetShadowOffset(2);
            label->SetEnabled(r != 4);
            label->SetRotation(rotations[c]);
        }
    }
}

} // namespace wt
