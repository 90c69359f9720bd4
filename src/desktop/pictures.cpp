#include "desktop/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

const QColor kAmber(251, 186, 0);
const QColor kDark(46, 52, 64);
const QColor kInk(60, 66, 80);
const QColor kPaper(255, 255, 255);

QPixmap blank(QSize size)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    return pm;
}

void setupPainter(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

// A sheet of paper with a folded corner.
void drawSheet(QPainter &p, const QRectF &r, const QColor &fill)
{
    const qreal fold = r.width() * 0.3;
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(fill);
    p.drawPath(path);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(fill.darker(115));
    p.drawPath(corner);
}

void drawFloppy(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(70, 110, 170));
    p.drawRoundedRect(r, 3, 3);
    p.setBrush(kPaper);
    p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.52, r.width() * 0.6,
                      r.height() * 0.42));
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(QRectF(r.left() + r.width() * 0.25, r.top() + 1.5, r.width() * 0.45, r.height() * 0.3));
}

void drawArrow(QPainter &p, QPointF from, QPointF to, const QColor &c)
{
    p.setPen(QPen(c, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const qreal a = qAtan2(to.y() - from.y(), to.x() - from.x());
    const qreal len = 6;
    p.drawLine(to, to - QPointF(len * qCos(a - 0.6), len * qSin(a - 0.6)));
    p.drawLine(to, to - QPointF(len * qCos(a + 0.6), len * qSin(a + 0.6)));
}

// A slot button: a rounded tile with the slot number; selected tiles are amber.
QPixmap slotPicture(int slot, bool selected)
{
    QPixmap pm = blank(QSize(32, 32));
    QPainter p(&pm);
    setupPainter(p);
    const QRectF r(2, 2, 28, 28);
    if (selected) {
        p.setPen(QPen(kAmber.darker(140), 1.6));
        p.setBrush(kAmber);
    } else {
        p.setPen(QPen(QColor(150, 156, 168), 1.4));
        p.setBrush(QColor(236, 238, 242));
    }
    p.drawRoundedRect(r, 6, 6);
    QFont f(QStringLiteral("Sans Serif"));
    f.setPixelSize(18);
    f.setBold(true);
    p.setFont(f);
    p.setPen(selected ? kDark : kInk);
    p.drawText(r, Qt::AlignCenter, QString::number(slot));
    return pm;
}

QPixmap commandPicture(int index)
{
    QPixmap pm = blank(QSize(32, 32));
    QPainter p(&pm);
    setupPainter(p);
    switch (index) {
    case 0: { // language: a globe
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(QColor(120, 170, 220));
        p.drawEllipse(QRectF(4, 4, 24, 24));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(10, 4, 12, 24));
        p.drawLine(QPointF(4, 16), QPointF(28, 16));
        p.drawLine(QPointF(6, 10), QPointF(26, 10));
        p.drawLine(QPointF(6, 22), QPointF(26, 22));
        break;
    }
    case 1: // save as: disk with a pen
        drawFloppy(p, QRectF(3, 5, 22, 22));
        p.setPen(QPen(kAmber.darker(130), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 27), QPointF(29, 15));
        break;
    case 2: // save
        drawFloppy(p, QRectF(5, 5, 22, 22));
        break;
    case 3: // new file
        drawSheet(p, QRectF(7, 3, 18, 26), kPaper);
        p.setPen(QPen(kAmber.darker(120), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 12), QPointF(16, 22));
        p.drawLine(QPointF(11, 17), QPointF(21, 17));
        break;
    case 4: { // load file: an open folder
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(kAmber.lighter(120));
        p.drawRect(QRectF(3, 9, 24, 18));
        p.setBrush(kAmber);
        QPolygonF front;
        front << QPointF(3, 27) << QPointF(8, 14) << QPointF(30, 14) << QPointF(27, 27);
        p.drawPolygon(front);
        break;
    }
    case 5: // print: a printer
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(150, 156, 168));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 20, 14, 9));
        p.setBrush(kAmber);
        p.drawEllipse(QRectF(23, 15, 3, 3));
        break;
    case 6: { // settings: radio link (antenna with waves)
        p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 14), QPointF(16, 29));
        p.drawLine(QPointF(11, 29), QPointF(21, 29));
        p.setBrush(kAmber);
        p.drawEllipse(QRectF(13, 10, 6, 6));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kAmber.darker(130), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(8, 5, 16, 16), 30 * 16, 120 * 16);
        p.drawArc(QRectF(3, 0, 26, 26), 35 * 16, 110 * 16);
        break;
    }
    case 7: { // help: a question mark in a circle
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(QColor(90, 150, 90));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        QFont f(QStringLiteral("Sans Serif"));
        f.setPixelSize(20);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kPaper);
        p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    default:
        break;
    }
    return pm;
}

