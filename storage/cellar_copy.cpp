#include "storage/cellar_copy.h"

#include "core/numbers.h"
#include "storage/cellar_csv.h"

namespace ardovin {

namespace {

struct Counts
{
    qsizetype batches = 0, entries = 0;
    bool operator==(const Counts&) const = default;
};

QString Said(Counts counts)
{
    return QStringLiteral("%1 with %2")
        .arg(Count(counts.batches, "batch", "batches"), Count(counts.entries, "entry", "entries"));
}

} // namespace

CopyReport CopyCellar(const Cellar& from, Cellar& to)
{
    const Records<Batch> batches = from.batches(true);
    if (batches.failure)
        return {false, *batches.failure};
    QList<BatchRecords> copies;
    Counts original;
    for (Batch batch : batches.list) {
        const Records<Entry> entries = from.entries(batch.id);
        if (entries.failure)
            return {false, *entries.failure};
        std::tie(batch.id, batch.version, batch.lastMeasured) = std::tuple(0, 0, std::nullopt);
        copies << BatchRecords{batch, entries.list};
        for (Entry& e : copies.last().entries)
            std::tie(e.id, e.version, e.batchId) = std::tuple(0, 0, 0);
        original.batches += 1;
        original.entries += entries.list.size();
    }
    QStringList taken;
    const Records<Batch> there = to.batches(true);
    if (there.failure)
        return {false, *there.failure};
    for (const Batch& b : there.list)
        taken << b.name;
    const int renamed = GiveFreeNames(copies, taken);
    if (const Failure failure = to.saveAll(copies))
        return {false, *failure + QStringLiteral(" Nothing was copied.")};
    // Read back from where they now are, each copy by the id it was given.
    Counts copied;
    const Records<Batch> after = to.batches(true);
    for (const BatchRecords& copy : copies)
        for (const Batch& b : after.list)
            if (b.id == copy.batch.id) {
                copied.batches += 1;
                copied.entries += to.entries(b.id).list.size();
            }
    QString message = QStringLiteral("Copied %1 from %2 to %3.")
                          .arg(Said(original), from.location(), to.location());
    if (renamed == 1)
        message += QStringLiteral(" One of them took a number after its name, as the name was "
                                  "taken.");
    else if (renamed > 1)
        message += QStringLiteral(" %1 of them took a number after their names, as the names were "
                                  "taken.")
                       .arg(renamed);
    if (copied != original)
        return {false, message + QStringLiteral(" But %1 now holds %2 of them: compare the two "
                                                "before using it.")
                                     .arg(to.location(), Said(copied))};
    return {true, message + QStringLiteral(" Read back from %1: %2, as in %3.")
                                .arg(to.location(), Said(copied), from.location())};
}

} // namespace ardovin
