#include "ui/frmRecord.h"

#include "core/numbers.h"
#include "ui/cellarForms.h"
#include "ui/cellarTexts.h"
#include "ui/modProc.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace ardovin;
using namespace cellarForms;

namespace {

QString Volume(double volume, BatchUnit unit)
{
    return FormatStandard(volume) + u' ' + ListText(unit);
}

} // namespace

frmRecord::frmRecord(const CalculatedAddition& addition, QList<Batch> batches, qint64 chosenBatch,
                     QWidget* parent)
    : QDialog(parent), Addition(addition), Batches(std::move(batches))
{
    setObjectName(QStringLiteral("frmRecord"));
    setWindowTitle(QStringLiteral("Record Addition"));
    auto* form = new QFormLayout;
    setLayout(form);
    QStringList names;
    int chosen = 0;
    for (int i = 0; i < Batches.size(); ++i) {
        names << Batches[i].name;
        if (Batches[i].id == chosenBatch)
            chosen = i;
    }
    cboBatch = AddList(*form, QStringLiteral("cboBatch"), QStringLiteral("&Batch:"),
                       QStringLiteral("The batch the addition went into."), names, chosen);
    lblAddition = new QLabel(
        QStringLiteral("%1 %2 of %3 %4, for pH %5 and %6 mg/L of free SO2")
            .arg(FormatStandard(addition.result.ShownAddition),
                 addition.inputs.AdditionUnit ? ListText(*addition.inputs.AdditionUnit) : QString(),
                 addition.inputs.Source ? ListText(*addition.inputs.Source) : QString(),
                 ListText(addition.inputs.Form).toLower(), FormatStandard(addition.inputs.PH),
                 FormatStandard(addition.inputs.ExistingFreeSO2)),
        this);
    lblAddition->setObjectName(QStringLiteral("lblAddition"));
    lblAddition->setWordWrap(true);
    form->addRow(QStringLiteral("Addition:"), lblAddition);
    txtAt = AddTimeField(*form, QStringLiteral("When it was added"), cellar::Now());
    lblVolumes = new QLabel(this);
    lblVolumes->setObjectName(QStringLiteral("lblVolumes"));
    lblVolumes->setWordWrap(true);
    form->addRow(lblVolumes);
    optBatchVolume = new QRadioButton(this);
    Name(*optBatchVolume, QStringLiteral("optBatchVolume"), QStringLiteral("The batch's volume"),
         QStringLiteral("The addition went into the batch's volume as the cellar book has it."));
    optMainVolume = new QRadioButton(this);
    Name(*optMainVolume, QStringLiteral("optMainVolume"),
         QStringLiteral("The main window's batch size"),
         QStringLiteral("The addition went into the batch size it was calculated for."));
    form->addRow(optBatchVolume);
    form->addRow(optMainVolume);
    lblSO2Added = new QLabel;
    modProc::ReadAsResult(*lblSO2Added, QStringLiteral("SO2 added (mg/L)"));
    lblSO2Added->setParent(this);
    lblSO2Added->setObjectName(QStringLiteral("lblSO2Added"));
    form->addRow(QStringLiteral("SO2 added (mg/L):"), lblSO2Added);
    form->labelForField(lblSO2Added)->setObjectName(QStringLiteral("lblSO2AddedCaption"));
    txtNote = AddField(*form, QStringLiteral("txtNote"), QStringLiteral("N&ote:"),
                       QStringLiteral("Anything worth remembering about it."), QString());
    QDialogButtonBox* buttons = NewOkCancel(*this);
    form->addRow(buttons);
    connect(cboBatch, &QComboBox::currentIndexChanged, this, &frmRecord::BatchChosen);
    connect(optBatchVolume, &QRadioButton::toggled, this, &frmRecord::BatchChosen);
    BatchChosen();
}

const Batch& frmRecord::Chosen() const
{
    return Batches[cboBatch->currentIndex()];
}

double frmRecord::MainSizeInBatchUnit() const
{
    const float litres =
        ToLitres(Addition.inputs.BatchSize, Addition.inputs.BatchUnit.value_or(BatchUnit::Litre));
    return litres * UnitsPerLitre(Chosen().unit).value_or(1.0f);
}

// The volumes offered, and the SO2 the addition brings to the one chosen.
void frmRecord::BatchChosen()
{
    const Batch& batch = Chosen();
    const double main = MainSizeInBatchUnit();
    const bool differ = FormatStandard(main) != FormatStandard(batch.volume);
    lblVolumes->setText(
        differ ? QStringLiteral("The addition was calculated for %1; \"%2\" holds %3. Which "
                                "received it?")
                     .arg(Volume(Addition.inputs.BatchSize,
                                 Addition.inputs.BatchUnit.value_or(BatchUnit::Litre)),
                          batch.name, Volume(batch.volume, batch.unit))
               : QStringLiteral("The addition was calculated for the batch's volume, %1.")
                     .arg(Volume(batch.volume, batch.unit)));
    optBatchVolume->setText(
        QStringLiteral("The batch's &volume, %1").arg(Volume(batch.volume, batch.unit)));
    optMainVolume->setText(
        QStringLiteral("The &main window's batch size, %1").arg(Volume(main, batch.unit)));
    optBatchVolume->setVisible(differ);
    optMainVolume->setVisible(differ);
    if (!optBatchVolume->isChecked() && !optMainVolume->isChecked())
        optBatchVolume->setChecked(true);
    const double volume = optMainVolume->isChecked() && differ ? main : batch.volume;
    modProc::ShowResult(*lblSO2Added,
                        FormatStandard(Addition.so2For(ToLitres(float(volume), batch.unit))));
}

void frmRecord::done(int result)
{
    if (result == QDialog::Accepted) {
        QDateTime at;
        if (!ReadTime(*txtAt, at))
            return;
        const Batch& batch = Chosen();
        const bool main = optMainVolume->isVisible() && optMainVolume->isChecked();
        Recorded = Entry{};
        Recorded.batchId = batch.id;
        Recorded.kind = EntryKind::Addition;
        Recorded.at = at;
        Recorded.volume = main ? MainSizeInBatchUnit() : batch.volume;
        Recorded.note = txtNote->text().trimmed();
        Recorded.ph = Addition.inputs.PH;
        Recorded.freeSO2 = Addition.inputs.ExistingFreeSO2;
        Recorded.compound = Addition.inputs.Source;
        Recorded.form = Addition.inputs.Form;
        Recorded.strength = Addition.strength();
        Recorded.amount = Addition.result.ShownAddition;
        Recorded.amountUnit = Addition.inputs.AdditionUnit;
        Recorded.so2Added = Addition.so2For(ToLitres(float(Recorded.volume), batch.unit));
    }
    QDialog::done(result);
}
