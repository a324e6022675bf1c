#include "ui/freeSO2Chart.h"

#include "core/chemistry.h"
#include "core/numbers.h"
#include "ui/chartPaint.h"

#include <algorithm>
#include <cmath>
#include <QPainter>
#include <QPainterPath>

using namespace ardovin;
using namespace chart;

namespace {

// The pH axis always spans the curves, and stretches to a wine outside them within these.
constexpr double LowestPhShown = 2.0;
constexpr double HighestPhShown = 5.0;
constexpr double PhTick = 0.1;
constexpr int FreeSO2Ticks = 5; // at least; rounding the step may add one

const QString Title = QStringLiteral("Free SO2 needed for a molecular SO2 aim");
const QString PhTitle = QStringLiteral("pH");
const QString FreeSO2Title = QStringLiteral("Free SO2 (mg/L)");
const QString WineName = QStringLiteral("This wine");

// Each curve's pen, in the order of the curves: reds, whites, the target.
struct CurveStyle
{
    QColor colour;
    Qt::PenStyle style;
};
const CurveStyle Styles[] = {
    {QColor(139, 26, 26), Qt::SolidLine},
    {QColor(196, 150, 20), Qt::SolidLine},
    {QColor(30, 80, 160), Qt::DashLine},
};

constexpr int PointSize = 13;
constexpr int MarkerSize = 10;

} // namespace

FreeSO2Chart::FreeSO2Chart(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(400, 250);
}

void FreeSO2Chart::Show(const WineCurves& wine)
{
    Curves.clear();
    double highest = wine.freeSO2.value_or(0.0f);
    const std::vector<float> phValues = CurvePhValues(1);
    for (std::size_t i = 0; i < wine.curves.size() && i < std::size(Styles); ++i) {
        Line line{wine.curves[i].name, {}};
        for (float pH : phValues) {
            const float freeSO2 = FreeFromMolecular(wine.curves[i].molecularAim, pH);
            line.points.append({pH, freeSO2});
            highest = std::max(highest, static_cast<double>(freeSO2));
        }
        Curves.append(line);
    }
    Point.reset();
    PhLow = CurveFirstPh / 100.0;
    PhHigh = CurveLastPh / 100.0;
    if (!WinePointText(wine).isEmpty()) {
        Point = QPointF(*wine.pH, *wine.freeSO2);
        PhLow = std::clamp(*wine.pH - 0.05, LowestPhShown, PhLow);
        PhHigh = std::clamp(*wine.pH + 0.05, PhHigh, HighestPhShown);
    }
    const chart::AxisScale scale = chart::ScaleTo(highest, FreeSO2Ticks);
    FreeSO2Step = scale.step;
    FreeSO2High = scale.top;
    update();
}

QStringList FreeSO2Chart::LegendNames() const
{
    QStringList names;
    for (const Line& line : Curves)
        names << line.name;
    if (Point)
        names << WineName;
    return names;
}

