#include "ui/frmFreeSO2.h"

#include "platform/clipboard.h"
#include "ui/freeSO2Chart.h"
#include "ui/modProc.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableView>

using namespace ardovin;

frmFreeSO2::frmFreeSO2(std::function<FormTexts()> texts, QWidget* owner)
    : QDialog(owner), MainTexts(std::move(texts)),
      ImageFolder(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
{
    setObjectName(QStringLiteral("frmFreeSO2"));
    setWindowTitle(QStringLiteral("Free SO2 by pH"));
    if (owner)
        setWindowIcon(owner->windowIcon());
    BuildControls();
    resize(820, 700);
}

void frmFreeSO2::BuildControls()
{
    chtFreeSO2 = new FreeSO2Chart(this);
    chtFreeSO2->setObjectName(QStringLiteral("chtFreeSO2"));
    chtFreeSO2->setAccessibleName(QStringLiteral("Free SO2 by pH chart"));
    chtFreeSO2->setFocusPolicy(Qt::StrongFocus); // so that a screen reader reaches it by Tab

    lblWinePoint = new QLabel;
    // Its text names it already ("This wine: pH ..."); empty, it is read as "This wine".
    modProc::ReadAsResult(*lblWinePoint, QStringLiteral("This wine"));
    lblWinePoint->setParent(this);
    lblWinePoint->setObjectName(QStringLiteral("lblWinePoint"));
    lblWinePoint->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Table = new QStandardItemModel(this);
    grdFreeSO2 = new QTableView(this);
    grdFreeSO2->setObjectName(QStringLiteral("grdFreeSO2"));
    grdFreeSO2->setModel(Table);
    grdFreeSO2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdFreeSO2->verticalHeader()->hide();
    grdFreeSO2->verticalHeader()->setDefaultSectionSize(fontMetrics().lineSpacing() + 8);
    grdFreeSO2->horizontalHeader()->setDefaultAlignment(
        Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap)); // long headers wrap
    grdFreeSO2->horizontalHeader()->setFixedHeight(fontMetrics().lineSpacing() * 4 + 8);
    grdFreeSO2->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdFreeSO2->horizontalHeader()->setMinimumSectionSize(fontMetrics().averageCharWidth() * 8);
    grdFreeSO2->setAccessibleName(QStringLiteral("Free SO2 by pH table"));
    const QString tableTip = QStringLiteral("Free SO2 and addition for each pH.");
    grdFreeSO2->setToolTip(tableTip);
    grdFreeSO2->setAccessibleDescription(tableTip);

    cmdCopy =
        modProc::NewButton(QStringLiteral("cmdCopy"), QStringLiteral("&Copy"),
                           QStringLiteral("Copy the table, to paste it into a spreadsheet."), this);
    cmdSaveImage =
        modProc::NewButton(QStringLiteral("cmdSaveImage"), QStringLiteral("Save Image..."),
                           QStringLiteral("Save the chart as a PNG picture."), this);
    connect(cmdCopy, &QPushButton::clicked, this, &frmFreeSO2::cmdCopy_Click);
    connect(cmdSaveImage, &QPushButton::clicked, this, &frmFreeSO2::cmdSaveImage_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdSaveImage);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chtFreeSO2, 3);
    layout->addWidget(lblWinePoint);
    layout->addWidget(grdFreeSO2, 2);
    layout->addLayout(buttons);
}

void frmFreeSO2::InputsChanged()
{
    // A closed window is brought up to date when it is shown again.
    if (isVisible())
        Refresh();
}

void frmFreeSO2::showEvent(QShowEvent* event)
{
    Refresh();
    QDialog::showEvent(event);
}

void frmFreeSO2::Refresh()
{
    const WineCurves wine = ReadWineCurves(MainTexts());
    chtFreeSO2->Show(wine);
    const QString description = ChartDescription(wine);
    chtFreeSO2->setToolTip(description);
    chtFreeSO2->setAccessibleDescription(description);
    modProc::ShowResult(*lblWinePoint, WinePointText(wine));
    Shown = BuildCurveTable(wine);
    ShowTable(Shown);
}

void frmFreeSO2::ShowTable(const CurveTable& table)
{
    Table->setColumnCount(int(table.header.size()));
    Table->setRowCount(int(table.rows.size()));
    Table->setHorizontalHeaderLabels(table.header);
    // The pH column as narrow as its numbers, the rest sharing the room for their headers.
    grdFreeSO2->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    for (int row = 0; row < Table->rowCount(); ++row) {
        const QStringList& cells = table.rows[std::size_t(row)];
        for (int column = 0; column < Table->columnCount(); ++column) {
            const QModelIndex index = Table->index(row, column);
            Table->setData(index, cells.value(column));
            Table->setData(index, int(Qt::AlignRight | Qt::AlignVCenter), Qt::TextAlignmentRole);
        }
    }
}

void frmFreeSO2::cmdCopy_Click()
{
    SetClipboardText(TabSeparated(Shown));
}

void frmFreeSO2::cmdSaveImage_Click()
{
    QFileDialog dialog(this, QStringLiteral("Save Image"), ImageFolder,
                       QStringLiteral("PNG pictures (*.png)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(QStringLiteral("Free SO2 by pH.png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    ImageFolder = QFileInfo(path).absolutePath();
    if (!SaveImage(path))
        modProc::ShowMessage({windowTitle(),
                              QStringLiteral("The picture could not be saved as %1.")
                                  .arg(QDir::toNativeSeparators(path)),
                              modProc::MessageIcon::Exclamation, modProc::MessageButtons::Ok});
}

bool frmFreeSO2::SaveImage(const QString& path) const
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && chtFreeSO2->grab().save(&file, "PNG") &&
           file.commit();
}
