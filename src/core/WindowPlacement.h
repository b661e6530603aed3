#pragma once
// Where windows go on the screen: a saved or wished geometry made whole on a screen area, and a
// dialog kept on it. The values may come from a damaged settings file, so nothing here trusts them
// to be small: the arithmetic is done in 64 bits and only results that fit the area come back.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGlobal>

// A wished window rectangle in any values.
struct TWishedGeometry {
    qint64 Left = 0;
    qint64 Top = 0;
    qint64 Width = 0;
    qint64 Height = 0;
};

// The size held between `smallest` and the area (an area smaller than `smallest` wins), then the
// position moved just far enough for the whole window to lie inside the area.
QRect FitToArea(const TWishedGeometry& wished, const QRect& area, const QSize& smallest);

// A window of `size` centred in the area (it may stick out when it is larger).
TWishedGeometry CentredInArea(const QSize& size, const QRect& area);

// The top-left corner moved just far enough for a window of `size` to lie inside the area; a window
// larger than the area keeps its top-left corner at the area's.
QPoint KeepInArea(const QPoint& topLeft, const QSize& size, const QRect& area);
