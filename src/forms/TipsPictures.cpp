#include "TipsPictures.h"

#include "ChessBrd.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>

namespace {

const QColor Sky(0xE8, 0xF0, 0xFA);
const QColor Skin(0xF2, 0xC8, 0xA0);
const QColor Hair(0x9A, 0x9A, 0xA4);
const QColor Jacket(0x2E, 0x3A, 0x5C);
const QColor Shirt(0xF8, 0xF8, 0xF8);
const QColor Outline(0x30, 0x30, 0x30);
const QColor BulbGlass(0xFF, 0xE0, 0x50);
const QColor BulbBase(0x90, 0x90, 0x98);

// Everything is drawn on a 100 x 150 design grid and scaled to the size asked for.
constexpr QSizeF DesignSize(100, 150);
constexpr qreal TipDesignSide = 40;

// Head and shoulders of the master, chin in hand, seen from the front, in the lower half.
void DrawMaster(QPainter& painter) {
    painter.setPen(QPen(Outline, 1.2));
    QPainterPath jacket;
    jacket.moveTo(8, 150);
    jacket.cubicTo(10, 118, 24, 108, 50, 106);
    jacket.cubicTo(76, 108, 90, 118, 92, 150);
    jacket.closeSubpath();
    painter.setBrush(Jacket);
    painter.drawPath(jacket);
    QPolygonF shirt({{42, 106}, {58, 106}, {50, 128}});
    painter.setBrush(Shirt);
    painter.drawPolygon(shirt);
    painter.setBrush(Skin);
    painter.drawRect(QRectF(45, 96, 10, 11));    // neck
    painter.drawEllipse(QRectF(33, 66, 34, 38)); // head
    painter.setBrush(Hair);
    QPainterPath hair;
    hair.moveTo(33, 84);
    hair.cubicTo(30, 62, 70, 62, 67, 84);
    hair.cubicTo(62, 72, 38, 72, 33, 84);
    painter.drawPath(hair);
    painter.setBrush(Outline);
    painter.drawEllipse(QPointF(44, 85), 1.6, 1.6); // eyes
    painter.drawEllipse(QPointF(56, 85), 1.6, 1.6);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(45, 91, 10, 6), 200 * 16, 140 * 16); // a thoughtful mouth
    painter.setBrush(Skin);
    painter.drawEllipse(QRectF(54, 98, 16, 11)); // the hand under the chin
    painter.setBrush(Jacket);
    QPolygonF arm({{62, 108}, {70, 106}, {78, 128}, {68, 130}});
    painter.drawPolygon(arm);
}

// Four bubbles rising from the head, the last one large and holding the idea: a knight.
void DrawThoughts(QPainter& painter) {
    struct Bubble {
        QPointF Centre;
        qreal Radius;
    };
    constexpr std::array<Bubble, 4> Bubbles = {
        {{{64, 60}, 3.0}, {{70, 51}, 4.5}, {{74, 40}, 6.5}, {{58, 22}, 20.0}}};
    painter.setPen(QPen(Outline, 1.2));
    painter.setBrush(Qt::white);
    for (const Bubble& bubble : Bubbles)
        painter.drawEllipse(bubble.Centre, bubble.Radius, bubble.Radius);
    const Bubble& idea = Bubbles.back();
    const qreal side = idea.Radius * 1.4;
    const QRectF square(idea.Centre - QPointF(side / 2, side / 2), QSizeF(side, side));
    painter.drawPixmap(square, TChessBrd::BuiltInPieceImage('N'), {});
}

} // namespace

QPixmap MasterPicture(QSize size) {
    QPixmap picture(size);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, Sky);
    sky.setColorAt(1, Sky.darker(115));
    painter.fillRect(picture.rect(), sky);
    painter.scale(size.width() / DesignSize.width(), size.height() / DesignSize.height());
    DrawMaster(painter);
    DrawThoughts(painter);
    return picture;
}

QPixmap TipPicture(int side) {
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / TipDesignSide, side / TipDesignSide);
    QRadialGradient glow(QPointF(17, 13), 14);
    glow.setColorAt(0, BulbGlass.lighter(130));
    glow.setColorAt(1, BulbGlass);
    painter.setPen(QPen(Outline, 1));
    painter.setBrush(glow);
    painter.drawEllipse(QRectF(8, 3, 24, 24));
    painter.setBrush(BulbBase);
    painter.drawRoundedRect(QRectF(14, 26, 12, 9), 2, 2);
    painter.drawLine(QPointF(14, 29), QPointF(26, 29));
    painter.drawLine(QPointF(14, 32), QPointF(26, 32));
    painter.setPen(QPen(BulbGlass.darker(130), 1.5));
    for (const QLineF& ray : {QLineF(3, 15, 6, 15), QLineF(34, 15, 37, 15), QLineF(20, 0, 20, 1.5),
                              QLineF(7, 4, 9, 6), QLineF(33, 4, 31, 6)})
        painter.drawLine(ray);
    return picture;
}
