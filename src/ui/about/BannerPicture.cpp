#include "ui/about/BannerPicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
const QColor Ink(255, 255, 255);

// Background: top-to-bottom only, so the wrap-around seam stays invisible.
void drawBackground(QPainter &p, const QRectF &area)
{
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, QColor(17, 64, 110));
    sky.setColorAt(0.55, QColor(22, 96, 128));
    sky.setColorAt(1.0, QColor(9, 38, 66));
    p.fillRect(area, sky);

    // A thin light rule under the top and above the bottom edge.
    p.fillRect(QRectF(area.left(), 3, area.width(), 1), QColor(255, 255, 255, 40));
    p.fillRect(QRectF(area.left(), area.bottom() - 3, area.width(), 1), QColor(255, 255, 255, 40));
}

// Faint rows of hex bytes, as a SEEM image looks in a hex view. The byte pitch divides
// the width, so the rows continue across the seam.
void drawByteRows(QPainter &p, const QRectF &area)
{
    static const char *const bytes[] = {"A7", "32", "01", "FF", "5E", "00", "C3", "7B", "10", "E4",
                                        "08", "9D", "2A", "B6", "40", "0F", "D1", "63", "7C", "85"};
    const int count = int(sizeof bytes / sizeof bytes[0]);
    const qreal pitch = area.width() / count;
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPixelSize(8);
    p.setFont(mono);
    p.setPen(QColor(255, 255, 255, 46));
    for (int i = 0; i < count; ++i) {
        p.drawText(QRectF(i * pitch, 6, pitch, 10), Qt::AlignCenter, QLatin1String(bytes[i]));
        p.drawText(QRectF(i * pitch, area.bottom() - 15, pitch, 10), Qt::AlignCenter,
                   QLatin1String(bytes[(i + 7) % count]));
    }
}

// One byte as eight bit cells, bit 7 first: set bits filled, clear bits outlined.
void drawBitCells(QPainter &p, QPointF origin, int value, const QColor &colour)
{
    const qreal cell = 5, gap = 2;
    for (int bit = 7; bit >= 0; --bit) {
        const QRectF box(origin.x() + (7 - bit) * (cell + gap), origin.y(), cell, cell);
        if (value & (1 << bit)) {
            p.fillRect(box, colour);
        } else {
            p.setPen(QPen(colour, 0.8));
            p.setBrush(Qt::NoBrush);
            p.drawRect(box.adjusted(0.4, 0.4, -0.4, -0.4));
        }
    }
}

void drawBitMotifs(QPainter &p)
{
    const QColor amber(255, 196, 84, 200);
    const QColor cyan(120, 220, 240, 170);
    drawBitCells(p, QPointF(14, 30), 0xA7, amber);
    drawBitCells(p, QPointF(14, 40), 0x32, cyan);
    drawBitCells(p, QPointF(14, 50), 0x01, cyan);
    drawBitCells(p, QPointF(337, 30), 0x5E, cyan);
    drawBitCells(p, QPointF(337, 40), 0xFF, amber);
    drawBitCells(p, QPointF(337, 50), 0x08, cyan);
}

void drawTitle(QPainter &p, const QRectF &area)
{
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(27);
    title.setBold(true);
    const QRectF titleBox(area.left(), 19, area.width(), 34);
    const QString name = QStringLiteral("Brimvale Edit");

    // A soft shadow lifts the title off the gradient.
    QPainterPath path;
    const QFontMetricsF metrics(title);
    const qreal x = area.center().x() - metrics.horizontalAdvance(name) / 2;
    const qreal baseline = titleBox.top() + (titleBox.height() + metrics.ascent() - metrics.descent()) / 2;
    path.addText(QPointF(x, baseline), title, name);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(path.translated(1.5, 1.5));
    p.setBrush(Ink);
    p.drawPath(path);

    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(10);
    subtitle.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    p.setFont(subtitle);
    p.setPen(QColor(190, 232, 246));
    p.drawText(QRectF(area.left(), 53, area.width(), 14), Qt::AlignCenter, QStringLiteral("SEEM SETTINGS, BIT BY BIT"));
}
}   // namespace

QImage DrawBannerPicture(const QSize &size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(qreal(size.width()) / BannerDesignSize.width(), qreal(size.height()) / BannerDesignSize.height());

    const QRectF area(QPointF(0, 0), QSizeF(BannerDesignSize));
    drawBackground(p, area);
    drawByteRows(p, area);
    drawBitMotifs(p);
    drawTitle(p, area);
    return picture;
}
