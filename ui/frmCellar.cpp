#include "ui/frmCellar.h"

#include "core/numbers.h"
#include "ui/cellarChart.h"
#include "ui/cellarForms.h"
#include "ui/cellarTexts.h"
#include "ui/frmSulfite.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

using namespace ardovin;
using namespace cellarForms;

namespace {

QTableView* NewTable(const QString& objectName, const QString& caption, const QString& tooltip,
                     QStandardItemModel* model, QLabel* buddy, QWidget* parent)
{
    auto* table = new QTableView(parent);
    Name(*table, objectName, caption, tooltip);
    table->setModel(model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false); // Tab leaves the table, as it leaves a list
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    buddy->setBuddy(table);
    return table;
}

// Fills a table's rows with texts, the numbers' columns to the right; a marked row is bold.
void Fill(QStandardItemModel& model, const QStringList& header, const QList<int>& numbers,
          const QList<QStringList>& rows, const QList<bool>& marked = {})
{
    model.clear();
    model.setHorizontalHeaderLabels(header);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        QList<QStandardItem*> items;
        for (const QString& cell : rows[r]) {
            auto* item = new QStandardItem(cell);
            if (numbers.contains(int(items.size())))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (marked.value(r)) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            items << item;
        }
        model.appendRow(items);
    }
}

int ChosenRow(const QTableView& table)
{
    const QModelIndexList rows = table.selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ChooseRow(QTableView& table, int row)
{
    if (row >= 0 && row < table.model()->rowCount())
        table.selectRow(row);
}

} // namespace

frmCellar::frmCellar(std::unique_ptr<Cellar> cellar, frmSulfite& main)
    : QDialog(&main), Book(std::move(cellar)), Main(main)
{
    setObjectName(QStringLiteral("frmCellar"));
    setWindowTitle(QStringLiteral("Cellar Book"));
    setWindowIcon(main.windowIcon());
    BuildControls();
    resize(1180, 760);
    UseCellar(std::move(Book));
}

void frmCellar::UseCellar(std::unique_ptr<Cellar> cellar)
{
    Book = std::move(cellar);
    // A server tells of other clients' changes as they are made, so that what is shown is never
    // older than a moment; a file tells of none, and is read again at each change made here.
    Book->watch([this] { OthersChanged(); });
    ShowLocation();
    // Nothing of the cellar shown before stays, should this one not be read.
    BatchTable->removeRows(0, BatchTable->rowCount());
    Batches.clear();
    BatchChosen();
    Reload(0);
}

void frmCellar::ShowLocation()
{
    QString location =
        QStringLiteral("Cellar book: %1")
            .arg(IsServerAddress(Book->location()) ? Book->location()
                                                   : QDir::toNativeSeparators(Book->location()));
    if (!Book->connectionNote().isEmpty())
        location += QStringLiteral(" (%1)").arg(Book->connectionNote());
    if (!Book->readOnlyReason().isEmpty())
        location += QStringLiteral(" (read only: %1)").arg(Book->readOnlyReason());
    lblLocation->setText(location);
}

void frmCellar::OthersChanged()
{
    const std::optional<Entry> entry = ChosenEntry();
    const std::optional<Batch> batch = ChosenBatch();
    Reload(batch ? batch->id : 0, false);
    for (int row = 0; entry && row < Entries.size(); ++row)
        if (Entries[row].id == entry->id)
            ChooseRow(*grdEntries, row);
}

frmCellar::~frmCellar() = default;

// Coming back to the window reads the records again: a change another client made while the
// server was away is told by no notice, nor is one another Ardovin makes in the same file.
void frmCellar::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && Book)
        OthersChanged();
}

