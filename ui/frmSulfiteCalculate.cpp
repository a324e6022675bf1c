#include "ui/frmSulfite.h"

#include "core/numbers.h"
#include "settings/settings_file.h"
#include "ui/frmAbout.h"
#include "ui/frmCellar.h"
#include "ui/frmFreeSO2.h"
#include "ui/frmSettings.h"
#include "ui/modProc.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace ardovin;

bool frmSulfite::Form_Load()
{
    SettingsFilePath = ardovin::SettingsFilePath(ProgramDirectory);
    // Where no lock can be made at all, the program still starts, only unprotected.
    if (InstanceLock.tryAcquire() == SingleInstanceLock::Result::HeldByAnotherCopy) {
        modProc::ShowCritical(windowTitle() + QStringLiteral(" already running."));
        return false;
    }
    const QString zero = FormatStandard(0.0);
    txtExistSO2->setText(zero);
    txtTargetSO2->setText(zero);
    txtTargetMolSO2->setText(zero);
    modProc::ShowResult(*lblExistMolSO2, zero);
    txtPh->setText(FormatStandard(3.5));
    LoadUserDefaults();
    CalculateAddition();
    return true;
}

void frmSulfite::LoadUserDefaults()
{
    if (LoadSettingsFile(SettingsFilePath, Defaults) == LoadResult::Loaded &&
        DefaultsShown->ShowUserDefaults(Defaults))
        return;
    modProc::ShowCritical(
        QStringLiteral("User default settings not found.\rLoading program defaults."));
    DefaultsShown->ShowProgramDefaults();
}

void frmSulfite::cmdCalculate_Click()
{
    ValidateInputs();
}

void frmSulfite::ValidateInputs()
{
    for (const FieldControls& f : Fields)
        if (f.zeroFilledByCalculate && f.field->text().isEmpty())
            f.field->setText(FormatStandard(0.0));
    if (TargetKindFromText(cboTarget->currentText()) == TargetKind::Molecular)
        modProc::ShowResult(*lblExistMolSO2,
                            ExistingMolecularText(txtExistSO2->text(), txtPh->text()));

    const FormTexts texts = Texts();
    if (const auto problem = FirstInputError(texts)) {
        modProc::ShowInputError(problem->message);
        FocusField(problem->field);
        return;
    }
    for (const Confirmation& confirmation : Confirmations(texts)) {
        if (!modProc::AskYesNo(confirmation.question)) {
            FocusField(confirmation.fieldOnNo);
            ClearResults();
            return;
        }
    }
    CalculateAddition();
}

void frmSulfite::CalculateAddition()
{
    if (txtTargetSO2->text().isEmpty() || txtBatchSize->text().isEmpty())
        return;
    const DoseInputs inputs = ReadDoseInputs(Texts());
    const DoseResult result = ComputeDose(inputs);
    const DoseDisplay shown = DisplayDose(inputs, result);
    modProc::ShowResult(*lblExistMolSO2, shown.existMolSO2);
    if (shown.targetMolSO2)
        txtTargetMolSO2->setText(*shown.targetMolSO2);
    if (shown.targetSO2)
        txtTargetSO2->setText(*shown.targetSO2);
    modProc::ShowResult(*lblAddition, shown.addition);
    modProc::ShowResult(*lblSO2Requirement, shown.so2Requirement);
    modProc::ShowResult(*lblMolSO2Requirement, shown.molSO2Requirement);
    // Kept after the fields above are written, as writing them sets the addition back.
    Shown = CalculatedAddition{inputs, result};
    if (Cellar)
        Cellar->AdditionChanged();
}

void frmSulfite::txtExistSO2_LostFocus()
{
    if (cboTarget->currentText() == ListText(TargetKind::Molecular))
        modProc::ShowResult(*lblExistMolSO2,
                            ExistingMolecularText(txtExistSO2->text(), txtPh->text()));
}

bool frmSulfite::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtExistSO2 && event->type() == QEvent::FocusOut) {
        // Only a move to another control of the window, not a menu or another window.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            txtExistSO2_LostFocus();
    }
    return QMainWindow::eventFilter(watched, event);
}

FormTexts frmSulfite::Texts() const
{
    FormTexts texts;
    for (const FieldControls& f : Fields)
        texts.fields[f.id] = f.field->text();
    texts.batchUnit = cboBatch->currentText();
    texts.targetKind = cboTarget->currentText();
    texts.source = cboForm->currentText();
    texts.form = SelectedForm();
    texts.additionUnit = cboAdditionUnits->currentText();
    texts.existMolSO2 = lblExistMolSO2->text();
    return texts;
}

void frmSulfite::FocusField(InputField field)
{
    // Best effort: a disabled field cannot take the focus, and then it stays where it is.
    QLineEdit* control = FieldOf(Fields, field);
    if (control->isEnabled())
        control->setFocus(Qt::OtherFocusReason);
}

void frmSulfite::mnuFileExit_Click()
{
    close();
}

void frmSulfite::closeEvent(QCloseEvent* event)
{
    // The other windows end with the main window; nothing is saved.
    if (About)
        About->reject();
    if (Settings)
        Settings->close();
    if (FreeSO2)
        FreeSO2->close();
    event->accept();
}