void FreeSO2Chart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = chart::PaintCard(painter, rect());

    const QFontMetricsF metrics(font());
    const QFontMetricsF boldMetrics(Bold(font()));
    const QLocale locale = NumberLocale();
    auto phLabel = [&](double pH) { return locale.toString(pH, 'f', 1); };
    auto freeSO2Label = [&](double mg) { return locale.toString(mg, 'f', 0); };
    const double line = metrics.height();

    // From the outside in: title above, legend below, axis titles and labels around the plot.
    const QRectF titleRect(card.left(), card.top() + Gap, card.width(), line);
    const QRectF legendRect(card.left(), card.bottom() - Gap - line, card.width(), line);
    const double labelWidth = metrics.horizontalAdvance(freeSO2Label(FreeSO2High));
    QRectF plot;
    plot.setLeft(card.left() + Gap * 2 + boldMetrics.height() + Gap + labelWidth + Gap);
    plot.setTop(titleRect.bottom() + Gap * 2);
    plot.setRight(card.right() - Gap * 4);
    plot.setBottom(legendRect.top() - Gap * 2 - boldMetrics.height() - line - Gap);
    auto at = [&](QPointF p) {
        return QPointF(plot.left() + (p.x() - PhLow) / (PhHigh - PhLow) * plot.width(),
                       plot.bottom() - p.y() / FreeSO2High * plot.height());
    };

    painter.setPen(Text);
    painter.drawText(titleRect, Qt::AlignCenter, Title);

    // Grid and tick labels: pH every tenth from the curves' first pH, free SO2 every step.
    const int firstTick =
        static_cast<int>(std::ceil((PhLow - CurveFirstPh / 100.0) / PhTick - 1e-6));
    const int lastTick =
        static_cast<int>(std::floor((PhHigh - CurveFirstPh / 100.0) / PhTick + 1e-6));
    for (int tick = firstTick; tick <= lastTick; ++tick) {
        const double pH = CurveFirstPh / 100.0 + tick * PhTick;
        const double x = at({pH, 0}).x();
        painter.setPen(Grid);
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(Text);
        painter.drawText(QRectF(x - 40, plot.bottom() + 4, 80, line),
                         Qt::AlignHCenter | Qt::AlignTop, phLabel(pH));
    }
    const int freeSO2Ticks = static_cast<int>(std::lround(FreeSO2High / FreeSO2Step));
    for (int tick = 0; tick <= freeSO2Ticks; ++tick) {
        const double mg = tick * FreeSO2Step;
        const double y = at({PhLow, mg}).y();
        painter.setPen(Grid);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Text);
        painter.drawText(QRectF(plot.left() - Gap - labelWidth, y - line / 2, labelWidth, line),
                         Qt::AlignRight | Qt::AlignVCenter, freeSO2Label(mg));
    }
    painter.setPen(Axis);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());

    painter.setFont(Bold(font()));
    painter.setPen(Text);
    painter.drawText(
        QRectF(plot.left(), plot.bottom() + 4 + line + 2, plot.width(), boldMetrics.height()),
        Qt::AlignCenter, PhTitle);
    painter.save();
    painter.translate(card.left() + Gap * 2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, 0, plot.height(), boldMetrics.height()),
                     Qt::AlignCenter, FreeSO2Title);
    painter.restore();
    painter.setFont(font());

    // The curves and the point, kept within the plot.
    painter.save();
    painter.setClipRect(plot.adjusted(-PointSize, -PointSize, PointSize, PointSize));
    for (int i = 0; i < Curves.size(); ++i) {
        const QList<QPointF>& points = Curves[i].points;
        QPainterPath path(at(points.value(0)));
        for (const QPointF& p : points)
            path.lineTo(at(p));
        painter.strokePath(path, QPen(Styles[i].colour, 2.5, Styles[i].style));
    }
    if (Point) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(at(*Point), PointSize / 2.0, PointSize / 2.0);
    }
    painter.restore();

    // The legend, centred: a marker in each curve's colour, a dot for the wine.
    const QStringList names = LegendNames();
    double width = 0;
    for (const QString& name : names)
        width += MarkerSize + 4 + metrics.horizontalAdvance(name) + Gap * 2;
    double x = legendRect.center().x() - (width - Gap * 2) / 2;
    for (int i = 0; i < names.size(); ++i) {
        const QRectF marker(x, legendRect.center().y() - MarkerSize / 2.0, MarkerSize, MarkerSize);
        const bool wine = i >= Curves.size();
        painter.setPen(Qt::NoPen);
        painter.setBrush(wine ? QColor(Qt::black) : Styles[i].colour);
        wine ? painter.drawEllipse(marker) : painter.drawRect(marker);
        painter.setPen(Text);
        const double textLeft = marker.right() + 4;
        painter.drawText(QRectF(textLeft, legendRect.top(), width, line),
                         Qt::AlignLeft | Qt::AlignVCenter, names[i]);
        x = textLeft + metrics.horizontalAdvance(names[i]) + Gap * 2;
    }
}
