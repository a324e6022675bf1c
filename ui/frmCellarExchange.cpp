#include "core/numbers.h"
#include "storage/cellar_csv.h"
#include "ui/cellarForms.h"
#include "ui/cellarTexts.h"
#include "ui/frmCellar.h"
#include "ui/frmExport.h"
#include "ui/frmRecord.h"
#include "ui/frmSulfite.h"

#include <QDir>
#include <QFileDialog>
#include <QSaveFile>
#include <QStandardPaths>

using namespace ardovin;
using namespace cellarForms;

namespace {

QString CsvFilter()
{
    return QStringLiteral("CSV files (*.csv)");
}

} // namespace

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
    QString question =
        QStringLiteral("Import %1 with %2 from %3? %4 added beside the batches in the cellar book.")
            .arg(cellar::Count(read.batches.size(), "batch", "batches"),
                 cellar::Count(entries, "entry", "entries"), QDir::toNativeSeparators(path),
                 read.batches.size() == 1 ? QStringLiteral("It is") : QStringLiteral("They are"));
    if (renamed > 0)
        question += renamed == 1
                        ? QStringLiteral(" One gets a number after its name, as the name is taken.")
                        : QStringLiteral(" %1 get a number after their names, as the names are "
                                         "taken.")
                              .arg(NumberLocale().toString(renamed));
    if (read.batches.isEmpty())
        return Tell(
            QStringLiteral("%1 holds no batch to import.").arg(QDir::toNativeSeparators(path)));
    if (!Ask(question))
        return;
    const Failure failure = Book->saveAll(read.batches);
    Saved(failure, read.batches.constFirst().batch.id);
}
