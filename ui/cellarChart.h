#pragma once

#include "storage/cellar.h"

#include <QWidget>

// The history chart of the cellar book: a batch's free and total SO2 over time (measurements
// as points, additions as marks), the molecular SO2 at each measurement against the batch's
// target on an axis of its own, painted on a white card whatever the colour scheme.
class CellarChart : public QWidget
{
    Q_OBJECT

public:
    explicit CellarChart(QWidget* parent = nullptr);

    // Takes the batch and its entries (newest first), and paints them anew; no batch, nothing.
    void Show(const std::optional<ardovin::Batch>& batch, const QList<ardovin::Entry>& entries);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<ardovin::Batch> Shown;
    QList<ardovin::Entry> Entries; // the oldest first
};
