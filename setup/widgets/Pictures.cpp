#include "setup/widgets/Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace Pictures {

QPixmap Basketball(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ball(2, 2, size - 4, size - 4);
    QRadialGradient shade(ball.center() - QPointF(size / 6.0, size / 6.0), size / 1.6);
    shade.setColorAt(0, QColor(255, 160, 60));
    shade.setColorAt(1, QColor(200, 80, 10));
    p.setBrush(shade);
    p.setPen(QPen(Qt::black, size / 40.0 + 1));
    p.drawEllipse(ball);
    // The seams: one vertical, one horizontal and two side curves.
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(ball.center().x(), ball.top()), QPointF(ball.center().x(), ball.bottom()));
    p.drawLine(QPointF(ball.left(), ball.center().y()), QPointF(ball.right(), ball.center().y()));
    const qreal bow = ball.width() * 0.28;
    p.drawArc(QRectF(ball.left() - bow, ball.top(), bow * 2, ball.height()), -60 * 16, 120 * 16);
    p.drawArc(QRectF(ball.right() - bow, ball.top(), bow * 2, ball.height()), 120 * 16, 120 * 16);
    return pixmap;
}

QPixmap Court(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(QColor(214, 160, 96));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 2));
    const QRectF court(4, 4, width - 8, height - 8);
    p.drawRect(court);
    p.drawLine(QPointF(court.center().x(), court.top()), QPointF(court.center().x(), court.bottom()));
    const qreal r = court.height() * 0.12;
    p.drawEllipse(court.center(), r, r);
    const qreal keyWidth = court.width() * 0.19, keyHeight = court.height() * 0.32;
    p.drawRect(QRectF(court.left(), court.center().y() - keyHeight / 2, keyWidth, keyHeight));
    p.drawRect(QRectF(court.right() - keyWidth, court.center().y() - keyHeight / 2, keyWidth, keyHeight));
    const qreal arc = court.height() * 0.45;
    p.drawArc(QRectF(court.left() - arc, court.center().y() - arc, arc * 2, arc * 2), -90 * 16, 180 * 16);
    p.drawArc(QRectF(court.right() - arc, court.center().y() - arc, arc * 2, arc * 2), 90 * 16, 180 * 16);
    return pixmap;
}

} // namespace Pictures
