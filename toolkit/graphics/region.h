// Pixel regions for fills, clipping and invalidation: rectangles and polygons
// (alternate fill) combined by union, difference and intersection.
#pragma once

#include "platform/types.h"

#include <QRegion>

#include <vector>

namespace wt {

class TRegion {
public:
    TRegion() = default;
    explicit TRegion(const TRect& rect);
    explicit TRegion(const QRegion& region) : region_(region) {}

    static TRegion FromRect(const TRect& rect) { return TRegion(rect); }
    // The pixels (each standing at its integer coordinates) inside the
    // polygon under the even-odd rule; points on left and top edges count,
    // those on right and bottom edges do not, as for rectangles.
    static TRegion FromPolygon(const std::vector<TPoint>& points);

    TRegion Union(const TRegion& other) const { return TRegion(region_.united(other.region_)); }
    TRegion Difference(const TRegion& other) const {
        return TRegion(region_.subtracted(other.region_));
    }
    TRegion Intersect(const TRegion& other) const {
        return TRegion(region_.intersected(other.region_));
    }
    TRegion Xor(const TRegion& other) const { return TRegion(region_.xored(other.region_)); }
    TRegion Offset(int dx, int dy) const { return TRegion(region_.translated(dx, dy)); }

    bool IsEmpty() const { return region_.isEmpty(); }
    bool Contains(int x, int y) const { return region_.contains(QPoint(x, y)); }
    TRect Bounds() const;
    int PixelCount() const;

    const QRegion& Qt() const { return region_; }

    friend bool operator==(const TRegion& a, const TRegion& b) { return a.region_ == b.region_; }

private:
    QRegion region_;
};

} // namespace wt
