#pragma once

#include "core/legal.h"
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
    // The legal limit of total SO2, where the batch has one, is drawn as a line.
    void Show(const std::optional<ardovin::Batch>& batch, const QList<ardovin::Entry>& entries,
              const std::optional<ardovin::LegalLimitRow>& limit);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<ardovin::Batch> Shown;
    QList<ardovin::Entry> Entries; // the oldest first
    std::optional<ardovin::LegalLimitRow> Limit;
};
