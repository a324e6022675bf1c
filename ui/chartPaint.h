#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>

// What Ardovin's charts share: a white card whatever the colour scheme, with the same text,
// grid and axis colours on it, and round steps on an axis.
namespace chart {

inline constexpr int CardMargin = 9;
inline constexpr int Gap = 8;
inline const QColor Text(64, 64, 64);
inline const QColor Grid(224, 224, 224);
inline const QColor Axis(128, 128, 128);

// Paints the card and returns it.
QRectF PaintCard(QPainter& painter, const QRect& area);

// A round number near x, of the form 1, 2 or 5 times a power of ten: at or above x when
// ceiling, else the nearest.
double NiceNumber(double x, bool ceiling);

// A step that divides 0 to the highest value into about the ticks given, and the axis's top.
struct AxisScale
{
    double step = 1;
    double top = 1;
};
AxisScale ScaleTo(double highest, int ticks);

QFont Bold(QFont font);

} // namespace chart
