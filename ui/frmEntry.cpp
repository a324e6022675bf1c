#include "ui/frmEntry.h"

#include "core/numbers.h"
#include "ui/cellarForms.h"
#include "ui/cellarTexts.h"
#include "ui/modProc.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

using namespace ardovin;
using namespace cellarForms;

namespace {

// A solution's strength is its percentage, a tablet's its weight; powder has none.
QString StrengthCaption(SourceForm form)
{
    return form == SourceForm::Tablet ? QStringLiteral("Tablet &weight (g):")
                                      : QStringLiteral("Solution &strength (%):");
}

} // namespace

frmEntry::frmEntry(const Batch& batch, const Entry& entry, QWidget* parent)
    : QDialog(parent), OfBatch(batch), Edited(entry)
{
    const bool measured = entry.kind == EntryKind::Measurement;
    setObjectName(QStringLiteral("frmEntry"));
    setWindowTitle(
        (entry.id == 0 ? QStringLiteral("New %1 for %2") : QStringLiteral("Edit %1 of %2"))
            .arg(measured ? QStringLiteral("Measurement") : QStringLiteral("Addition"),
                 batch.name));
    auto* form = new QFormLayout;
    setLayout(form);
    txtAt = AddTimeField(*form, QStringLiteral("When it was done"), entry.at);
    txtVolume = AddField(*form, QStringLiteral("txtVolume"),
                         QStringLiteral("&Volume (%1):").arg(ListText(batch.unit)),
                         QStringLiteral("The batch's volume on that date: racking and topping "
                                        "change it."),
                         cellar::Shown(entry.volume));
    modProc::AttachNumericKeyFilter(*txtVolume);
    measured ? BuildMeasurement(*form) : BuildAddition(*form);
    txtNote = AddField(*form, QStringLiteral("txtNote"), QStringLiteral("N&ote:"),
                       QStringLiteral("Anything worth remembering about it."), entry.note);
    QDialogButtonBox* buttons = NewOkCancel(*this);
    form->addRow(buttons);
}

void frmEntry::BuildMeasurement(QFormLayout& form)
{
    txtPh = AddField(form, QStringLiteral("txtPh"), QStringLiteral("&pH:"),
                     QStringLiteral("The wine's pH, as measured."), cellar::Shown(Edited.ph));
    txtFreeSO2 =
        AddField(form, QStringLiteral("txtFreeSO2"), QStringLiteral("&Free SO2 (mg/L):"),
                 QStringLiteral("The free SO2 measured, in mg/L."), cellar::Shown(Edited.freeSO2));
    txtTotalSO2 =
        AddField(form, QStringLiteral("txtTotalSO2"), QStringLiteral("&Total SO2 (mg/L):"),
                 QStringLiteral("The total SO2 measured, in mg/L; empty where it was "
                                "not measured."),
                 cellar::Shown(Edited.totalSO2));
    txtMethod = AddField(form, QStringLiteral("txtMethod"), QStringLiteral("&Method:"),
                         QStringLiteral("How it was measured: aeration-oxidation, titration..."),
                         Edited.method);
    for (QLineEdit* field : {txtPh, txtFreeSO2, txtTotalSO2})
        modProc::AttachNumericKeyFilter(*field);
}

void frmEntry::BuildAddition(QFormLayout& form)
{
    QStringList compounds, forms;
    for (const CompoundRow& row : Compounds)
        compounds << QString::fromUtf8(row.listText);
    for (const FormRow& row : Forms)
        forms << QString::fromUtf8(row.listText);
    const SourceForm chosen = Edited.form.value_or(SourceForm::Powder);
    cboCompound = AddList(form, QStringLiteral("cboCompound"), QStringLiteral("&Compound:"),
                          QStringLiteral("The sulphite added."), compounds,
                          int(Edited.compound.value_or(SulphiteSource::PotassiumMetabisulphite)));
    cboForm = AddList(form, QStringLiteral("cboForm"), QStringLiteral("&Form:"),
                      QStringLiteral("Tablets, powder or a solution."), forms, int(chosen));
    txtStrength = AddField(form, QStringLiteral("txtStrength"), StrengthCaption(chosen),
                           QStringLiteral("A solution's percentage or a tablet's weight in grams."),
                           cellar::Shown(Edited.strength));
    lblStrength = qobject_cast<QLabel*>(form.labelForField(txtStrength));
    txtAmount = AddField(form, QStringLiteral("txtAmount"), QStringLiteral("&Amount:"),
                         QStringLiteral("How much was added, in the unit beside it."),
                         cellar::Shown(Edited.amount));
    cboAmountUnit = new QComboBox(this);
    Name(*cboAmountUnit, QStringLiteral("cboAmountUnit"), QStringLiteral("Amount &unit:"),
         QStringLiteral("The unit of the amount."));
    form.addRow(QStringLiteral("Amount &unit:"), cboAmountUnit);
    qobject_cast<QLabel*>(form.labelForField(cboAmountUnit))
        ->setObjectName(QStringLiteral("cboAmountUnitCaption"));
    lblSO2Added = new QLabel;
    modProc::ReadAsResult(*lblSO2Added, QStringLiteral("SO2 added (mg/L)"));
    lblSO2Added->setParent(this);
    lblSO2Added->setObjectName(QStringLiteral("lblSO2Added"));
    form.addRow(QStringLiteral("SO2 added (mg/L):"), lblSO2Added);
    form.labelForField(lblSO2Added)->setObjectName(QStringLiteral("lblSO2AddedCaption"));
    for (QLineEdit* field : {txtStrength, txtAmount})
        modProc::AttachNumericKeyFilter(*field);
    FormChosen();
    if (Edited.amountUnit)
        cboAmountUnit->setCurrentText(ListText(*Edited.amountUnit));
    connect(cboForm, &QComboBox::currentIndexChanged, this, &frmEntry::FormChosen);
    for (QLineEdit* field : {txtVolume, txtStrength, txtAmount})
        connect(field, &QLineEdit::textChanged, this, &frmEntry::ShowSO2Added);
    for (QComboBox* list : {cboCompound, cboAmountUnit})
        connect(list, &QComboBox::currentIndexChanged, this, &frmEntry::ShowSO2Added);
    ShowSO2Added();
}

