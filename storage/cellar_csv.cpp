#include "storage/cellar_csv.h"

#include <cmath>
#include <QHash>
#include <QStringList>

namespace ardovin {

namespace {

// The columns, in order; the first nine describe the batch.
const QStringList Header{
    "Batch",
    "Batch volume",
    "Batch volume unit",
    "Colour",
    "Kind of wine",
    "Residual sugar (g/L)",
    "Legal rules",
    "Molecular SO2 target (mg/L)",
    "Archived",
    "Date and time (UTC, ISO 8601)",
    "Entry",
    "Volume at that date (batch volume unit)",
    "pH",
    "Free SO2 (mg/L)",
    "Total SO2 (mg/L)",
    "Method",
    "Compound",
    "Form",
    "Solution strength (%) or tablet weight (g)",
    "Amount",
    "Amount unit",
    "SO2 added (mg/L)",
    "Note",
};
constexpr qsizetype BatchColumns = 9;
enum Column {
    Name,
    BatchVolume,
    Unit,
    Colour,
    Type,
    Sugar,
    Rules,
    Target,
    Archived,
    At,
    Kind,
    Volume,
    Ph,
    Free,
    Total,
    Method,
    Compound,
    Form,
    Strength,
    Amount,
    AmountUnit,
    SO2Added,
    Note
};
constexpr const char* Yes = "yes";
constexpr const char* No = "no";
constexpr char Bom[] = "\xEF\xBB\xBF";

// What a spreadsheet would run as a formula, or take for one.
bool LooksLikeFormula(const QString& text)
{
    return !text.isEmpty() && QStringLiteral("=+-@\t\r'").contains(text[0]);
}

// The separator and decimal mark of a layout.
struct Marks
{
    QChar separator;
    QChar decimal;
};
Marks MarksOf(CsvLayout layout, const QLocale& locale)
{
    if (layout == CsvLayout::Spreadsheet && locale.decimalPoint() == QStringLiteral(","))
        return {u';', u','};
    return {u',', u'.'};
}

QString Quoted(const QString& cell, QChar separator)
{
    if (!cell.contains(separator) && !cell.contains(u'"') && !cell.contains(u'\n') &&
        !cell.contains(u'\r') && cell.trimmed() == cell)
        return cell;
    return u'"' + QString(cell).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

class Writer
{
public:
    explicit Writer(Marks marks) : M(marks) {}

    QString text(const QString& t) const { return LooksLikeFormula(t) ? u'\'' + t : t; }
    QString number(double v) const
    {
        return QLocale::c()
            .toString(v, 'g', QLocale::FloatingPointShortest)
            .replace(u'.', M.decimal);
    }
    QString number(const std::optional<double>& v) const { return v ? number(*v) : QString(); }
    template <typename Choice> QString choice(const std::optional<Choice>& c) const
    {
        return c ? ListText(*c) : QString();
    }

    QStringList batchCells(const Batch& b) const
    {
        return {text(b.name),
                number(b.volume),
                ListText(b.unit),
                QString::fromUtf8(RowOf(b.colour).savedText),
                QString::fromUtf8(RowOf(b.type).savedText),
                number(b.residualSugar),
                QString::fromUtf8(RowOf(b.rules).savedText),
                number(b.molecularTarget),
                QString::fromLatin1(b.archived ? Yes : No)};
    }
    QStringList entryCells(const Entry& e) const
    {
        return {e.at.toUTC().toString(Qt::ISODateWithMs),
                QString::fromLatin1(RowOf(e.kind).savedText),
                number(e.volume),
                number(e.ph),
                number(e.freeSO2),
                number(e.totalSO2),
                text(e.method),
                choice(e.compound),
                choice(e.form),
                number(e.strength),
                number(e.amount),
                choice(e.amountUnit),
                number(e.so2Added),
                text(e.note)};
    }
    QString line(const QStringList& cells) const
    {
        QStringList quoted;
        for (const QString& cell : cells)
            quoted << Quoted(cell, M.separator);
        return quoted.join(M.separator) + QStringLiteral("\r\n");
    }

private:
    Marks M;
};

// Splits the text into records of cells as RFC 4180 quotes them; each record keeps the line it
// starts on. A quote left open is a damaged file.
struct Record
{
    int line;
    QStringList cells;
};
QString SplitRecords(const QString& text, QChar separator, QList<Record>& records)
{
    int line = 1;
    Record record{1, {}};
    QString cell;
    bool quoted = false, wasQuoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                cell += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                line += c == u'\n';
                cell += c;
            }
        } else if (c == u'"' && cell.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == separator) {
            record.cells << std::exchange(cell, {});
            wasQuoted = false;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            record.cells << std::exchange(cell, {});
            records << std::exchange(record, Record{++line, {}});
            wasQuoted = false;
        } else if (wasQuoted) {
            return QStringLiteral("line %1: text follows a quoted cell.").arg(line);
        } else {
            cell += c;
        }
    }
    if (quoted)
        return QStringLiteral("line %1: a quote is not closed.").arg(record.line);
    if (!cell.isEmpty() || !record.cells.isEmpty()) {
        record.cells << cell;
        records << record;
    }
    return {};
}

