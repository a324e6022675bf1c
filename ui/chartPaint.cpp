#include "ui/chartPaint.h"

#include <cmath>

namespace chart {

QRectF PaintCard(QPainter& painter, const QRect& area)
{
    const QRectF card = QRectF(area).adjusted(CardMargin, CardMargin, -CardMargin, -CardMargin);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(card, 5, 5);
    return card;
}

double NiceNumber(double x, bool ceiling)
{
    const double power = std::pow(10.0, std::floor(std::log10(x)));
    const double q = x / power;
    if (ceiling)
        return (q <= 1 ? 1 : q <= 2 ? 2 : q <= 5 ? 5 : 10) * power;
    return (q < 1.5 ? 1 : q < 3 ? 2 : q < 7 ? 5 : 10) * power;
}

AxisScale ScaleTo(double highest, int ticks)
{
    // Room above the highest value, up to a round number.
    const double top = highest * 1.05;
    AxisScale scale;
    scale.step = top > 0 ? NiceNumber(NiceNumber(top, true) / (ticks - 1), false) : 1;
    scale.top = std::ceil(top / scale.step) * scale.step;
    if (scale.top <= 0)
        scale.top = scale.step;
    return scale;
}

QFont Bold(QFont font)
{
    font.setBold(true);
    return font;
}

} // namespace chart