// The product mark: an amber tile with a stylised NFC wave and the word "Tavel".
void drawProductMark(QPainter &p, const QRectF &r, qreal scale)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kAmber);
    const QRectF tile(r.left(), r.top(), r.height(), r.height());
    p.drawRoundedRect(tile, 8 * scale, 8 * scale);
    p.setPen(QPen(kDark, 3.2 * scale, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QPointF c(tile.left() + tile.width() * 0.3, tile.center().y());
    for (int i = 1; i <= 3; ++i) {
        const qreal rad = tile.width() * 0.16 * i;
        p.drawArc(QRectF(c.x() - rad, c.y() - rad, 2 * rad, 2 * rad), -45 * 16, 90 * 16);
    }
    QFont f(QStringLiteral("Sans Serif"));
    f.setPixelSize(int(r.height() * 0.55));
    f.setBold(true);
    p.setFont(f);
    p.setPen(kPaper);
    p.drawText(QRectF(tile.right() + 12 * scale, r.top(), r.width() - tile.width(), r.height()),
               Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Tavel"));
}

} // namespace

QList<QPixmap> ToolBarImages()
{
    QList<QPixmap> images;
    for (int i = 0; i < 8; ++i)
        images << commandPicture(i);
    for (int slot = 1; slot <= 3; ++slot)
        images << slotPicture(slot, false);
    for (int slot = 1; slot <= 3; ++slot)
        images << slotPicture(slot, true);
    return images;
}

QPixmap BannerLeftPicture(QSize size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    setupPainter(p);
    const qreal h = size.height() * 0.7;
    drawProductMark(p, QRectF(8, (size.height() - h) / 2, size.width() - 16, h), h / 48.0);
    return pm;
}

QPixmap BannerRightPicture(QSize size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    setupPainter(p);
    // A handheld programmer held over a driver, with the radio waves between them.
    const qreal h = size.height();
    const qreal s = h / 64.0;
    p.setPen(QPen(kPaper, 1.6 * s));
    p.setBrush(QColor(80, 88, 104));
    const QRectF driver(size.width() - 92 * s, 34 * s, 80 * s, 20 * s);
    p.drawRoundedRect(driver, 3 * s, 3 * s);
    p.setBrush(kAmber);
    p.drawRect(QRectF(driver.left() + 8 * s, driver.top() + 6 * s, 14 * s, 8 * s));
    const QRectF handheld(size.width() - 150 * s, 8 * s, 26 * s, 44 * s);
    p.setBrush(QColor(70, 110, 170));
    p.drawRoundedRect(handheld, 5 * s, 5 * s);
    p.setBrush(QColor(200, 225, 255));
    p.drawRect(QRectF(handheld.left() + 5 * s, handheld.top() + 6 * s, 16 * s, 12 * s));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kAmber, 2.4 * s, Qt::SolidLine, Qt::RoundCap));
    const QPointF c(handheld.right() + 2 * s, handheld.center().y());
    for (int i = 1; i <= 3; ++i) {
        const qreal rad = 7 * s * i;
        p.drawArc(QRectF(c.x() - rad, c.y() - rad, 2 * rad, 2 * rad), -40 * 16, 80 * 16);
    }
    QFont f(QStringLiteral("Sans Serif"));
    f.setPixelSize(int(12 * s));
    f.setBold(true);
    p.setFont(f);
    p.setPen(kPaper);
    p.drawText(QRectF(0, 0, size.width() - 160 * s, h), Qt::AlignVCenter | Qt::AlignRight,
               QStringLiteral("NFC system"));
    return pm;
}

QPixmap SplashPicture()
{
    const QSize size(1018, 503);
    QPixmap pm(size);
    QPainter p(&pm);
    setupPainter(p);
    QLinearGradient bg(0, 0, 0, size.height());
    bg.setColorAt(0, QColor(52, 58, 72));
    bg.setColorAt(1, QColor(28, 32, 40));
    p.fillRect(pm.rect(), bg);
    // Amber band along the bottom.
    p.fillRect(QRect(0, size.height() - 14, size.width(), 14), kAmber);
    drawProductMark(p, QRectF(70, 90, 520, 110), 110 / 48.0);

    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(kPaper);
    p.drawText(QRectF(70, 240, 880, 60), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("NFC configuration software"));
    QFont sub(QStringLiteral("Sans Serif"));
    sub.setPixelSize(22);
    p.setFont(sub);
    p.setPen(QColor(210, 214, 222));
    p.drawText(QRectF(70, 300, 880, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Profiles for LED drivers: current, CLO, DC emergency level, NTC derating"));
    p.drawText(QRectF(70, 420, 880, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Version 1.4"));

    // Light curve on the right: a stylised CLO line.
    p.setPen(QPen(kAmber, 5, Qt::SolidLine, Qt::RoundCap));
    QPainterPath curve;
    curve.moveTo(640, 170);
    curve.cubicTo(760, 175, 820, 140, 950, 110);
    p.drawPath(curve);
    p.setPen(QPen(QColor(120, 128, 144), 2));
    p.drawLine(640, 210, 960, 210);
    p.drawLine(640, 80, 640, 210);
    return pm;
}

QPixmap HelpPicture(int index, QSize size)
{
    const QList<int> map = {3, 1, 2, 6};
    if (index == 1) {
        QPixmap pm = blank(size);
        QPainter p(&pm);
        setupPainter(p);
        p.setPen(Qt::NoPen);
        p.setBrush(kAmber);
        p.drawRoundedRect(QRectF(1, 1, size.width() - 2, size.height() - 2), 4, 4);
        QFont f(QStringLiteral("Sans Serif"));
        f.setPixelSize(size.height() * 2 / 3);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kDark);
        p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("T"));
        return pm;
    }
    if (index == 2) {
        QPixmap pm = blank(QSize(32, 32));
        QPainter p(&pm);
        setupPainter(p);
        drawSheet(p, QRectF(7, 3, 18, 26), kPaper);
        p.setPen(QPen(kInk, 1.4));
        for (int y = 12; y <= 24; y += 4)
            p.drawLine(QPointF(10, y), QPointF(21, y));
        p.end();
        return pm.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    if (index == 3) {
        QPixmap pm = blank(QSize(32, 32));
        QPainter p(&pm);
        setupPainter(p);
        drawArrow(p, QPointF(16, 28), QPointF(16, 6), QColor(90, 150, 90));
        p.end();
        return pm.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return commandPicture(map.value(index, 7)).scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
