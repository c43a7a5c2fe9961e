#include "toolkit/graphics/colors.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <utility>

namespace wt {
namespace {

// Colours of a classic desktop, used before an application object exists.
constexpr std::array<std::uint32_t, COLOR_COUNT> kClassicColors = {
    0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
    0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000, 0xE1FFFF,
};

struct PaletteEntry {
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

// Which palette colour stands for each system colour.
constexpr std::array<PaletteEntry, COLOR_COUNT> kPaletteRoles = {{
    {QPalette::Active, QPalette::Button},          // scroll bar
    {QPalette::Active, QPalette::Dark},            // desktop background
    {QPalette::Active, QPalette::Highlight},       // active caption
    {QPalette::Inactive, QPalette::Mid},           // inactive caption
    {QPalette::Active, QPalette::Window},          // menu
    {QPalette::Active, QPalette::Base},            // window
    {QPalette::Active, QPalette::WindowText},      // window frame
    {QPalette::Active, QPalette::WindowText},      // menu text
    {QPalette::Active, QPalette::Text},            // window text
    {QPalette::Active, QPalette::HighlightedText}, // caption text
    {QPalette::Active, QPalette::Window},          // active border
    {QPalette::Inactive, QPalette::Window},        // inactive border
    {QPalette::Active, QPalette::Dark},            // application workspace
    {QPalette::Active, QPalette::Highlight},       // highlight
    {QPalette::Active, QPalette::HighlightedText}, // highlighted text
    {QPalette::Active, QPalette::Button},          // button face
    {QPalette::Active, QPalette::Dark},            // button shadow
    {QPalette::Disabled, QPalette::Text},          // grey text
    {QPalette::Active, QPalette::ButtonText},      // button text
    {QPalette::Inactive, QPalette::Light},         // inactive caption text
    {QPalette::Active, QPalette::Light},           // button highlight
    {QPalette::Active, QPalette::Shadow},          // 3D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 3D light
    {QPalette::Active, QPalette::ToolTipText},     // tooltip text
    {QPalette::Active, QPalette::ToolTipBase},     // tooltip background
}};

std::uint32_t Swap(std::uint32_t rgb) {
    return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
}

const std::array<std::pair<const char*, TColor>, 43> kColorNames = {{
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clNone", clNone},
    {"clDefault", clDefault},
    {"clScrollBar", clScrollBar},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk},
}};

} // namespace

std::uint32_t ColorToRGB(TColor color) {
    if (color == clNone || color == clDefault)
        return 0;
    if (!IsSystemColor(color))
        return static_cast<std::uint32_t>(color) & 0xFFFFFF;
    const int index = static_cast<int>(static_cast<std::uint32_t>(color) & 0xFF);
    if (index >= COLOR_COUNT)
        return 0;
    if (!qGuiApp)
        return kClassicColors[static_cast<std::size_t>(index)];
    const PaletteEntry entry = kPaletteRoles[static_cast<std::size_t>(index)];
    const QColor c = QGuiApplication::palette().color(entry.Group, entry.Role);
    return Swap(c.rgb() & 0xFFFFFF);
}

std::uint32_t ColorToPixel(TColor color) { return 0xFF000000u | Swap(ColorToRGB(color)); }

QColor ToQColor(TColor color) { return QColor::fromRgb(ColorToPixel(color)); }

TColor FromPixel(std::uint32_t pixel) { return static_cast<TColor>(Swap(pixel & 0xFFFFFF)); }

TColor FromQColor(const QColor& color) { return FromPixel(color.rgb()); }

std::optional<TColor> IdentToColor(const QString& ident) {
    for (const auto& [name, value] : kColorNames)
        if (ident.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return value;
    return std::nullopt;
}

std::optional<QString> ColorToIdent(TColor color) {
    for (const auto& [name, value] : kColorNames)
        if (value == color)
            return QString::fromLatin1(name);
    return std::nullopt;
}

} // namespace wt
