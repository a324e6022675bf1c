#include "ui/cellarChart.h"

#include "core/numbers.h"
#include "ui/cellarTexts.h"
#include "ui/chartPaint.h"

#include <algorithm>
#include <cmath>
#include <QPainterPath>

using namespace ardovin;
using namespace chart;

namespace {

constexpr int Ticks = 5;
constexpr double PointSize = 9;
constexpr double MarkerSize = 10;

enum class Marker { Circle, Square, Diamond, Line, Addition };
struct Series
{
    const char* name;
    QColor colour;
    Marker marker;
};
// In the order of the legend.
const Series Free{"Free SO2", QColor(30, 80, 160), Marker::Circle};
const Series Total{"Total SO2", QColor(139, 26, 26), Marker::Square};
const Series Molecular{"Molecular SO2", QColor(120, 60, 150), Marker::Diamond};
const Series Target{"Molecular target", QColor(120, 60, 150), Marker::Line};
const Series Added{"Addition", QColor(30, 120, 60), Marker::Addition};
const Series LegalLimit{"Legal limit", QColor(200, 60, 0), Marker::Line};

double ItemWidth(const QFontMetricsF& metrics, const Series* series)
{
    return MarkerSize + 4 + metrics.horizontalAdvance(QString::fromLatin1(series->name));
}

// The legend's entries in rows no wider than the width given.
QList<QList<const Series*>> LegendRows(const QFontMetricsF& metrics, double width, bool withLimit)
{
    QList<const Series*> legend{&Free, &Total, &Molecular, &Target, &Added};
    if (withLimit)
        legend << &LegalLimit;
    QList<QList<const Series*>> rows;
    QList<const Series*> row;
    double used = 0;
    for (const Series* series : legend) {
        const double needed = ItemWidth(metrics, series);
        if (!row.isEmpty() && used + Gap * 2 + needed > width) {
            rows << std::exchange(row, {});
            used = 0;
        }
        used += (row.isEmpty() ? 0 : Gap * 2) + needed;
        row << series;
    }
    rows << row;
    return rows;
}

void PaintMarker(QPainter& painter, const Series& series, QPointF at, double size)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(series.colour);
    const QRectF box(at.x() - size / 2, at.y() - size / 2, size, size);
    switch (series.marker) {
    case Marker::Circle:
        painter.drawEllipse(box);
        break;
    case Marker::Square:
        painter.drawRect(box);
        break;
    case Marker::Diamond:
        painter.drawPolygon(QPolygonF{QPointF(at.x(), box.top()), QPointF(box.right(), at.y()),
                                      QPointF(at.x(), box.bottom()), QPointF(box.left(), at.y())});
        break;
    case Marker::Line:
        painter.setPen(QPen(series.colour, 2, Qt::DashLine));
        painter.drawLine(QPointF(box.left(), at.y()), QPointF(box.right(), at.y()));
        break;
    case Marker::Addition:
        painter.drawPolygon(
            QPolygonF{box.topLeft(), box.topRight(), QPointF(at.x(), box.bottom())});
        break;
    }
}

} // namespace

CellarChart::CellarChart(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(420, 280);
}

void CellarChart::Show(const std::optional<Batch>& batch, const QList<Entry>& entries,
                       const std::optional<LegalLimitRow>& limit)
{
    Shown = batch;
    Limit = limit;
    Entries = entries;
    std::reverse(Entries.begin(), Entries.end());
    update();
}

void CellarChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = PaintCard(painter, rect());
    const QFontMetricsF metrics(font());
    const double line = metrics.height();
    painter.setPen(Text);
    const QRectF titleRect(card.left(), card.top() + Gap, card.width(), line);
    if (!Shown)
        return painter.drawText(card, Qt::AlignCenter, QStringLiteral("No batch chosen."));
    painter.drawText(titleRect, Qt::AlignCenter, QStringLiteral("SO2 of %1").arg(Shown->name));
    if (Entries.isEmpty())
        return painter.drawText(card, Qt::AlignCenter, QStringLiteral("No entries yet."));

    // The scales: whole local days around the entries; mg/L from 0 on both axes.
    const QDate firstDay = Entries.first().at.toLocalTime().date().addDays(-1);
    const QDate lastDay = Entries.last().at.toLocalTime().date().addDays(2);
    const QDateTime start = firstDay.startOfDay(), end = lastDay.startOfDay();
    double highest = 0, highestMolecular = 0;
    const double target = MolecularTarget(Shown->colour, Shown->molecularTarget);
    for (const Entry& e : Entries) {
        if (e.kind == EntryKind::Measurement)
            highest = std::max({highest, e.freeSO2.value_or(0), e.totalSO2.value_or(0)});
        highestMolecular = std::max(highestMolecular, cellar::MolecularSO2(e).value_or(0));
    }
    const AxisScale so2 = ScaleTo(Limit ? std::max(highest, Limit->limit) : highest, Ticks);
    const AxisScale molecular = ScaleTo(std::max(highestMolecular, target * 1.5), Ticks);
    const QLocale locale = NumberLocale();
    const auto so2Label = [&](double mg) { return locale.toString(mg, 'f', 0); };
    const auto molecularLabel = [&](double mg) { return locale.toString(mg, 'f', 2); };

    const QList<QList<const Series*>> rows =
        LegendRows(metrics, card.width() - Gap * 2, Limit.has_value());
    const QRectF legendRect(card.left(), card.bottom() - Gap - line * double(rows.size()),
                            card.width(), line * double(rows.size()));
    const QFontMetricsF boldMetrics(Bold(font()));
    const double leftLabels = metrics.horizontalAdvance(so2Label(so2.top));
    const double rightLabels = metrics.horizontalAdvance(molecularLabel(molecular.top));
    QRectF plot;
    plot.setLeft(card.left() + Gap * 2 + boldMetrics.height() + Gap + leftLabels + Gap);
    plot.setRight(card.right() - Gap * 2 - boldMetrics.height() - Gap - rightLabels - Gap);
    plot.setTop(titleRect.bottom() + Gap * 2);
    plot.setBottom(legendRect.top() - Gap * 2 - line - Gap);
    const double seconds = double(start.secsTo(end));
    const auto x = [&](const QDateTime& at) {
        return plot.left() + double(start.secsTo(at)) / seconds * plot.width();
    };
    const auto y = [&](double value, const AxisScale& scale) {
        return plot.bottom() - value / scale.top * plot.height();
    };

    // The grid: a line at each step of SO2, dates at about Ticks places below.
    const auto steps = [](const AxisScale& scale) {
        return int(std::lround(scale.top / scale.step));
    };
    for (int tick = 0; tick <= steps(so2); ++tick) {
        const double mg = tick * so2.step;
        painter.setPen(Grid);
        painter.drawLine(QPointF(plot.left(), y(mg, so2)), QPointF(plot.right(), y(mg, so2)));
        painter.setPen(Text);
        painter.drawText(
            QRectF(plot.left() - Gap - leftLabels, y(mg, so2) - line / 2, leftLabels, line),
            Qt::AlignRight | Qt::AlignVCenter, so2Label(mg));
    }
    for (int tick = 0; tick <= steps(molecular); ++tick) {
        const double mg = tick * molecular.step;
        painter.drawText(QRectF(plot.right() + Gap, y(mg, molecular) - line / 2, rightLabels, line),
                         Qt::AlignLeft | Qt::AlignVCenter, molecularLabel(mg));
    }
    const qint64 days = firstDay.daysTo(lastDay);
    const qint64 dayStep = std::max<qint64>(1, qint64(NiceNumber(double(days) / Ticks, false)));
    const QString dateFormat = QLocale().dateFormat(QLocale::ShortFormat);
    for (qint64 day = 1; day < days; day += dayStep) {
        const QDate date = firstDay.addDays(day);
        const double at = x(date.startOfDay());
        painter.setPen(Grid);
        painter.drawLine(QPointF(at, plot.top()), QPointF(at, plot.bottom()));
        painter.setPen(Text);
        painter.drawText(QRectF(at - 60, plot.bottom() + 4, 120, line), Qt::AlignHCenter,
                         QLocale().toString(date, dateFormat));
    }
    painter.setPen(Axis);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawLine(plot.bottomRight(), plot.topRight());

    painter.setFont(Bold(font()));
    painter.setPen(Text);
    for (const auto& [side, title] : {std::pair(card.left() + Gap * 2, "SO2 (mg/L)"),
                                      std::pair(card.right() - Gap * 2, "Molecular SO2 (mg/L)")}) {
        painter.save();
        painter.translate(side, plot.center().y());
        painter.rotate(side < plot.left() ? -90 : 90);
        painter.drawText(QRectF(-plot.height() / 2, 0, plot.height(), boldMetrics.height()),
                         Qt::AlignCenter, QString::fromLatin1(title));
        painter.restore();
    }
    painter.setFont(font());

    // The limit and the target, the additions' marks, then each measured series joined in time.
    if (Limit) {
        painter.setPen(QPen(LegalLimit.colour, 2, Qt::DashLine));
        painter.drawLine(QPointF(plot.left(), y(Limit->limit, so2)),
                         QPointF(plot.right(), y(Limit->limit, so2)));
    }
    painter.setPen(QPen(Target.colour, 2, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), y(target, molecular)),
                     QPointF(plot.right(), y(target, molecular)));
    for (const Entry& e : Entries)
        if (e.kind == EntryKind::Addition) {
            painter.setPen(QPen(Added.colour, 1, Qt::DotLine));
            painter.drawLine(QPointF(x(e.at), plot.top()), QPointF(x(e.at), plot.bottom()));
            PaintMarker(painter, Added, QPointF(x(e.at), plot.top() + MarkerSize / 2), MarkerSize);
        }
    const auto paintSeries = [&](const Series& series, const AxisScale& scale, auto value) {
        QPainterPath path;
        QList<QPointF> points;
        for (const Entry& e : Entries)
            if (const std::optional<double> v = value(e); v && e.kind == EntryKind::Measurement)
                points << QPointF(x(e.at), y(*v, scale));
        for (const QPointF& p : points)
            path.isEmpty() ? path.moveTo(p) : path.lineTo(p);
        painter.strokePath(path, QPen(series.colour, 1.5));
        for (const QPointF& p : points)
            PaintMarker(painter, series, p, PointSize);
    };
    paintSeries(Free, so2, [](const Entry& e) { return e.freeSO2; });
    paintSeries(Total, so2, [](const Entry& e) { return e.totalSO2; });
    paintSeries(Molecular, molecular, cellar::MolecularSO2);

    // The legend, centred, in as many rows as the card's width needs.
    double top = legendRect.top();
    for (const QList<const Series*>& row : rows) {
        double width = -Gap * 2;
        for (const Series* series : row)
            width += ItemWidth(metrics, series) + Gap * 2;
        double left = card.center().x() - width / 2;
        for (const Series* series : row) {
            PaintMarker(painter, *series, QPointF(left + MarkerSize / 2, top + line / 2),
                        MarkerSize);
            painter.setPen(Text);
            painter.drawText(QRectF(left + MarkerSize + 4, top, ItemWidth(metrics, series), line),
                             Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(series->name));
            left += ItemWidth(metrics, series) + Gap * 2;
        }
        top += line;
    }
}