void frmCellar::BuildControls()
{
    lblLocation = new QLabel(this);
    lblLocation->setObjectName(QStringLiteral("lblLocation"));
    lblLocation->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblLocation->setWordWrap(true);

    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    close->setObjectName(QStringLiteral("buttons"));
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::close);
    // Enter in a table opens its row; it never closes the window.
    for (QAbstractButton* button : close->buttons())
        qobject_cast<QPushButton*>(button)->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblLocation);
    layout->addLayout(BatchControls(), 2);
    layout->addLayout(EntryControls(), 5);
    // Made after the tables, so that the window opens with the batches and Tab reaches it last.
    cmdOpenShared =
        NewButton(QStringLiteral("cmdOpenShared"), QStringLiteral("Open &Shared Cellar..."),
                  QStringLiteral("Open a cellar book on a PostgreSQL server, shared "
                                 "with the others who work on the same tanks, or go "
                                 "back to your own."),
                  this);
    connect(cmdOpenShared, &QPushButton::clicked, this, &frmCellar::cmdOpenShared_Click);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cmdOpenShared);
    bottom->addWidget(close, 1);
    layout->addLayout(bottom);
}

QLayout* frmCellar::BatchControls()
{
    lblBatches = new QLabel(QStringLiteral("&Batches:"), this);
    lblBatches->setObjectName(QStringLiteral("lblBatches"));
    BatchTable = new QStandardItemModel(this);
    grdBatches = NewTable(QStringLiteral("grdBatches"), QStringLiteral("Batches"),
                          QStringLiteral("The batches in the cellar book; one not measured for "
                                         "%1 days or more is shown in bold.")
                              .arg(cellar::MeasureAgainDays),
                          BatchTable, lblBatches, this);
    connect(grdBatches->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmCellar::BatchChosen);
    chkArchived = new QCheckBox(QStringLiteral("S&how archived batches"), this);
    Name(*chkArchived, QStringLiteral("chkArchived"), chkArchived->text(),
         QStringLiteral("List the archived batches too."));
    connect(chkArchived, &QCheckBox::toggled, this, [this] {
        const std::optional<Batch> chosen = ChosenBatch();
        Reload(chosen ? chosen->id : 0);
    });
    cmdAddBatch = NewButton(QStringLiteral("cmdAddBatch"), QStringLiteral("&Add Batch..."),
                            QStringLiteral("Add a batch to the cellar book."), this);
    cmdEditBatch = NewButton(QStringLiteral("cmdEditBatch"), QStringLiteral("&Edit Batch..."),
                             QStringLiteral("Change the chosen batch's details."), this);
    cmdArchiveBatch =
        NewButton(QStringLiteral("cmdArchiveBatch"), QStringLiteral("Ar&chive Batch"),
                  QStringLiteral("Hide the chosen batch from the list, keeping its history; "
                                 "an archived batch is restored the same way."),
                  this);
    cmdDeleteBatch =
        NewButton(QStringLiteral("cmdDeleteBatch"), QStringLiteral("&Delete Batch..."),
                  QStringLiteral("Delete the chosen batch with all its entries."), this);
    connect(cmdAddBatch, &QPushButton::clicked, this, &frmCellar::cmdAddBatch_Click);
    connect(cmdEditBatch, &QPushButton::clicked, this, &frmCellar::cmdEditBatch_Click);
    connect(cmdArchiveBatch, &QPushButton::clicked, this, &frmCellar::cmdArchiveBatch_Click);
    connect(cmdDeleteBatch, &QPushButton::clicked, this, &frmCellar::cmdDeleteBatch_Click);
    connect(grdBatches, &QTableView::activated, this, &frmCellar::cmdEditBatch_Click);
    cmdExport = NewButton(QStringLiteral("cmdExport"), QStringLiteral("E&xport..."),
                          QStringLiteral("Save the chosen batch or the whole cellar book as CSV, "
                                         "for a spreadsheet."),
                          this);
    cmdImport = NewButton(QStringLiteral("cmdImport"), QStringLiteral("Im&port..."),
                          QStringLiteral("Add the batches of a CSV exported by Ardovin."), this);
    connect(cmdExport, &QPushButton::clicked, this, &frmCellar::cmdExport_Click);
    connect(cmdImport, &QPushButton::clicked, this, &frmCellar::cmdImport_Click);

    auto* buttons = new QHBoxLayout;
    for (QWidget* control :
         {static_cast<QWidget*>(chkArchived), static_cast<QWidget*>(cmdAddBatch),
          static_cast<QWidget*>(cmdEditBatch), static_cast<QWidget*>(cmdArchiveBatch),
          static_cast<QWidget*>(cmdDeleteBatch), static_cast<QWidget*>(cmdExport),
          static_cast<QWidget*>(cmdImport)})
        buttons->addWidget(control);
    buttons->insertStretch(1);
    auto* column = new QVBoxLayout;
    column->addWidget(lblBatches);
    column->addWidget(grdBatches);
    column->addLayout(buttons);
    return column;
}