void frmEntry::FormChosen()
{
    const FormRow& row = Forms[std::size_t(cboForm->currentIndex())];
    const QSignalBlocker quiet(cboAmountUnit);
    cboAmountUnit->clear();
    for (const OfferedUnit& unit : row.units)
        cboAmountUnit->addItem(ListText(unit.unit));
    txtStrength->setEnabled(row.amountField.has_value());
    lblStrength->setText(StrengthCaption(row.form));
    txtStrength->setAccessibleName(QString(StrengthCaption(row.form)).remove(u'&').chopped(1));
    ShowSO2Added();
}

// The SO2 the amount brings, as the fields read now; empty while one does not read.
void frmEntry::ShowSO2Added()
{
    const SourceForm form = Forms[std::size_t(cboForm->currentIndex())].form;
    const std::optional<double> volume = ReadDouble(txtVolume->text());
    const std::optional<double> amount = ReadDouble(txtAmount->text());
    const std::optional<double> strength = ReadDouble(txtStrength->text());
    const std::optional<AdditionUnit> unit = AdditionUnitFromText(cboAmountUnit->currentText());
    QString shown;
    if (volume && amount && unit && (strength || !RowOf(form).amountField))
        shown = FormatStandard(SO2FromAmount(
            form, float(*amount), *unit, Compounds[std::size_t(cboCompound->currentIndex())].source,
            ToLitres(float(*volume), OfBatch.unit), float(strength.value_or(0)),
            float(strength.value_or(0))));
    modProc::ShowResult(*lblSO2Added, shown);
}

void frmEntry::done(int result)
{
    if (result == QDialog::Accepted && !ReadFields())
        return;
    QDialog::done(result);
}

bool frmEntry::ReadFields()
{
    QDateTime at;
    if (!ReadTime(*txtAt, at))
        return false;
    std::optional<double> volume;
    if (!ReadNumber({txtVolume, "Volume", Allowed::Positive}, volume))
        return false;
    if (Edited.kind == EntryKind::Addition) {
        if (!ReadAddition(volume))
            return false;
    } else {
        std::optional<double> ph, freeSO2, totalSO2;
        if (!ReadNumber({txtPh, "pH", Allowed::PhRange}, ph) ||
            !ReadNumber({txtFreeSO2, "Free SO2", Allowed::ZeroOrMore}, freeSO2) ||
            !ReadNumber({txtTotalSO2, "Total SO2", Allowed::ZeroOrMore, true}, totalSO2))
            return false;
        if (totalSO2 && *totalSO2 < *freeSO2) {
            Tell(QStringLiteral("Total SO2 cannot be less than free SO2."));
            txtTotalSO2->setFocus();
            return false;
        }
        std::tie(Edited.ph, Edited.freeSO2, Edited.totalSO2) = std::tuple(ph, freeSO2, totalSO2);
        Edited.method = txtMethod->text().trimmed();
    }
    Edited.at = at;
    Edited.volume = *volume;
    Edited.note = txtNote->text().trimmed();
    return true;
}

bool frmEntry::ReadAddition(std::optional<double> volume)
{
    const FormRow& form = Forms[std::size_t(cboForm->currentIndex())];
    std::optional<double> strength, amount;
    if (form.amountField &&
        !ReadNumber({txtStrength, form.form == SourceForm::Tablet ? "Tablet weight" : "Solution %",
                     form.form == SourceForm::Tablet ? Allowed::Positive : Allowed::Percentage},
                    strength))
        return false;
    if (!ReadNumber({txtAmount, "Amount", Allowed::Positive}, amount))
        return false;
    Edited.compound = Compounds[std::size_t(cboCompound->currentIndex())].source;
    Edited.form = form.form;
    Edited.strength = strength;
    Edited.amount = amount;
    Edited.amountUnit = AdditionUnitFromText(cboAmountUnit->currentText());
    Edited.so2Added = SO2FromAmount(form.form, float(*amount), *Edited.amountUnit, *Edited.compound,
                                    ToLitres(float(*volume), OfBatch.unit),
                                    float(strength.value_or(0)), float(strength.value_or(0)));
    return true;
}
