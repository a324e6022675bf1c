#pragma once

#include "storage/cellar.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

// A batch's details, new or changed: name, volume and unit, colour, residual sugar, the legal
// rules and its own molecular SO2 target. Nothing is kept until OK, and OK keeps only what reads.
class frmBatch : public QDialog
{
    Q_OBJECT

public:
    // takenNames: the other batches' names, which this one may not take.
    frmBatch(const ardovin::Batch& batch, QStringList takenNames, QWidget* parent);

    // The batch as the user left it; read after the dialog is accepted.
    const ardovin::Batch& Result() const { return Edited; }

    void done(int result) override;

private:
    bool ReadFields();

    ardovin::Batch Edited;
    QStringList TakenNames;
    QLineEdit* txtName = nullptr;
    QLineEdit* txtVolume = nullptr;
    QComboBox* cboUnit = nullptr;
    QComboBox* cboColour = nullptr;
    QComboBox* cboType = nullptr;
    QLineEdit* txtSugar = nullptr;
    QComboBox* cboRules = nullptr;
    QLineEdit* txtMolTarget = nullptr;
};
