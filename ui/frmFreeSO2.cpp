#include "ui/frmFreeSO2.h"

#include "core/numbers.h"
#include "platform/clipboard.h"

#include <algorithm>
#include <QAccessible>
#include <QBoxLayout>
#include <QChartView>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QSaveFile>
#include <QScatterSeries>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableView>
#include <QValueAxis>

using namespace ardovin;

namespace {

// The pH axis always spans the curves, and stretches to a wine outside them within these.
constexpr double LowestPhShown = 2.0;
constexpr double HighestPhShown = 5.0;
// Widens the pH axis a trifle, so that the ticks at its ends survive rounding.
constexpr double TickRounding = 1e-6;

QLineSeries* NewCurveSeries(const QColor& colour, Qt::PenStyle style)
{
    auto* series = new QLineSeries;
    series->setPen(QPen(colour, 2.5, style));
    return series;
}

QPushButton* NewButton(const QString& caption, const QString& tooltip, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setAccessibleName(QString(caption).remove(u'&'));
    button->setToolTip(tooltip);
    button->setAccessibleDescription(tooltip);
    button->setAutoDefault(false); // Enter in the table presses nothing
    return button;
}

} // namespace

frmFreeSO2::frmFreeSO2(FreeSO2Host host, QWidget* owner)
    : QDialog(owner), Host(std::move(host)),
      ImageFolder(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
{
    setObjectName(QStringLiteral("frmFreeSO2"));
    setWindowTitle(QStringLiteral("Free SO2 by pH"));
    if (owner)
        setWindowIcon(owner->windowIcon());
    BuildChart();
    BuildControls();
    resize(820, 700);
}

void frmFreeSO2::BuildChart()
{
    Chart = new QChart;
    Chart->setTitle(QStringLiteral("Free SO2 needed for a molecular SO2 aim"));
    Chart->legend()->setAlignment(Qt::AlignBottom);
    Chart->setLocalizeNumbers(true);
    axisPh = new QValueAxis;
    axisPh->setTitleText(QStringLiteral("pH"));
    axisPh->setLabelFormat(QStringLiteral("%.1f"));
    axisPh->setTickType(QValueAxis::TicksDynamic);
    axisPh->setTickAnchor(CurveFirstPh / 100.0);
    axisPh->setTickInterval(0.1);
    axisFreeSO2 = new QValueAxis;
    axisFreeSO2->setTitleText(QStringLiteral("Free SO2 (mg/L)"));
    axisFreeSO2->setLabelFormat(QStringLiteral("%.0f"));
    Chart->addAxis(axisPh, Qt::AlignBottom);
    Chart->addAxis(axisFreeSO2, Qt::AlignLeft);
    serRed = NewCurveSeries(QColor(139, 26, 26), Qt::SolidLine);
    serWhite = NewCurveSeries(QColor(196, 150, 20), Qt::SolidLine);
    serTarget = NewCurveSeries(QColor(30, 80, 160), Qt::DashLine);
    serWine = new QScatterSeries;
    serWine->setName(QStringLiteral("This wine"));
    serWine->setMarkerSize(13);
    serWine->setColor(Qt::black);
    for (QXYSeries* series :
         std::initializer_list<QXYSeries*>{serRed, serWhite, serTarget, serWine}) {
        Chart->addSeries(series);
        series->attachAxis(axisPh);
        series->attachAxis(axisFreeSO2);
    }
}

void frmFreeSO2::BuildControls()
{
    chtFreeSO2 = new QChartView(Chart, this);
    chtFreeSO2->setObjectName(QStringLiteral("chtFreeSO2"));
    chtFreeSO2->setRenderHint(QPainter::Antialiasing);
    chtFreeSO2->setAccessibleName(QStringLiteral("Free SO2 by pH chart"));
    chtFreeSO2->setFocusPolicy(Qt::StrongFocus); // so that a screen reader reaches it by Tab

    lblWinePoint = new QLabel(this);
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

    cmdCopy = NewButton(QStringLiteral("&Copy"),
                        QStringLiteral("Copy the table, to paste it into a spreadsheet."), this);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    cmdSaveImage = NewButton(QStringLiteral("Save Image..."),
                             QStringLiteral("Save the chart as a PNG picture."), this);
    cmdSaveImage->setObjectName(QStringLiteral("cmdSaveImage"));
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
    const WineCurves wine = ReadWineCurves(Host.texts());
    Chart->setLocale(NumberLocale());
    ShowCurves(wine);
    ShowWinePoint(wine);
    Shown = BuildCurveTable(wine);
    ShowTable(Shown);
}

void frmFreeSO2::ShowCurves(const WineCurves& wine)
{
    const bool withTarget = wine.curves.size() > 2;
    serTarget->setVisible(withTarget);
    for (QLegendMarker* marker : Chart->legend()->markers(serTarget))
        marker->setVisible(withTarget);
    double highest = wine.freeSO2.value_or(0.0f);
    QLineSeries* series[] = {serRed, serWhite, serTarget};
    const std::vector<float> phValues = CurvePhValues(1);
    for (std::size_t i = 0; i < wine.curves.size() && i < std::size(series); ++i) {
        QList<QPointF> points;
        for (float pH : phValues) {
            const float freeSO2 = FreeFromMolecular(wine.curves[i].molecularAim, pH);
            points.append({pH, freeSO2});
            highest = std::max(highest, static_cast<double>(freeSO2));
        }
        series[i]->replace(points);
        series[i]->setName(wine.curves[i].name);
    }
    double lowPh = CurveFirstPh / 100.0;
    double highPh = CurveLastPh / 100.0;
    if (wine.pH && wine.freeSO2) {
        lowPh = std::clamp(*wine.pH - 0.05, LowestPhShown, lowPh);
        highPh = std::clamp(*wine.pH + 0.05, highPh, HighestPhShown);
    }
    axisPh->setRange(lowPh - TickRounding, highPh + TickRounding);
    axisFreeSO2->setRange(0, highest * 1.05);
    axisFreeSO2->applyNiceNumbers();
}

void frmFreeSO2::ShowWinePoint(const WineCurves& wine)
{
    const QString text = WinePointText(wine);
    if (text.isEmpty())
        serWine->clear();
    else
        serWine->replace(QList<QPointF>{{*wine.pH, *wine.freeSO2}});
    for (QLegendMarker* marker : Chart->legend()->markers(serWine))
        marker->setVisible(!text.isEmpty()); // no "This wine" without its point
    const QString description = ChartDescription(wine);
    chtFreeSO2->setToolTip(description);
    chtFreeSO2->setAccessibleDescription(description);
    if (lblWinePoint->text() == text)
        return;
    lblWinePoint->setText(text);
    // The label is read by its value, and a screen reader hears of each new one.
    lblWinePoint->setAccessibleName(text.isEmpty() ? QStringLiteral("This wine") : text);
    QAccessibleEvent renamed(lblWinePoint, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
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
        Host.reportFailure(QStringLiteral("The picture could not be saved as %1.")
                               .arg(QDir::toNativeSeparators(path)));
}

bool frmFreeSO2::SaveImage(const QString& path) const
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && chtFreeSO2->grab().save(&file, "PNG") &&
           file.commit();
}
