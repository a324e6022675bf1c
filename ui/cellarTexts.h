#pragma once

#include "core/legal.h"
#include "core/numbers.h"
#include "storage/cellar.h"

#include <functional>
#include <QDateTime>
#include <QStringList>

// The cellar book's records as the windows show them, in the user's locale and time zone. No
// widget here: the windows only place these texts.
namespace cellar {

using ardovin::Count;

// The time now; tests set a clock of their own.
QDateTime Now();
void SetClock(std::function<QDateTime()> clock);

// A batch not measured for this many local days is marked for measuring again.
inline constexpr qint64 MeasureAgainDays = 30;

// Local days from one time to the other: a measurement at 23:00 is one day old at 01:00.
qint64 LocalDaysBetween(const QDateTime& from, const QDateTime& to);
// "Measured today.", "Last measured 12 days ago.", "Not measured yet."; from 30 days on, the
// advice to measure again.
QString SinceMeasuredText(const std::optional<QDateTime>& last, const QDateTime& now);

// A date and time in the user's locale and time zone, the year in full.
QString DateTimeFormat();
QString ShownTime(const QDateTime& at);
// A time as ShownTime writes it, read back in UTC; invalid where it does not read.
QDateTime ReadTime(const QString& text);

// The batch list's columns and one batch's cells.
QStringList BatchHeader();
inline const QList<int> BatchNumberColumns{1, 3, 5};
QStringList BatchCells(const ardovin::Batch& batch, const QDateTime& now);

// The entry table's columns and one entry's cells.
QStringList EntryHeader();
// What another client changed in a record, a line a column: "Volume: 225 L → 220 L".
QString ChangedCells(const QStringList& header, const QStringList& before,
                     const QStringList& after);
inline const QList<int> EntryNumberColumns{2, 3, 4, 5, 7, 8};
QStringList EntryCells(const ardovin::Batch& batch, const ardovin::Entry& entry);

// The molecular SO2 of a measurement, from its free SO2 and pH.
std::optional<double> MolecularSO2(const ardovin::Entry& entry);

// What the history chart shows, in words for a screen reader.
QString HistoryDescription(const ardovin::Batch& batch, const QList<ardovin::Entry>& entries);

// The batch's legal limit of total SO2, if its rules model its wine, and what the cellar book
// says of it.
std::optional<ardovin::LegalLimitRow> LimitOf(const ardovin::Batch& batch);
QString LimitText(const ardovin::Batch& batch);

// The total SO2 the batch may hold now, from its last measured total, the additions since and
// the addition the main window shows (pending, in mg/L for this batch): an upper estimate, as
// SO2 is lost over time. A warning where it passes the batch's limit, naming the rule and row.
struct Projection
{
    QString text;
    bool warning = false;
};
Projection ProjectTotal(const ardovin::Batch& batch, const QList<ardovin::Entry>& entries,
                        std::optional<double> pending);

// A number as the main window shows it: two decimals in the user's locale; none is empty.
QString Shown(std::optional<double> value);

} // namespace cellar