// Reads one record's cells; the first problem is kept with its line.
class Reader
{
public:
    Reader(const Record& record, QChar decimal) : R(record), Decimal(decimal) {}

    QString problem() const { return Problem; }

    QString text(Column c) const
    {
        const QString& t = R.cells[c];
        return t.startsWith(u'\'') && LooksLikeFormula(t.mid(1)) ? t.mid(1) : t;
    }
    std::optional<double> number(Column c, bool required = false)
    {
        QString t = R.cells[c];
        if (t.isEmpty()) {
            if (required)
                fail(QStringLiteral("the column \"%1\" is empty.").arg(Header[c]));
            return std::nullopt;
        }
        if (Decimal != u'.' && t.contains(u'.'))
            t.clear(); // a point where a comma is the decimal mark is not ours
        t.replace(Decimal, u'.');
        bool ok = false;
        const double v = QLocale::c().toDouble(t, &ok);
        if (!ok || !std::isfinite(v) || v < 0) {
            fail(QStringLiteral("\"%1\" in the column \"%2\" is not a number of 0 or more.")
                     .arg(R.cells[c], Header[c]));
            return std::nullopt;
        }
        return v;
    }
    template <typename Row, std::size_t N>
    std::optional<Row> choice(Column c, const std::array<Row, N>& table, const char* Row::*member)
    {
        const auto row = RowByText(table, member, R.cells[c]);
        if (!row)
            fail(QStringLiteral("\"%1\" in the column \"%2\" is not one Ardovin knows.")
                     .arg(R.cells[c], Header[c]));
        return row;
    }
    template <typename Choice>
    std::optional<Choice> listed(Column c, std::optional<Choice> (*fromText)(const QString&),
                                 bool required)
    {
        if (R.cells[c].isEmpty() && !required)
            return std::nullopt;
        const std::optional<Choice> value = fromText(R.cells[c]);
        if (!value)
            fail(QStringLiteral("\"%1\" in the column \"%2\" is not one Ardovin knows.")
                     .arg(R.cells[c], Header[c]));
        return value;
    }
    void fail(const QString& reason)
    {
        if (Problem.isEmpty())
            Problem = QStringLiteral("line %1: %2").arg(R.line).arg(reason);
    }

    Batch batch()
    {
        Batch b;
        b.name = text(Name);
        if (b.name.trimmed().isEmpty())
            fail(QStringLiteral("the batch has no name."));
        b.volume = number(BatchVolume, true).value_or(0);
        if (b.volume <= 0)
            fail(QStringLiteral("the batch volume must be greater than 0."));
        b.unit = listed(Unit, &BatchUnitFromText, true).value_or(BatchUnit::Litre);
        b.colour = choice(Colour, Colours, &ColourRow::savedText).value_or(Colours[0]).colour;
        b.type = choice(Type, WineTypes, &WineTypeRow::savedText).value_or(WineTypes[0]).type;
        b.residualSugar = number(Sugar, true).value_or(0);
        b.rules = choice(Rules, RuleSets, &RulesRow::savedText).value_or(RuleSets[0]).rules;
        b.molecularTarget = number(Target);
        if (R.cells[Archived] != QLatin1StringView(Yes) &&
            R.cells[Archived] != QLatin1StringView(No))
            fail(QStringLiteral("the column \"Archived\" holds neither yes nor no."));
        b.archived = R.cells[Archived] == QLatin1StringView(Yes);
        return b;
    }

    bool hasEntry() const
    {
        for (qsizetype c = BatchColumns; c < R.cells.size(); ++c)
            if (!R.cells[c].isEmpty())
                return true;
        return false;
    }

