#pragma once

#include "storage/cellar.h"

#include <QByteArray>
#include <QLocale>

namespace ardovin {

// The cellar book as CSV: one row an entry (a batch with none has a row of its own), the batch's
// columns repeated on each, after a header that names every column with its unit. UTF-8, times
// in UTC and ISO 8601. A text cell that a spreadsheet would take for a formula is written with
// an apostrophe before it, which reading takes away again.
enum class CsvLayout {
    Interchange, // RFC 4180: commas, a point for decimals, whatever the locale
    Spreadsheet, // the locale's: semicolons where it writes decimal commas, then its decimal mark
};

QByteArray WriteCsv(const QList<BatchRecords>& batches, CsvLayout layout,
                    const QLocale& locale = QLocale());

// What a CSV holds, or why it is refused: the line and the reason. Either layout is read, in
// any locale.
struct CsvContents
{
    QList<BatchRecords> batches;
    QString error; // empty when read whole
};
CsvContents ReadCsv(const QByteArray& bytes);

// Renames each imported batch whose name is taken, by the cellar or an earlier one of them,
// with the first free number after it: "Merlot 2026 (2)". Returns how many were renamed.
int GiveFreeNames(QList<BatchRecords>& imported, QStringList taken);

} // namespace ardovin
