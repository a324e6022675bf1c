#include "ui/frmCellar.h"

#include "core/numbers.h"
#include "settings/last_cellar.h"
#include "ui/cellarForms.h"
#include "ui/cellarOpen.h"
#include "ui/cellarTexts.h"
#include "ui/frmBatch.h"
#include "ui/frmEntry.h"
#include "ui/frmSharedCellar.h"
#include "ui/frmSulfite.h"

#include <QPushButton>

using namespace ardovin;
using namespace cellarForms;

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
    Batch read = batch;
    for (;;) {
        frmBatch dialog(batch, names, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        batch = dialog.Result();
        const Failure failure = Book->save(batch);
        if (!TakeNewerVersion(failure, read, batch))
            Saved(failure, batch.id);
        if (!failure)
            return;
    }
}

namespace {

// The record as it is stored now, where it still is.
std::optional<Batch> StoredNow(const Cellar& book, const Batch& batch)
{
    for (const Batch& b : book.batches(true).list)
        if (b.id == batch.id)
            return b;
    return std::nullopt;
}
std::optional<Entry> StoredNow(const Cellar& book, const Entry& entry)
{
    for (const Entry& e : book.entries(entry.batchId).list)
        if (e.id == entry.id)
            return e;
    return std::nullopt;
}

QString ChangedBetween(const Batch& before, const Batch& after)
{
    const QDateTime now = cellar::Now();
    return cellar::ChangedCells(cellar::BatchHeader(), cellar::BatchCells(before, now),
                                cellar::BatchCells(after, now));
}
QString ChangedBetween(const Entry& before, const Entry& after, const Batch& batch)
{
    return cellar::ChangedCells(cellar::EntryHeader(), cellar::EntryCells(batch, before),
                                cellar::EntryCells(batch, after));
}

} // namespace

template <typename Record>
bool frmCellar::TakeNewerVersion(const Failure& failure, Record& read, Record& typed)
{
    if (!failure || read.id == 0)
        return false;
    const std::optional<Record> now = StoredNow(*Book, read);
    if (!now || now->version == read.version)
        return false;
    QString changes;
    if constexpr (std::is_same_v<Record, Batch>)
        changes = ChangedBetween(read, *now);
    else
        changes = ChangedBetween(read, *now, *ChosenBatch());
    Tell(QStringLiteral("%1.\n\nChanged elsewhere since you opened it:\n%2\n\nWhat you typed is "
                        "kept: choose OK to save it over these changes, or Cancel to keep them.")
             .arg(*failure, changes));
    typed.version = now->version;
    read = *now;
    Reload(ChosenBatch() ? ChosenBatch()->id : 0);
    return true;
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
    Entry read = entry;
    for (;;) {
        frmEntry dialog(*batch, entry, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        entry = dialog.Result();
        const Failure failure = Book->save(entry);
        if (!TakeNewerVersion(failure, read, entry))
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

// Until a cellar opens or the user cancels: an address that cannot be opened is told, and the
// dialog comes back with what the user gave.
void frmCellar::cmdOpenShared_Click()
{
    QString error;
    const QString last = IsServerAddress(Book->location()) ? Book->location() : LastCellar();
    std::optional<ServerAddress> shown =
        IsServerAddress(last) ? ReadServerAddress(last, error) : std::nullopt;
    for (;;) {
        frmSharedCellar dialog(shown, this);
        const int outcome = dialog.exec();
        if (outcome == QDialog::Rejected)
            return;
        const bool local = outcome == frmSharedCellar::UseLocal;
        const QString location = local ? Main.LocalCellarPath() : dialog.Address().text();
        if (std::unique_ptr<Cellar> cellar = cellarOpen::Open(location, this)) {
            UseCellar(std::move(cellar));
            if (!RememberCellar(local ? QString() : location))
                Tell(QStringLiteral("The cellar book could not note which cellar it opened: it "
                                    "opens the one it opened before next time."));
            return;
        }
        if (local)
            return; // the cellar book shown stays open
        shown = dialog.Address();
    }
}
