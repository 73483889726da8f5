#pragma once
// The half court with the shot zones, seen with the basket at the top:
// zones 6, 5, 4 from left to right in the half nearer the basket (5 is the
// paint), 1, 2, 3 in the half farther from it. One vector drawing for every
// picture that shows zones.

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace halfcourt {

// The lines of the court (boundary, paint, free-throw circle, three-point
// line, basket) in a box of 1 by 1, the basket at the top.
QPainterPath Lines();
// The centre of zone 1..6 in the same unit box.
QPointF ZoneCentre(int zone);
// Paints the court's lines scaled into `box` with a pen of `penWidth`.
void Paint(QPainter &painter, const QRectF &box, double penWidth);

} // namespace halfcourt
