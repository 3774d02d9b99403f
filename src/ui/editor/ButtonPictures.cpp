#include "ui/editor/ButtonPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

constexpr int Side = 32;   // drawn large, scaled down by the button

QIcon draw(const std::function<void(QPainter &)> &paint)
{
    QPixmap pixmap(Side, Side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    painter.end();
    return QIcon(pixmap);
}

void page(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(120, 120, 160), 1.5));
    for (qreal y = r.top() + 6; y < r.bottom() - 3; y += 4)
        p.drawLine(QPointF(r.left() + 4, y), QPointF(r.right() - 4, y));
}

}   // namespace

namespace ButtonPictures {

QIcon Add()
{
    return draw([](QPainter &p) {
        p.setPen(QPen(QColor(20, 100, 20), 2));
        p.setBrush(QColor(60, 170, 60));
        QPainterPath plus;
        plus.addRect(12, 4, 8, 24);
        plus.addRect(4, 12, 24, 8);
        p.drawPath(plus.simplified());
    });
}

QIcon Delete()
{
    return draw([](QPainter &p) {
        p.setPen(QPen(QColor(200, 30, 30), 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 7), QPointF(25, 25));
        p.drawLine(QPointF(25, 7), QPointF(7, 25));
    });
}

QIcon Edit()
{
    return draw([](QPainter &p) {
        p.translate(16, 16);
        p.rotate(45);
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(QColor(240, 190, 40));
        p.drawRect(QRectF(-4, -14, 8, 20));   // body
        p.setBrush(QColor(230, 130, 140));
        p.drawRect(QRectF(-4, -17, 8, 3));   // eraser
        p.setBrush(QColor(240, 220, 180));
        QPolygonF tip;
        tip << QPointF(-4, 6) << QPointF(4, 6) << QPointF(0, 14);
        p.drawPolygon(tip);
    });
}

QIcon Copy()
{
    return draw([](QPainter &p) {
        page(p, QRectF(3, 3, 17, 21));
        page(p, QRectF(12, 9, 17, 21));
    });
}

}   // namespace ButtonPictures
