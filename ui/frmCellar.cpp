#include "ui/frmCellar.h"

#include "core/numbers.h"
#include "ui/cellarChart.h"
#include "ui/cellarForms.h"
#include "ui/cellarTexts.h"
#include "ui/frmBatch.h"
#include "ui/frmEntry.h"
#include "ui/frmExport.h"
#include "ui/frmRecord.h"
#include "ui/frmSulfite.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDialogButtonBox>
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
    Reload(0);
}

frmCellar::~frmCellar() = default;

void frmCellar::BuildControls()
{
    QString location =
        QStringLiteral("Cellar book: %1").arg(QDir::toNativeSeparators(Book->location()));
    if (!Book->readOnlyReason().isEmpty())
        location += QStringLiteral(" (read only: %1)").arg(Book->readOnlyReason());
    lblLocation = new QLabel(location, this);
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
    layout->addWidget(close);
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

void frmCellar::Reload(qint64 chooseBatch)
{
    const ardovin::Records<Batch> read = Book->batches(chkArchived->isChecked());
    if (read.failure)
        Tell(*read.failure);
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
    Reload(chooseBatch);
}

void frmCellar::cmdAddBatch_Click()
{
    EditBatch(Batch{});
}

void frmCellar::cmdEditBatch_Click()
{
    if (const std::optional<Batch> chosen = ChosenBatch(); chosen && cmdEditBatch->isEnabled())
        EditBatch(*chosen);
}

// Until the batch is saved or the user cancels: a change that could not be saved is told, and
// the dialog comes back with what the user typed.
void frmCellar::EditBatch(Batch batch)
{
    QStringList names;
    for (const Batch& b : Book->batches(true).list)
        if (b.id != batch.id)
            names << b.name;
    for (;;) {
        frmBatch dialog(batch, names, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        batch = dialog.Result();
        const Failure failure = Book->save(batch);
        Saved(failure, batch.id);
        if (!failure)
            return;
    }
}

void frmCellar::cmdArchiveBatch_Click()
{
    std::optional<Batch> batch = ChosenBatch();
    if (!batch)
        return;
    batch->archived = !batch->archived;
    const Failure failure = Book->save(*batch);
    Saved(failure, batch->id);
}

void frmCellar::cmdDeleteBatch_Click()
{
    const std::optional<Batch> batch = ChosenBatch();
    if (!batch)
        return;
    const qsizetype count = Entries.size();
    const QString entries = count == 0   ? QStringLiteral("It has no entries.")
                            : count == 1 ? QStringLiteral("Its 1 entry is deleted with it.")
                                         : QStringLiteral("Its %1 entries are deleted with it.")
                                               .arg(NumberLocale().toString(count));
    if (!AskToDelete(QStringLiteral("Delete the batch \"%1\"? %2 This cannot be undone.")
                         .arg(batch->name, entries)))
        return;
    Saved(Book->remove(*batch), 0);
}

void frmCellar::cmdAddMeasurement_Click()
{
    AddEntry(EntryKind::Measurement);
}

void frmCellar::cmdAddAddition_Click()
{
    AddEntry(EntryKind::Addition);
}

// A new entry starts now, at the batch's volume of its newest entry (or the batch's own), an
// addition with what the last addition used.
void frmCellar::AddEntry(EntryKind kind)
{
    const std::optional<Batch> batch = ChosenBatch();
    if (!batch)
        return;
    Entry entry;
    entry.batchId = batch->id;
    entry.kind = kind;
    entry.at = cellar::Now();
    entry.volume = Entries.isEmpty() ? batch->volume : Entries.first().volume;
    for (const Entry& e : Entries)
        if (kind == EntryKind::Addition && e.kind == EntryKind::Addition) {
            std::tie(entry.compound, entry.form, entry.strength, entry.amountUnit) =
                std::tuple(e.compound, e.form, e.strength, e.amountUnit);
            break;
        }
    EditEntry(entry);
}

void frmCellar::cmdEditEntry_Click()
{
    if (const std::optional<Entry> entry = ChosenEntry(); entry && cmdEditEntry->isEnabled())
        EditEntry(*entry);
}

void frmCellar::EditEntry(Entry entry)
{
    const std::optional<Batch> batch = ChosenBatch();
    for (;;) {
        frmEntry dialog(*batch, entry, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        entry = dialog.Result();
        const Failure failure = Book->save(entry);
        Saved(failure, batch->id);
        if (!failure)
            return;
    }
}

void frmCellar::cmdDeleteEntry_Click()
{
    const std::optional<Entry> entry = ChosenEntry();
    if (!entry)
        return;
    const QString kind = entry->kind == EntryKind::Measurement ? QStringLiteral("measurement")
                                                               : QStringLiteral("addition");
    if (!AskToDelete(
            QStringLiteral("Delete the %1 of %2?").arg(kind, cellar::ShownTime(entry->at))))
        return;
    Saved(Book->remove(*entry), ChosenBatch()->id);
}

void frmCellar::RecordAddition(const CalculatedAddition& addition)
{
    show();
    raise();
    activateWindow();
    if (!Book->readOnlyReason().isEmpty())
        return Tell(QStringLiteral("%1 can only be read: %2.")
                        .arg(QDir::toNativeSeparators(Book->location()), Book->readOnlyReason()));
    const QList<Batch> batches = Book->batches(false).list;
    if (batches.isEmpty())
        return Tell(QStringLiteral("The cellar book has no batch to record the addition into: "
                                   "add one first."));
    const std::optional<Batch> chosen = ChosenBatch();
    frmRecord dialog(addition, batches, chosen ? chosen->id : 0, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    Entry entry = dialog.Result();
    const Failure failure = Book->save(entry);
    PendingRecorded = !failure; // it is in the entries now, not still to come
    Saved(failure, entry.batchId);
}

// Never silently: the user sees the values and what they replace before anything changes.
void frmCellar::cmdUseInMain_Click()
{
    const std::optional<Batch> batch = ChosenBatch();
    if (!batch)
        return;
    const auto measured = std::find_if(Entries.begin(), Entries.end(), [](const Entry& e) {
        return e.kind == EntryKind::Measurement && e.ph && e.freeSO2;
    });
    if (measured == Entries.end())
        return Tell(QStringLiteral("\"%1\" has no measurement of pH and free SO2 to use.")
                        .arg(batch->name));
    const double volume = Entries.first().volume;
    if (!Ask(QStringLiteral("Fill the main window with the batch size %1 %2, pH %3 and existing "
                            "SO2 %4 mg/L, measured %5? What the main window holds in these "
                            "fields is replaced.")
                 .arg(cellar::Shown(volume), ListText(batch->unit), cellar::Shown(measured->ph),
                      cellar::Shown(measured->freeSO2), cellar::ShownTime(measured->at))))
        return;
    Main.FillBatch(volume, batch->unit, *measured->ph, *measured->freeSO2);
    Main.activateWindow();
}

namespace {

QString CsvFilter()
{
    return QStringLiteral("CSV files (*.csv)");
}

} // namespace

void frmCellar::cmdExport_Click()
{
    const std::optional<Batch> chosen = ChosenBatch();
    const Records<Batch> all = Book->batches(true);
    frmExport choice(chosen ? chosen->name : QString(), all.list.size(), this);
    if (choice.exec() != QDialog::Accepted)
        return;
    QList<BatchRecords> records;
    Failure failure = all.failure;
    for (const Batch& batch : choice.WholeCellar() ? all.list : QList{*chosen}) {
        const Records<Entry> entries = Book->entries(batch.id);
        failure = failure ? failure : entries.failure;
        records << BatchRecords{batch, entries.list};
    }
    if (failure)
        return Tell(*failure);
    if (CsvFolder.isEmpty())
        CsvFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QFileDialog dialog(this, QStringLiteral("Export as CSV"), CsvFolder, CsvFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile((choice.WholeCellar() ? QStringLiteral("Cellar book") : chosen->name) +
                      QStringLiteral(".csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    CsvFolder = QFileInfo(path).absolutePath();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(WriteCsv(records, choice.Layout())) < 0 ||
        !file.commit())
        Tell(QStringLiteral("The CSV could not be saved as %1: %2")
                 .arg(QDir::toNativeSeparators(path), file.errorString()));
}

// Nothing is added before the user has seen what comes in, and all of it comes in or none.
void frmCellar::cmdImport_Click()
{
    if (CsvFolder.isEmpty())
        CsvFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QFileDialog dialog(this, QStringLiteral("Import CSV"), CsvFolder, CsvFilter());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    CsvFolder = QFileInfo(path).absolutePath();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Tell(QStringLiteral("%1 cannot be read: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    CsvContents read = ReadCsv(file.readAll());
    if (!read.error.isEmpty())
        return Tell(QStringLiteral("%1 cannot be imported, %2 Nothing was imported.")
                        .arg(QDir::toNativeSeparators(path), read.error));
    QStringList taken;
    for (const Batch& b : Book->batches(true).list)
        taken << b.name;
    const int renamed = GiveFreeNames(read.batches, taken);
    qsizetype entries = 0;
    for (const BatchRecords& b : read.batches)
        entries += b.entries.size();
    const QLocale numbers = NumberLocale();
    QString question =
        QStringLiteral("Import %1 %2 with %3 %4 from %5? %6 added beside the batches in the "
                       "cellar book.")
            .arg(numbers.toString(read.batches.size()),
                 read.batches.size() == 1 ? QStringLiteral("batch") : QStringLiteral("batches"),
                 numbers.toString(entries),
                 entries == 1 ? QStringLiteral("entry") : QStringLiteral("entries"),
                 QDir::toNativeSeparators(path),
                 read.batches.size() == 1 ? QStringLiteral("It is") : QStringLiteral("They are"));
    if (renamed > 0)
        question += renamed == 1
                        ? QStringLiteral(" One gets a number after its name, as the name is taken.")
                        : QStringLiteral(" %1 get a number after their names, as the names are "
                                         "taken.")
                              .arg(numbers.toString(renamed));
    if (read.batches.isEmpty())
        return Tell(
            QStringLiteral("%1 holds no batch to import.").arg(QDir::toNativeSeparators(path)));
    if (!Ask(question))
        return;
    const Failure failure = Book->saveAll(read.batches);
    Saved(failure, read.batches.constFirst().batch.id);
}
