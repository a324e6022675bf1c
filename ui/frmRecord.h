#pragma once

#include "core/dose.h"
#include "storage/cellar.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// Records the addition the main window shows into a batch the user picks, with the pH and free
// SO2 it was worked out from. Where the batch's volume is not the main window's batch size, the
// user sees both and says which received the addition.
class frmRecord : public QDialog
{
    Q_OBJECT

public:
    frmRecord(const ardovin::CalculatedAddition& addition, QList<ardovin::Batch> batches,
              qint64 chosenBatch, QWidget* parent);

    // The entry as the user left it, and the batch it belongs to; read once accepted.
    const ardovin::Entry& Result() const { return Recorded; }

    void done(int result) override;

private:
    void BatchChosen();
    const ardovin::Batch& Chosen() const;
    // The main window's batch size in the chosen batch's unit.
    double MainSizeInBatchUnit() const;

    ardovin::CalculatedAddition Addition;
    QList<ardovin::Batch> Batches;
    ardovin::Entry Recorded;
    QComboBox* cboBatch = nullptr;
    QLineEdit* txtAt = nullptr;
    QLabel* lblAddition = nullptr;
    QLabel* lblVolumes = nullptr;
    QRadioButton* optBatchVolume = nullptr;
    QRadioButton* optMainVolume = nullptr;
    QLabel* lblSO2Added = nullptr;
    QLineEdit* txtNote = nullptr;
};
