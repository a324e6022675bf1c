#pragma once

#include "storage/cellar_csv.h"

#include <QDialog>

class QRadioButton;

// What to export as CSV: the chosen batch or the whole cellar book, for a spreadsheet in the
// user's language or in the interchange layout.
class frmExport : public QDialog
{
    Q_OBJECT

public:
    // batch: the chosen batch's name, or empty where none is chosen; batches: how many there are.
    frmExport(const QString& batch, qsizetype batches, QWidget* parent);

    bool WholeCellar() const;
    ardovin::CsvLayout Layout() const;

private:
    QRadioButton* optBatch = nullptr;
    QRadioButton* optCellar = nullptr;
    QRadioButton* optSpreadsheet = nullptr;
    QRadioButton* optInterchange = nullptr;
};
