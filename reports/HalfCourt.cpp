#include "reports/HalfCourt.h"

#include <QPainter>
#include <QTransform>

#include <cmath>

namespace halfcourt {

namespace {

// The court is 15 m wide and the half 14 m deep; the unit box keeps that
// ratio through the box it is painted into.
constexpr double Width = 15, Depth = 14;
constexpr double BasketFromLine = 1.575, ThreePointRadius = 6.75, PaintWidth = 4.9, PaintDepth = 5.8,
                 CircleRadius = 1.8, RimRadius = 0.225, CornerX = 0.9;
// Where the near half of the zones ends.
constexpr double NearRowEnd = 0.5;

QPointF Unit(double x, double y) { return {x / Width, y / Depth}; }

} // namespace

QPainterPath Lines()
{
    QPainterPath path;
    path.addRect(QRectF(0, 0, 1, 1));
    // The paint and the free-throw circle.
    const double paintLeft = (Width - PaintWidth) / 2;
    path.addRect(QRectF(Unit(paintLeft, 0), Unit(paintLeft + PaintWidth, PaintDepth)));
    path.addEllipse(Unit(Width / 2, PaintDepth), CircleRadius / Width, CircleRadius / Depth);
    // The three-point line: straight along the sides, then the arc round the basket.
    const QPointF basket = Unit(Width / 2, BasketFromLine);
    // The arc meets the straight lines where it is CornerX from the side:
    // that far below the basket's level, the angle `meet` below it.
    const double meet = std::acos((Width / 2 - CornerX) / ThreePointRadius) * 180 / M_PI;
    const double cornerDepth = BasketFromLine + ThreePointRadius * std::sin(meet * M_PI / 180);
    QPainterPath three;
    three.moveTo(Unit(CornerX, 0));
    three.lineTo(Unit(CornerX, cornerDepth));
    const QRectF arc(Unit(Width / 2 - ThreePointRadius, BasketFromLine - ThreePointRadius),
                     Unit(Width / 2 + ThreePointRadius, BasketFromLine + ThreePointRadius));
    // Angles count counter-clockwise from the right with y pointing down
    // the page, so the arc round the far side of the basket runs from
    // 180 + meet up to 360 - meet.
    three.arcTo(arc, 180 + meet, 180 - 2 * meet);
    three.lineTo(Unit(Width - CornerX, 0));
    path.addPath(three);
    path.addEllipse(basket, RimRadius / Width, RimRadius / Depth);
    // The line between the near and the far zones, and the paint's sides
    // carried on as the borders of the near zones.
    path.moveTo(0, NearRowEnd);
    path.lineTo(1, NearRowEnd);
    return path;
}

QPointF ZoneCentre(int zone)
{
    // 1, 2, 3 far from the basket, 6, 5, 4 near it, left to right.
    static const QPointF centres[6] = {{1.0 / 6, 0.8}, {0.5, 0.84}, {5.0 / 6, 0.8},
                                       {0.83, 0.3},    {0.5, 0.22}, {0.17, 0.3}};
    return zone >= 1 && zone <= 6 ? centres[zone - 1] : QPointF(0.5, 0.5);
}

void Paint(QPainter &painter, const QRectF &box, double penWidth)
{
    painter.save();
    QTransform scale;
    scale.translate(box.left(), box.top());
    scale.scale(box.width(), box.height());
    painter.setPen(QPen(Qt::black, penWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(scale.map(Lines()));
    painter.restore();
}

} // namespace halfcourt
