#pragma once
// The records cellar_writer saves, built from its tag and a count, so that a test knows the
// values of each one the writer reported saved.
#include "storage/cellar.h"

namespace ardovin {

// The entries a writer's batch is first saved with, all in one transaction.
constexpr int FirstEntries = 3;

inline Batch WriterBatch(const QString& tag)
{
    Batch b;
    b.name = tag;
    b.volume = 1000;
    b.unit = BatchUnit::ImperialGallon;
    b.colour = WineColour::White;
    b.residualSugar = 4.5;
    b.rules = LegalRules::OIV;
    b.molecularTarget = 0.6;
    return b;
}

// An addition, every field of its own: a measurement would change how its batch reads back, by
// when it was last measured, which no writer reports.
inline Entry WriterEntry(qint64 batchId, const QString& tag, int n)
{
    Entry e;
    e.batchId = batchId;
    e.at = QDateTime(QDate(2026, 10, 1), QTime(6, 0), Qt::UTC).addSecs(61 * n);
    e.kind = EntryKind::Addition;
    e.volume = 1000 - n / 8.0;
    e.note = QStringLiteral("%1, \"addition\" %2").arg(tag).arg(n);
    e.compound = n % 2 ? SulphiteSource::SodiumMetabisulphite : SulphiteSource::SodiumBisulphite;
    std::tie(e.form, e.strength) = std::tuple(SourceForm::Solution, 10.0 + n % 7);
    std::tie(e.amount, e.amountUnit, e.so2Added) =
        std::tuple(n / 10.0, AdditionUnit::Millilitres, n / 7.0);
    return e;
}

} // namespace ardovin
