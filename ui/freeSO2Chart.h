#pragma once

#include "core/curve.h"

#include <optional>
#include <QList>
#include <QPointF>
#include <QWidget>

// The chart of the Free SO2 by pH window: the molecular aims' curves of free SO2 against pH,
// the wine's point, axes, legend and title, painted on a white card whatever the colour scheme.
class FreeSO2Chart : public QWidget
{
    Q_OBJECT

public:
    struct Line
    {
        QString name; // as the legend shows it
        QList<QPointF> points;
    };

    explicit FreeSO2Chart(QWidget* parent = nullptr);

    // Takes the curves and the point of the wine, and paints them anew.
    void Show(const ardovin::WineCurves& wine);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The legend's entries, in order.
    QStringList LegendNames() const;

    QList<Line> Curves;
    std::optional<QPointF> Point;
    double PhLow = 0, PhHigh = 1;
    double FreeSO2High = 1, FreeSO2Step = 1;
};
