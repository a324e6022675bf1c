#include "ui/frmSulfite.h"

#include "core/numbers.h"
#include "ui/controls.h"
#include "ui/frmCellar.h"
#include "ui/frmFreeSO2.h"
#include "ui/modProc.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

using namespace ardovin;

namespace {

void SetFieldBackground(QLineEdit& field, const QColor& colour)
{
    QPalette palette = field.palette();
    palette.setColor(QPalette::All, QPalette::Base, colour);
    field.setPalette(palette);
}

} // namespace

// Every change of a field, list or option button comes here: the addition shown no longer
// holds, and the Free SO2 by pH window follows the new inputs.
void frmSulfite::ClearResults()
{
    modProc::ClearResults(*lblAddition);
    if (FreeSO2)
        FreeSO2->InputsChanged();
    if (Shown) {
        Shown.reset();
        if (Cellar)
            Cellar->AdditionChanged();
    }
}

void frmSulfite::FillBatch(double size, BatchUnit unit, double pH, double freeSO2)
{
    txtBatchSize->setText(FormatStandard(size));
    cboBatch->setCurrentText(ListText(unit));
    txtPh->setText(FormatStandard(pH));
    txtExistSO2->setText(FormatStandard(freeSO2));
}

void frmSulfite::cboForm_Click()
{
    ClearResults();
}
void frmSulfite::cboBatch_Click()
{
    ClearResults();
}
void frmSulfite::cboAdditionUnits_Click()
{
    ClearResults();
}

void frmSulfite::cboTarget_Click()
{
    const QString kind = TrimBlanks(cboTarget->currentText());
    const bool free = kind == ListText(TargetKind::TotalFree);
    if (free || kind == ListText(TargetKind::Molecular)) {
        txtTargetSO2->setEnabled(free);
        vsbTargetSO2->setEnabled(free);
        txtTargetMolSO2->setEnabled(!free);
        vsbTargetMolSO2->setEnabled(!free);
        SetTargetFieldColours();
    }
    ClearResults();
}

void frmSulfite::SetTargetFieldColours()
{
    const QColor window = QApplication::palette().color(QPalette::Active, QPalette::Base);
    for (QLineEdit* field : {txtTargetSO2, txtTargetMolSO2})
        SetFieldBackground(*field, field->isEnabled() ? window : LightGrey());
}

void frmSulfite::optForm_Click(SourceForm form)
{
    EnableAmountFields(Fields, form);
    FillAdditionUnits(form);
    ClearResults();
}

void frmSulfite::FillAdditionUnits(SourceForm form)
{
    cboAdditionUnits->clear();
    for (const OfferedUnit& offered : RowOf(form).units)
        cboAdditionUnits->addItem(ListText(offered.unit));
    cboAdditionUnits->setCurrentIndex(0); // the form's own unit comes first
}

SourceForm frmSulfite::SelectedForm() const
{
    return SourceForm(grpForm->checkedId());
}
