// The cellar book at the size of a large cellar, 200 batches of 500 entries each, in a file on
// the disk: opening it and showing the batches with the first one's entries (aim: under 150 ms),
// and saving one entry, on the disk before it is reported saved (aim: under 10 ms). The file
// lies in the temporary folder (TMPDIR), which must be on the disk to be timed. Given a shared
// cellar on a local server (ARDOVIN_BENCH_CELLAR, empty), the same there (aims: 300 and 20 ms).
#include "storage/cellar.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

using namespace ardovin;

namespace {

constexpr int Batches = 200, EntriesEach = 500;

// A measurement or an addition by turns, as a season's records hold them.
Entry Numbered(qint64 batchId, int n)
{
    Entry e;
    e.batchId = batchId;
    e.at = QDateTime(QDate(2025, 9, 1), QTime(8, 0), Qt::UTC).addSecs(3600 * 7 * n);
    e.volume = 225;
    e.note = QStringLiteral("racked, topped up");
    if (n % 2) {
        e.kind = EntryKind::Measurement;
        std::tie(e.ph, e.freeSO2, e.totalSO2) = std::tuple(3.4, 20.0 + n % 9, 80.0 + n % 30);
        e.method = QStringLiteral("aeration-oxidation");
    } else {
        e.kind = EntryKind::Addition;
        std::tie(e.compound, e.form) =
            std::tuple(SulphiteSource::PotassiumMetabisulphite, SourceForm::Powder);
        std::tie(e.amount, e.amountUnit, e.so2Added) = std::tuple(5.0, AdditionUnit::Grams, 12.8);
    }
    return e;
}

// The shared cellar the bench is given (ARDOVIN_BENCH_CELLAR, an empty one on a server), else a
// file of its own.
QString Location()
{
    static QTemporaryDir disk;
    const QString shared = qEnvironmentVariable("ARDOVIN_BENCH_CELLAR");
    return shared.isEmpty() ? disk.filePath(QStringLiteral("cellar.sqlite")) : shared;
}

std::unique_ptr<Cellar> Open(const QString& location, QString& error)
{
    OpenFailure failure;
    auto cellar = OpenCellar(location, {}, failure);
    error = failure.reason;
    return cellar;
}

// The large cellar, built once through the cellar itself so that it holds what Ardovin writes,
// a batch with its entries a transaction. Empty, with the reason on the error output, where it
// cannot be built.
QString LargeCellar()
{
    static const QString path = []() -> QString {
        const QString file = Location();
        QElapsedTimer timer;
        timer.start();
        QString error;
        auto cellar = Open(file, error);
        for (int b = 0; cellar && b < Batches && error.isEmpty(); ++b) {
            QList<BatchRecords> records(1);
            records[0].batch.name = QStringLiteral("Batch %1").arg(b, 3, 10, QLatin1Char('0'));
            records[0].batch.volume = 225;
            for (int n = 0; n < EntriesEach; ++n)
                records[0].entries << Numbered(0, n);
            error = cellar->saveAll(records).value_or(QString());
        }
        if (!error.isEmpty()) {
            std::fprintf(stderr, "The large cellar could not be built: %s\n", qPrintable(error));
            return {};
        }
        if (!cellar) {
            std::fprintf(stderr, "The large cellar could not be opened: %s\n", qPrintable(error));
            return {};
        }
        cellar.reset(); // a file's log folded into it
        std::printf("Large cellar %s built in %.1f s\n", qPrintable(file),
                    timer.elapsed() / 1000.0);
        return file;
    }();
    return path;
}

void BM_OpenAndShowFirstBatch(benchmark::State& state)
{
    const QString path = LargeCellar();
    for (auto _ : state) {
        QString error;
        auto cellar = Open(path, error);
        const Records<Batch> batches = cellar ? cellar->batches(false) : Records<Batch>();
        const Records<Entry> entries =
            cellar ? cellar->entries(batches.list.value(0).id) : Records<Entry>();
        if (batches.list.size() != Batches || entries.list.size() < EntriesEach) {
            state.SkipWithError(qPrintable(error + batches.failure.value_or(QString())));
            break;
        }
        state.PauseTiming(); // closing is the program's end, not its start
        cellar.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenAndShowFirstBatch)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveOneEntry(benchmark::State& state)
{
    QString error;
    const QString path = LargeCellar();
    auto cellar = path.isEmpty() ? nullptr : Open(path, error);
    const qint64 batchId = cellar ? cellar->batches(false).list.value(0).id : 0;
    int n = EntriesEach;
    for (auto _ : state) {
        Entry entry = Numbered(batchId, ++n);
        const Failure failure =
            cellar ? cellar->save(entry) : Failure(QStringLiteral("No cellar: %1").arg(error));
        if (failure) {
            state.SkipWithError(qPrintable(*failure));
            break;
        }
    }
}
BENCHMARK(BM_SaveOneEntry)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("ARDOVIN_BENCH_CELLAR"))
        std::printf("Aims: opening and showing the first batch under 150 ms; saving one entry "
                    "under 10 ms\n");
    else
        std::printf("Aims, on a server: opening and showing the first batch under 300 ms; saving "
                    "one entry under 20 ms\n");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
