#include "toolkit/graphics/region.h"

#include <QPolygon>

namespace wt {

TRegion::TRegion(const TRect& rect) {
    if (rect.Right > rect.Left && rect.Bottom > rect.Top)
        region_ = QRegion(rect.Left, rect.Top, rect.Width(), rect.Height());
}

TRegion TRegion::FromPolygon(const std::vector<TPoint>& points) {
    if (points.size() < 3)
        return TRegion();
    QPolygon polygon;
    polygon.reserve(static_cast<int>(points.size()));
    for (const TPoint& p : points)
        polygon << QPoint(p.X, p.Y);
    return TRegion(QRegion(polygon, Qt::OddEvenFill));
}

TRect TRegion::Bounds() const {
    if (region_.isEmpty())
        return {};
    const QRect r = region_.boundingRect();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

int TRegion::PixelCount() const {
    int count = 0;
    for (const QRect& r : region_)
        count += r.width() * r.height();
    return count;
}

} // namespace wt
