#include "ui/frmExport.h"

#include "ui/cellarForms.h"
#include "ui/cellarTexts.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace ardovin;
using namespace cellarForms;

namespace {

QRadioButton* NewOption(const QString& objectName, const QString& caption, const QString& tip,
                        QLayout& layout, QButtonGroup& group)
{
    auto* option = new QRadioButton(caption);
    Name(*option, objectName, caption, tip);
    layout.addWidget(option);
    group.addButton(option);
    return option;
}

QGroupBox* NewGroup(const QString& objectName, const QString& title, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(objectName);
    group->setLayout(new QVBoxLayout);
    new QButtonGroup(group);
    return group;
}

} // namespace

frmExport::frmExport(const QString& batch, qsizetype batches, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("Export as CSV"));
    QGroupBox* what = NewGroup(QStringLiteral("fraWhat"), QStringLiteral("Export"), this);
    auto* whatGroup = what->findChild<QButtonGroup*>();
    optBatch = NewOption(QStringLiteral("optBatch"), QStringLiteral("The &batch \"%1\"").arg(batch),
                         QStringLiteral("The chosen batch with its entries."), *what->layout(),
                         *whatGroup);
    optCellar = NewOption(QStringLiteral("optCellar"),
                          QStringLiteral("The &whole cellar book (%1)")
                              .arg(cellar::Count(batches, "batch", "batches")),
                          QStringLiteral("Every batch, the archived ones too, with their entries."),
                          *what->layout(), *whatGroup);
    optBatch->setEnabled(!batch.isEmpty());
    (batch.isEmpty() ? optCellar : optBatch)->setChecked(true);

    QGroupBox* layout = NewGroup(QStringLiteral("fraLayout"), QStringLiteral("Layout"), this);
    auto* layoutGroup = layout->findChild<QButtonGroup*>();
    const QString decimal = QLocale().decimalPoint();
    optSpreadsheet = NewOption(
        QStringLiteral("optSpreadsheet"),
        QStringLiteral("For a &spreadsheet in this computer's language (%1 between columns, "
                       "\"%2\" for decimals)")
            .arg(decimal == QStringLiteral(",") ? QStringLiteral("semicolons")
                                                : QStringLiteral("commas"),
                 decimal == QStringLiteral(",") ? QStringLiteral(",") : QStringLiteral(".")),
        QStringLiteral("Opens in columns when double-clicked."), *layout->layout(), *layoutGroup);
    optInterchange = NewOption(QStringLiteral("optInterchange"),
                               QStringLiteral("For &exchange with other programs (RFC 4180: "
                                              "commas between columns, \".\" for decimals)"),
                               QStringLiteral("The same whatever the language."), *layout->layout(),
                               *layoutGroup);
    optSpreadsheet->setChecked(true);

    QDialogButtonBox* buttons = NewOkCancel(*this);
    auto* column = new QVBoxLayout(this);
    column->addWidget(what);
    column->addWidget(layout);
    column->addWidget(buttons);
}

bool frmExport::WholeCellar() const
{
    return optCellar->isChecked();
}

CsvLayout frmExport::Layout() const
{
    return optSpreadsheet->isChecked() ? CsvLayout::Spreadsheet : CsvLayout::Interchange;
}
