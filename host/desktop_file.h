// Desktop files: the rectangles of hostide's two IDE windows, kept as INI
// text ([MainWindow], [ObjectInspector]) so that a layout can be saved,
// loaded again and handed to add-ins by name.
#pragma once

#include <QRect>
#include <QString>

namespace wt {

struct DesktopLayout {
    QRect MainWindow;
    QRect Inspector;
    bool InspectorVisible = true;

    bool operator==(const DesktopLayout&) const = default;
};

// Coordinates beyond this are refused as malformed.
inline constexpr int MaxDesktopCoordinate = 32767;

// Reads a desktop file; every malformed or missing value fails with a
// message naming the file, the line and the key.
bool ReadDesktopFile(const QString& fileName, DesktopLayout* layout, QString* error);
bool WriteDesktopFile(const QString& fileName, const DesktopLayout& layout, QString* error);

} // namespace wt