QLayout* frmCellar::EntryControls()
{
    chtHistory = new CellarChart(this);
    Name(*chtHistory, QStringLiteral("chtHistory"), QStringLiteral("SO2 history chart"), {});
    chtHistory->setFocusPolicy(Qt::StrongFocus); // so that a screen reader reaches it by Tab
    lblSinceMeasured = new QLabel(this);
    lblSinceMeasured->setObjectName(QStringLiteral("lblSinceMeasured"));
    lblProjection = new QLabel(this);
    lblProjection->setObjectName(QStringLiteral("lblProjection"));
    lblProjection->setWordWrap(true);
    lblProjection->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblEntries = new QLabel(QStringLiteral("E&ntries:"), this);
    lblEntries->setObjectName(QStringLiteral("lblEntries"));
    EntryTable = new QStandardItemModel(this);
    grdEntries = NewTable(QStringLiteral("grdEntries"), QStringLiteral("Entries"),
                          QStringLiteral("The chosen batch's measurements and additions, the "
                                         "newest first."),
                          EntryTable, lblEntries, this);
    connect(grdEntries->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmCellar::EnableCommands);
    connect(grdEntries, &QTableView::activated, this, &frmCellar::cmdEditEntry_Click);
    cmdAddMeasurement =
        NewButton(QStringLiteral("cmdAddMeasurement"), QStringLiteral("Add &Measurement..."),
                  QStringLiteral("Record a measurement of pH and SO2."), this);
    cmdAddAddition = NewButton(QStringLiteral("cmdAddAddition"), QStringLiteral("Add Add&ition..."),
                               QStringLiteral("Record sulphite added to the batch."), this);
    cmdEditEntry = NewButton(QStringLiteral("cmdEditEntry"), QStringLiteral("Edi&t Entry..."),
                             QStringLiteral("Change the chosen entry."), this);
    cmdDeleteEntry = NewButton(QStringLiteral("cmdDeleteEntry"), QStringLiteral("De&lete Entry..."),
                               QStringLiteral("Delete the chosen entry."), this);
    connect(cmdAddMeasurement, &QPushButton::clicked, this, &frmCellar::cmdAddMeasurement_Click);
    connect(cmdAddAddition, &QPushButton::clicked, this, &frmCellar::cmdAddAddition_Click);
    connect(cmdEditEntry, &QPushButton::clicked, this, &frmCellar::cmdEditEntry_Click);
    connect(cmdDeleteEntry, &QPushButton::clicked, this, &frmCellar::cmdDeleteEntry_Click);
    cmdUseInMain =
        NewButton(QStringLiteral("cmdUseInMain"), QStringLiteral("&Use in Calculator..."),
                  QStringLiteral("Fill the main window's batch size, pH and existing "
                                 "SO2 from this batch's last values."),
                  this);
    connect(cmdUseInMain, &QPushButton::clicked, this, &frmCellar::cmdUseInMain_Click);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {cmdAddMeasurement, cmdAddAddition, cmdEditEntry, cmdDeleteEntry})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(cmdUseInMain);
    auto* table = new QVBoxLayout;
    table->addWidget(lblEntries);
    table->addWidget(grdEntries);
    auto* history = new QHBoxLayout;
    history->addWidget(chtHistory, 1);
    history->addLayout(table, 1);
    auto* column = new QVBoxLayout;
    column->addLayout(history);
    column->addWidget(lblSinceMeasured);
    column->addWidget(lblProjection);
    column->addLayout(buttons);
    return column;
}

