// The cellar book as CSV: what is written is the approved file byte for byte, reads back as it
// was in every locale and both layouts, and a file that is not ours or is damaged is refused
// with its line and reason.
#include "storage/cellar_csv.h"
#include "tests/support.h"

using namespace ardovin;

namespace {

// Two batches whose texts a CSV or a spreadsheet could get wrong, and an empty one.
QList<BatchRecords> SampleCellar()
{
    BatchRecords merlot;
    merlot.batch.name = QStringLiteral("Merlot 2026, \"Tank 3\"");
    std::tie(merlot.batch.volume, merlot.batch.residualSugar, merlot.batch.rules) =
        std::tuple(225.5, 2.0, LegalRules::EU);
    Entry measured;
    measured.at = QDateTime(QDate(2026, 12, 1), QTime(9, 30), Qt::UTC);
    std::tie(measured.volume, measured.ph, measured.freeSO2, measured.totalSO2) =
        std::tuple(225.5, 3.55, 18.0, 95.25);
    measured.method = QStringLiteral("=HYPERLINK(\"http://example.invalid\")");
    measured.note = QStringLiteral("after racking;\nfirst line\r\nsecond, 'quoted'");
    Entry added;
    added.kind = EntryKind::Addition;
    added.at = QDateTime(QDate(2026, 12, 1), QTime(10, 0, 0, 125), Qt::UTC);
    std::tie(added.volume, added.ph, added.freeSO2) = std::tuple(225.5, 3.55, 18.0);
    std::tie(added.compound, added.form, added.strength, added.amount, added.amountUnit,
             added.so2Added) =
        std::tuple(SulphiteSource::SodiumMetabisulphite, SourceForm::Solution, 10.0, 100.0,
                   AdditionUnit::Millilitres, 2.9954592227935791);
    added.note = QStringLiteral("-2 g spilt, @cellar, +1, 'quoted, ' leading");
    merlot.entries = {added, measured};
    BatchRecords riesling;
    riesling.batch.name = QStringLiteral("'Riesling' Spätlese");
    std::tie(riesling.batch.volume, riesling.batch.unit, riesling.batch.colour, riesling.batch.type,
             riesling.batch.residualSugar, riesling.batch.molecularTarget,
             riesling.batch.archived) =
        std::tuple(60, BatchUnit::USGallon, WineColour::White, WineType::Liqueur, 45.5, 0.85, true);
    BatchRecords empty;
    empty.batch.name = QStringLiteral(" Rosé ");
    std::tie(empty.batch.volume, empty.batch.colour, empty.batch.rules) =
        std::tuple(1e-3, WineColour::Rose, LegalRules::Australia);
    return {merlot, riesling, empty};
}

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT

private slots:
    // The bytes of each layout, as approved in tests/storage/csv.
    void written_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("spreadsheet");
        QTest::newRow("interchange in German") << "de_DE" << false;
        QTest::newRow("spreadsheet in German") << "de_DE" << true;
        QTest::newRow("spreadsheet in American English") << "en_US" << true;
    }

    void written()
    {
        QFETCH(QString, locale);
        QFETCH(bool, spreadsheet);
        const CsvLayout layout = spreadsheet ? CsvLayout::Spreadsheet : CsvLayout::Interchange;
        const QString name = QString(QTest::currentDataTag()).replace(u' ', u'-') + ".csv";
        const QByteArray csv = WriteCsv(SampleCellar(), layout, QLocale(locale));
        if (csv != ReadFile(ARDOVIN_TESTS "/storage/csv/" + name)) {
            QVERIFY(WriteFile(QDir::temp().filePath(name), csv));
            QFAIL(qPrintable(name + " differs from the approved file: see " +
                             QDir::temp().filePath(name)));
        }
    }

    // Whatever the locale writes numbers as, both layouts read back to the same records.
    void roundTripInEveryLocale()
    {
        const QList<BatchRecords> cellar = SampleCellar();
        for (const QLocale& locale : QLocale::matchingLocales(
                 QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory))
            for (const CsvLayout layout : {CsvLayout::Interchange, CsvLayout::Spreadsheet}) {
                const CsvContents read = ReadCsv(WriteCsv(cellar, layout, locale));
                QVERIFY2(read.error.isEmpty() && read.batches == cellar,
                         qPrintable(locale.name() + u' ' + read.error));
            }
    }

    // Imported batches beside the cellar's: a taken name gets the first free number.
    void freeNames()
    {
        QList<BatchRecords> imported(4);
        for (const auto& [i, name] :
             {std::pair(0, "Merlot"), {1, "Syrah"}, {2, "Merlot"}, {3, "Merlot (2)"}})
            imported[i].batch.name = QString::fromUtf8(name);
        QCOMPARE(GiveFreeNames(imported, {"Merlot", "Merlot (3)"}), 3);
        QStringList names;
        for (const BatchRecords& b : imported)
            names << b.batch.name;
        QCOMPARE(names, (QStringList{"Merlot (2)", "Syrah", "Merlot (4)", "Merlot (2) (2)"}));
    }

    // Files that are not ours, or are damaged: the line and the reason, and nothing read.
    void refused_data() { AddRows({"file", "reason"}, ARDOVIN_TESTS "/storage/csv/refused.rows"); }

    void refused()
    {
        auto [file, reason] = Cells("file", "reason");
        const QByteArray header = WriteCsv({}, CsvLayout::Interchange).trimmed();
        const QByteArray bytes = file.replace("<header>", QString::fromUtf8(header))
                                     .replace("\\n", "\n")
                                     .replace("\\t", "\t")
                                     .toUtf8()
                                     .replace("<latin1>", "\xE9t\xE9");
        const CsvContents read = ReadCsv(bytes);
        QCOMPARE(read.error, reason);
        QCOMPARE(read.batches.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCsv)
#include "test_csv.moc"
