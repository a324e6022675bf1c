#include "ui/cellarTexts.h"

#include "core/numbers.h"

#include <QTimeZone>

using namespace ardovin;

namespace cellar {

namespace {

std::function<QDateTime()>& Clock()
{
    static std::function<QDateTime()> clock = [] { return QDateTime::currentDateTimeUtc(); };
    return clock;
}

QString AdditionText(const Entry& e)
{
    if (!e.compound || !e.form || !e.amount || !e.amountUnit)
        return {};
    QString text = QStringLiteral("%1 %2 %3 %4")
                       .arg(Shown(e.amount), ListText(*e.amountUnit), ListText(*e.compound),
                            ListText(*e.form).toLower());
    if (e.strength && *e.form == SourceForm::Solution)
        text += QStringLiteral(", %1 %").arg(Shown(e.strength));
    if (e.strength && *e.form == SourceForm::Tablet)
        text += QStringLiteral(", %1 g each").arg(Shown(e.strength));
    return text;
}

} // namespace

QDateTime Now()
{
    return Clock()();
}

void SetClock(std::function<QDateTime()> clock)
{
    Clock() = clock ? std::move(clock) : [] { return QDateTime::currentDateTimeUtc(); };
}

qint64 LocalDaysBetween(const QDateTime& from, const QDateTime& to)
{
    return from.toLocalTime().date().daysTo(to.toLocalTime().date());
}

QString SinceMeasuredText(const std::optional<QDateTime>& last, const QDateTime& now)
{
    if (!last)
        return QStringLiteral("Not measured yet.");
    const qint64 days = LocalDaysBetween(*last, now);
    if (days <= 0)
        return QStringLiteral("Measured today.");
    const QString since = QStringLiteral("Last measured %1 ago.").arg(Count(days, "day", "days"));
    return days >= MeasureAgainDays ? since + QStringLiteral(" Time to measure again.") : since;
}

QString DateTimeFormat()
{
    QString format = QLocale().dateTimeFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}

QString ShownTime(const QDateTime& at)
{
    return QLocale().toString(at.toLocalTime(), DateTimeFormat());
}

QDateTime ReadTime(const QString& text)
{
    return QLocale().toDateTime(text.simplified(), DateTimeFormat()).toUTC();
}

QString Shown(std::optional<double> value)
{
    return value ? FormatStandard(*value) : QString();
}

QStringList BatchHeader()
{
    return {QStringLiteral("Name"),         QStringLiteral("Volume"),
            QStringLiteral("Colour"),       QStringLiteral("Sugar (g/L)"),
            QStringLiteral("Legal rules"),  QStringLiteral("Molecular target (mg/L)"),
            QStringLiteral("Last measured")};
}

QStringList BatchCells(const Batch& batch, const QDateTime& now)
{
    QString measured = QStringLiteral("never");
    if (const std::optional<QDateTime>& last = batch.lastMeasured) {
        const qint64 days = LocalDaysBetween(*last, now);
        measured = days <= 0 ? QStringLiteral("today")
                             : QStringLiteral("%1 ago").arg(Count(days, "day", "days"));
        if (days >= MeasureAgainDays)
            measured += QStringLiteral(": measure again");
    }
    return {batch.name + (batch.archived ? QStringLiteral(" (archived)") : QString()),
            Shown(batch.volume) + u' ' + ListText(batch.unit),
            QString::fromUtf8(RowOf(batch.colour).listText),
            Shown(batch.residualSugar),
            QString::fromUtf8(RowOf(batch.rules).listText),
            Shown(MolecularTarget(batch.colour, batch.molecularTarget)) +
                (batch.molecularTarget ? QString() : QStringLiteral(" (usual)")),
            measured};
}

QString ChangedCells(const QStringList& header, const QStringList& before, const QStringList& after)
{
    QStringList lines;
    for (qsizetype i = 0; i < header.size(); ++i)
        if (before.value(i) != after.value(i))
            lines << QStringLiteral("%1: %2 → %3")
                         .arg(header[i],
                              before.value(i).isEmpty() ? QStringLiteral("(empty)")
                                                        : before.value(i),
                              after.value(i).isEmpty() ? QStringLiteral("(empty)")
                                                       : after.value(i));
    return lines.isEmpty() ? QStringLiteral("(nothing the tables show: it was saved again)")
                           : lines.join(u'\n');
}

QStringList EntryHeader()
{
    return {QStringLiteral("Date"),
            QStringLiteral("Entry"),
            QStringLiteral("pH"),
            QStringLiteral("Free SO2 (mg/L)"),
            QStringLiteral("Total SO2 (mg/L)"),
            QStringLiteral("Molecular SO2 (mg/L)"),
            QStringLiteral("Addition"),
            QStringLiteral("SO2 added (mg/L)"),
            QStringLiteral("Volume"),
            QStringLiteral("Method"),
            QStringLiteral("Note")};
}

QStringList EntryCells(const Batch& batch, const Entry& e)
{
    const bool measured = e.kind == EntryKind::Measurement;
    return {ShownTime(e.at),
            measured ? QStringLiteral("Measurement") : QStringLiteral("Addition"),
            Shown(e.ph),
            Shown(e.freeSO2),
            Shown(e.totalSO2),
            Shown(MolecularSO2(e)),
            AdditionText(e),
            Shown(e.so2Added),
            Shown(e.volume) + u' ' + ListText(batch.unit),
            e.method,
            e.note};
}

std::optional<double> MolecularSO2(const Entry& e)
{
    if (e.kind != EntryKind::Measurement || !e.ph || !e.freeSO2)
        return std::nullopt;
    return MolecularFromFree(float(*e.freeSO2), float(*e.ph));
}

QString HistoryDescription(const Batch& batch, const QList<Entry>& entries)
{
    QList<const Entry*> measured;
    qsizetype additions = 0;
    for (const Entry& e : entries)
        e.kind == EntryKind::Measurement ? void(measured.prepend(&e)) : void(++additions);
    QString text = QStringLiteral("SO2 history of %1: ").arg(batch.name);
    const QString target = Shown(MolecularTarget(batch.colour, batch.molecularTarget));
    if (measured.isEmpty())
        return text + QStringLiteral("no measurements, %1; molecular SO2 target %2 mg/L.")
                          .arg(Count(additions, "addition", "additions"), target);
    const Entry& first = *measured.first();
    const Entry& last = *measured.last();
    text += measured.size() == 1 ? QStringLiteral("1 measurement on %1").arg(ShownTime(first.at))
                                 : QStringLiteral("%1 measurements from %2 to %3")
                                       .arg(NumberLocale().toString(measured.size()),
                                            ShownTime(first.at), ShownTime(last.at));
    text += QStringLiteral(", %1. ").arg(Count(additions, "addition", "additions"));
    text += QStringLiteral("Last: free SO2 %1 mg/L").arg(Shown(last.freeSO2));
    if (last.totalSO2)
        text += QStringLiteral(", total SO2 %1 mg/L").arg(Shown(last.totalSO2));
    return text + QStringLiteral(", molecular SO2 %1 mg/L against a target of %2 mg/L.")
                      .arg(Shown(MolecularSO2(last)), target);
}

std::optional<LegalLimitRow> LimitOf(const Batch& batch)
{
    return LegalLimitFor(batch.rules, batch.colour, batch.type, batch.residualSugar);
}

QString LimitText(const Batch& batch)
{
    if (batch.rules == LegalRules::None)
        return QStringLiteral("No legal rules are chosen for this batch.");
    const std::optional<LegalLimitRow> limit = LimitOf(batch);
    if (!limit)
        return QStringLiteral("The %1 limits of total SO2 for %2 wines are not modelled: look "
                              "this batch's limit up in %3.")
            .arg(QString::fromUtf8(RowOf(batch.rules).listText),
                 QString::fromUtf8(RowOf(batch.type).listText).toLower(),
                 QString::fromUtf8(LegalLimits[0].source));
    return QStringLiteral("Legal limit of total SO2: %1 mg/L (%2: %3).")
        .arg(Shown(limit->limit), QString::fromUtf8(limit->source), QString::fromUtf8(limit->row));
}

Projection ProjectTotal(const Batch& batch, const QList<Entry>& entries,
                        std::optional<double> pending)
{
    const Entry* measured = nullptr;
    double addedSince = 0;
    for (const Entry& e : entries) {
        if (e.kind == EntryKind::Measurement && e.totalSO2) {
            measured = &e;
            break;
        }
        if (e.kind == EntryKind::Addition)
            addedSince += e.so2Added.value_or(0);
    }
    const QString limitText = LimitText(batch);
    if (!measured)
        return {QStringLiteral("Total SO2 has not been measured, so Ardovin cannot project it. ") +
                    limitText,
                false};
    const double projected = *measured->totalSO2 + addedSince + pending.value_or(0);
    QString text = QStringLiteral("Total SO2 %1 mg/L measured %2, %3 mg/L added since")
                       .arg(Shown(measured->totalSO2), ShownTime(measured->at), Shown(addedSince));
    text +=
        pending
            ? QStringLiteral(", %1 mg/L more with the main window's addition").arg(Shown(pending))
            : QString();
    text += QStringLiteral(": projected total SO2 at most %1 mg/L (an upper estimate, as SO2 is "
                           "lost over time). ")
                .arg(Shown(projected)) +
            limitText;
    const std::optional<LegalLimitRow> limit = LimitOf(batch);
    if (!limit || projected <= limit->limit)
        return {text, false};
    return {QStringLiteral("Warning: the projected total SO2 of %1 mg/L passes the limit of %2 "
                           "mg/L of %3, row \"%4\". ")
                    .arg(Shown(projected), Shown(limit->limit), QString::fromUtf8(limit->source),
                         QString::fromUtf8(limit->row)) +
                text,
            true};
}

} // namespace cellar
