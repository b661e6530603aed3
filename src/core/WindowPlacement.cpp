#include "WindowPlacement.h"

#include <algorithm>

namespace {

// The start of a span of `length` held inside [areaStart, areaStart + areaLength); a span longer than
// the area starts where the area does.
qint64 PlaceSpan(qint64 start, qint64 length, qint64 areaStart, qint64 areaLength) {
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

qint64 HoldLength(qint64 length, qint64 smallest, qint64 areaLength) {
    return std::clamp(length, std::min(smallest, areaLength), areaLength);
}

// Every value that reaches here has been held inside an area of int coordinates.
int Narrow(qint64 value) {
    return static_cast<int>(value);
}

} // namespace

QRect FitToArea(const TWishedGeometry& wished, const QRect& area, const QSize& smallest) {
    const qint64 areaWidth = std::max(0, area.width());
    const qint64 areaHeight = std::max(0, area.height());
    const qint64 width = HoldLength(wished.Width, smallest.width(), areaWidth);
    const qint64 height = HoldLength(wished.Height, smallest.height(), areaHeight);
    const qint64 left = PlaceSpan(wished.Left, width, area.left(), areaWidth);
    const qint64 top = PlaceSpan(wished.Top, height, area.top(), areaHeight);
    return {Narrow(left), Narrow(top), Narrow(width), Narrow(height)};
}

TWishedGeometry CentredInArea(const QSize& size, const QRect& area) {
    return {area.left() + (qint64{area.width()} - size.width()) / 2,
            area.top() + (qint64{area.height()} - size.height()) / 2, size.width(), size.height()};
}

QPoint KeepInArea(const QPoint& topLeft, const QSize& size, const QRect& area) {
    return {Narrow(PlaceSpan(topLeft.x(), size.width(), area.left(), std::max(0, area.width()))),
            Narrow(PlaceSpan(topLeft.y(), size.height(), area.top(), std::max(0, area.height())))};
}
