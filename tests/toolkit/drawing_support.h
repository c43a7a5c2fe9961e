// Helpers of the drawing tests: an application object for fonts and the
// palette, and pixel read-back from bitmaps.
#pragma once

#include "toolkit/graphics/bitmap.h"

#include <QApplication>

#include <set>
#include <utility>

namespace wt::test {

inline void EnsureApplication() {
    if (qApp)
        return;
    static int argc = 1;
    static char name[] = "wt_drawing_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

using PixelSet = std::set<std::pair<int, int>>;

// The pixels of the bitmap that differ from the background colour.
inline PixelSet PixelsNot(const TBitmap& bitmap, TColor background) {
    PixelSet set;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Canvas().Pixel(x, y) != background)
                set.insert({x, y});
    return set;
}

// A bitmap filled with one colour.
inline TBitmap Filled(int w, int h, TColor color) {
    TBitmap b(w, h);
    b.Canvas().Brush.Color = color;
    b.Canvas().FillRect({0, 0, w, h});
    return b;
}

} // namespace wt::test
