#pragma once

#include "storage/cellar.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

// One dated entry of a batch, new or changed: a measurement (pH, free and total SO2, method) or
// an addition (compound, form, its strength, amount and unit, and the SO2 that brings), each
// with the batch's volume at that date and a note. Nothing is kept until OK.
class frmEntry : public QDialog
{
    Q_OBJECT

public:
    frmEntry(const ardovin::Batch& batch, const ardovin::Entry& entry, QWidget* parent);

    const ardovin::Entry& Result() const { return Edited; }

    void done(int result) override;

private:
    void BuildMeasurement(class QFormLayout& form);
    void BuildAddition(class QFormLayout& form);
    void FormChosen();
    void ShowSO2Added();
    bool ReadFields();
    bool ReadAddition(std::optional<double> volume);

    ardovin::Batch OfBatch;
    ardovin::Entry Edited;
    QLineEdit* txtAt = nullptr;
    QLineEdit* txtVolume = nullptr;
    QLineEdit* txtPh = nullptr;
    QLineEdit* txtFreeSO2 = nullptr;
    QLineEdit* txtTotalSO2 = nullptr;
    QLineEdit* txtMethod = nullptr;
    QComboBox* cboCompound = nullptr;
    QComboBox* cboForm = nullptr;
    QLabel* lblStrength = nullptr;
    QLineEdit* txtStrength = nullptr;
    QLineEdit* txtAmount = nullptr;
    QComboBox* cboAmountUnit = nullptr;
    QLabel* lblSO2Added = nullptr;
    QLineEdit* txtNote = nullptr;
};
