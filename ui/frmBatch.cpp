#include "ui/frmBatch.h"

#include "ui/cellarForms.h"
#include "ui/cellarTexts.h"
#include "ui/modProc.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

using namespace ardovin;
using namespace cellarForms;

namespace {

template <typename Row, std::size_t N> QStringList ListTexts(const std::array<Row, N>& table)
{
    QStringList texts;
    for (const Row& row : table)
        texts << QString::fromUtf8(row.listText);
    return texts;
}

QString TargetTip()
{
    return QStringLiteral("The molecular SO2 this batch aims at. Leave it empty for its colour's "
                          "usual target: %1 mg/L for reds, %2 for whites and rosés.")
        .arg(cellar::Shown(RowOf(WineColour::Red).molecularTarget),
             cellar::Shown(RowOf(WineColour::White).molecularTarget));
}

} // namespace

frmBatch::frmBatch(const Batch& batch, QStringList takenNames, QWidget* parent)
    : QDialog(parent), Edited(batch), TakenNames(std::move(takenNames))
{
    setObjectName(QStringLiteral("frmBatch"));
    setWindowTitle(batch.id == 0 ? QStringLiteral("New Batch") : QStringLiteral("Edit Batch"));
    auto* form = new QFormLayout;
    setLayout(form);
    txtName =
        AddField(*form, QStringLiteral("txtName"), QStringLiteral("&Name:"),
                 QStringLiteral("The batch's name, as the cellar book lists it."), batch.name);
    txtVolume = AddField(*form, QStringLiteral("txtVolume"), QStringLiteral("&Volume:"),
                         QStringLiteral("The batch's volume now."),
                         batch.id == 0 ? QString() : cellar::Shown(batch.volume));
    cboUnit = AddList(*form, QStringLiteral("cboUnit"), QStringLiteral("Volume &unit:"),
                      QStringLiteral("The unit of the batch's volume."), ListTexts(BatchUnits),
                      int(batch.unit));
    cboColour = AddList(*form, QStringLiteral("cboColour"), QStringLiteral("&Colour:"),
                        QStringLiteral("Red, white or rosé: it sets the usual molecular target."),
                        ListTexts(Colours), int(batch.colour));
    cboType = AddList(*form, QStringLiteral("cboType"), QStringLiteral("&Kind of wine:"),
                      QStringLiteral("Still, sparkling, liqueur or another special wine: the "
                                     "legal limits tell them apart."),
                      ListTexts(WineTypes), int(batch.type));
    txtSugar = AddField(*form, QStringLiteral("txtSugar"), QStringLiteral("Residual &sugar (g/L):"),
                        QStringLiteral("Glucose and fructose left in the wine, in g/L."),
                        cellar::Shown(batch.residualSugar));
    cboRules = AddList(*form, QStringLiteral("cboRules"), QStringLiteral("&Legal rules:"),
                       QStringLiteral("The rules whose limit of total SO2 the wine must keep."),
                       ListTexts(RuleSets), int(batch.rules));
    txtMolTarget = AddField(*form, QStringLiteral("txtMolTarget"),
                            QStringLiteral("&Molecular SO2 target (mg/L):"), TargetTip(),
                            cellar::Shown(batch.molecularTarget));
    for (QLineEdit* field : {txtVolume, txtSugar, txtMolTarget})
        modProc::AttachNumericKeyFilter(*field);
    QDialogButtonBox* buttons = NewOkCancel(*this);
    form->addRow(buttons);
}

void frmBatch::done(int result)
{
    if (result == QDialog::Accepted && !ReadFields())
        return; // the user mends what was told, or cancels
    QDialog::done(result);
}

bool frmBatch::ReadFields()
{
    const QString name = txtName->text().trimmed();
    if (name.isEmpty() || TakenNames.contains(name)) {
        Tell(name.isEmpty() ? QStringLiteral("The batch needs a name.")
                            : QStringLiteral("There is a batch named \"%1\" already.").arg(name));
        txtName->setFocus();
        return false;
    }
    std::optional<double> volume, sugar, target;
    if (!ReadNumber({txtVolume, "Volume", Allowed::Positive}, volume) ||
        !ReadNumber({txtSugar, "Residual sugar", Allowed::ZeroOrMore}, sugar) ||
        !ReadNumber({txtMolTarget, "Molecular SO2 target", Allowed::Positive, true}, target))
        return false;
    Edited.name = name;
    Edited.volume = *volume;
    Edited.unit = BatchUnits[std::size_t(cboUnit->currentIndex())].unit;
    Edited.colour = Colours[std::size_t(cboColour->currentIndex())].colour;
    Edited.type = WineTypes[std::size_t(cboType->currentIndex())].type;
    Edited.residualSugar = *sugar;
    Edited.rules = RuleSets[std::size_t(cboRules->currentIndex())].rules;
    Edited.molecularTarget = target;
    return true;
}