void frmCellar::Reload(qint64 chooseBatch, bool tellFailure)
{
    const ardovin::Records<Batch> read = Book->batches(chkArchived->isChecked());
    if (read.failure) {
        if (tellFailure)
            Tell(*read.failure);
        return;
    }
    Batches = read.list;
    QList<QStringList> rows;
    QList<bool> marked;
    const QDateTime now = cellar::Now();
    for (const Batch& batch : Batches) {
        rows << cellar::BatchCells(batch, now);
        marked << (batch.lastMeasured &&
                   cellar::LocalDaysBetween(*batch.lastMeasured, now) >= cellar::MeasureAgainDays);
    }
    const QSignalBlocker quiet(grdBatches->selectionModel());
    Fill(*BatchTable, cellar::BatchHeader(), cellar::BatchNumberColumns, rows, marked);
    grdBatches->resizeColumnsToContents();
    int row = 0;
    for (int i = 0; i < Batches.size(); ++i)
        if (Batches[i].id == chooseBatch)
            row = i;
    ChooseRow(*grdBatches, row);
    BatchChosen();
}

void frmCellar::BatchChosen()
{
    const std::optional<Batch> batch = ChosenBatch();
    Entries.clear();
    if (batch) {
        const ardovin::Records<Entry> read = Book->entries(batch->id);
        if (read.failure)
            Tell(*read.failure);
        Entries = read.list;
    }
    ShowEntries();
}

void frmCellar::ShowEntries()
{
    const std::optional<Batch> batch = ChosenBatch();
    QList<QStringList> rows;
    for (const Entry& entry : Entries)
        rows << cellar::EntryCells(*batch, entry);
    Fill(*EntryTable, cellar::EntryHeader(), cellar::EntryNumberColumns, rows);
    grdEntries->resizeColumnsToContents();
    chtHistory->Show(batch, Entries, batch ? cellar::LimitOf(*batch) : std::nullopt);
    const QString description =
        batch ? cellar::HistoryDescription(*batch, Entries) : QStringLiteral("No batch chosen.");
    chtHistory->setToolTip(description);
    chtHistory->setAccessibleDescription(description);
    lblSinceMeasured->setText(batch ? cellar::SinceMeasuredText(batch->lastMeasured, cellar::Now())
                                    : QString());
    ShowProjection();
    EnableCommands();
}

void frmCellar::AdditionChanged()
{
    PendingRecorded = false;
    ShowProjection();
}

void frmCellar::ShowProjection()
{
    const std::optional<Batch> batch = ChosenBatch();
    if (!batch)
        return lblProjection->clear();
    std::optional<double> pending;
    if (const auto& shown = Main.shownAddition(); shown && !PendingRecorded)
        pending = shown->so2For(ToLitres(
            float(Entries.isEmpty() ? batch->volume : Entries.first().volume), batch->unit));
    const cellar::Projection projection = cellar::ProjectTotal(*batch, Entries, pending);
    lblProjection->setText(projection.text);
    QFont font = lblProjection->font();
    font.setBold(projection.warning);
    lblProjection->setFont(font);
}

void frmCellar::EnableCommands()
{
    const bool writable = Book->readOnlyReason().isEmpty();
    const std::optional<Batch> batch = ChosenBatch();
    cmdAddBatch->setEnabled(writable);
    cmdImport->setEnabled(writable);
    for (QPushButton* button :
         {cmdEditBatch, cmdArchiveBatch, cmdDeleteBatch, cmdAddMeasurement, cmdAddAddition})
        button->setEnabled(writable && batch);
    cmdArchiveBatch->setText(batch && batch->archived ? QStringLiteral("Resto&re Batch")
                                                      : QStringLiteral("Ar&chive Batch"));
    cmdArchiveBatch->setAccessibleName(cmdArchiveBatch->text().remove(u'&'));
    for (QPushButton* button : {cmdEditEntry, cmdDeleteEntry})
        button->setEnabled(writable && ChosenEntry());
    cmdUseInMain->setEnabled(batch.has_value());
}

std::optional<Batch> frmCellar::ChosenBatch() const
{
    const int row = ChosenRow(*grdBatches);
    return row < 0 ? std::nullopt : std::optional(Batches.value(row));
}

std::optional<Entry> frmCellar::ChosenEntry() const
{
    const int row = ChosenRow(*grdEntries);
    return row < 0 ? std::nullopt : std::optional(Entries.value(row));
}

void frmCellar::Saved(const Failure& failure, qint64 chooseBatch)
{
    if (failure)
        Tell(*failure);
    Reload(chooseBatch, !failure); // a failure told once, not again by the reading after it
}
