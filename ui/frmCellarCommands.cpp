#include "ui/frmCellar.h"

#include "core/numbers.h"
#include "ui/cellarForms.h"
#include "ui/cellarTexts.h"
#include "ui/frmBatch.h"
#include "ui/frmEntry.h"

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