    Entry entry()
    {
        Entry e;
        e.at = QDateTime::fromString(R.cells[At], Qt::ISODateWithMs);
        if (!e.at.isValid() || e.at.timeSpec() != Qt::UTC)
            fail(QStringLiteral("\"%1\" is not a time in UTC written as ISO 8601.")
                     .arg(R.cells[At]));
        const std::optional<EntryKindRow> kind =
            RowByText(EntryKinds, &EntryKindRow::savedText, R.cells[Kind]);
        if (!kind)
            fail(QStringLiteral("\"%1\" is neither a measurement nor an addition.")
                     .arg(R.cells[Kind]));
        e.kind = kind.value_or(EntryKinds[0]).kind;
        const bool measured = e.kind == EntryKind::Measurement;
        e.volume = number(Volume, true).value_or(0);
        e.ph = number(Ph, measured);
        e.freeSO2 = number(Free, measured);
        e.totalSO2 = number(Total);
        e.method = text(Method);
        e.compound = listed(Compound, &SourceFromText, !measured);
        e.form = listed(Form, &FormFromText, !measured);
        e.strength = number(Strength);
        e.amount = number(Amount, !measured);
        e.amountUnit = listed(AmountUnit, &AdditionUnitFromText, !measured);
        e.so2Added = number(SO2Added, !measured);
        e.note = text(Note);
        return e;
    }

private:
    const Record& R;
    QChar Decimal;
    QString Problem;
};

} // namespace

QByteArray WriteCsv(const QList<BatchRecords>& batches, CsvLayout layout, const QLocale& locale)
{
    const Marks marks = MarksOf(layout, locale);
    const Writer writer(marks);
    QString text = writer.line(Header);
    for (const BatchRecords& b : batches) {
        const QStringList batchCells = writer.batchCells(b.batch);
        if (b.entries.isEmpty())
            text += writer.line(batchCells + QStringList(Header.size() - BatchColumns));
        for (const Entry& e : b.entries)
            text += writer.line(batchCells + writer.entryCells(e));
    }
    // A spreadsheet takes a file for UTF-8 by its byte order mark.
    return (layout == CsvLayout::Spreadsheet ? QByteArray(Bom) : QByteArray()) + text.toUtf8();
}

CsvContents ReadCsv(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes.startsWith(Bom) ? bytes.mid(3) : bytes);
    if (text.toUtf8() != (bytes.startsWith(Bom) ? bytes.mid(3) : bytes))
        return {{}, QStringLiteral("the file is not UTF-8 text.")};
    // The header tells the layout: the same columns, split by commas or by semicolons.
    const QString firstLine = text.section(u'\n', 0, 0);
    const auto isHeader = [&firstLine](QChar separator) {
        QList<Record> header;
        return SplitRecords(firstLine, separator, header).isEmpty() && header.size() == 1 &&
               header[0].cells == Header;
    };
    const QChar separator = isHeader(u';') ? u';' : u',';
    if (!isHeader(separator))
        return {{},
                QStringLiteral("line 1: the columns are not those of a cellar book exported by "
                               "Ardovin.")};
    QList<Record> records;
    if (const QString problem = SplitRecords(text, separator, records); !problem.isEmpty())
        return {{}, problem};
    CsvContents contents;
    QHash<QString, std::pair<int, QStringList>> described; // a batch's name: its line and cells
    QHash<QString, qsizetype> position;                    // and its place in the contents
    for (qsizetype r = 1; r < records.size(); ++r) {
        const Record& record = records[r];
        if (record.cells.size() == 1 && record.cells[0].isEmpty())
            continue; // an empty line
        if (record.cells.size() != Header.size())
            return {{},
                    QStringLiteral("line %1: %2 cells where there must be %3.")
                        .arg(record.line)
                        .arg(record.cells.size())
                        .arg(Header.size())};
        Reader reader(record, separator == u';' ? u',' : u'.');
        const Batch batch = reader.batch();
        const QStringList batchCells = record.cells.mid(0, BatchColumns);
        if (const auto seen = described.constFind(batch.name); seen != described.cend()) {
            if (seen->second != batchCells)
                reader.fail(QStringLiteral("the batch \"%1\" is described otherwise on line %2.")
                                .arg(batch.name)
                                .arg(seen->first));
        } else {
            described.insert(batch.name, {record.line, batchCells});
            position.insert(batch.name, contents.batches.size());
            contents.batches << BatchRecords{batch, {}};
        }
        if (reader.hasEntry())
            contents.batches[position.value(batch.name)].entries << reader.entry();
        if (!reader.problem().isEmpty())
            return {{}, reader.problem()};
    }
    return contents;
}

int GiveFreeNames(QList<BatchRecords>& imported, QStringList taken)
{
    int renamed = 0;
    for (BatchRecords& b : imported) {
        const QString name = b.batch.name;
        for (int n = 2; taken.contains(b.batch.name); ++n)
            b.batch.name = QStringLiteral("%1 (%2)").arg(name).arg(n);
        renamed += b.batch.name != name;
        taken << b.batch.name;
    }
    return renamed;
}

} // namespace ardovin
