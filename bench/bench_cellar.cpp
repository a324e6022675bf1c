// Opening the cellar book from the Tools menu on a cellar of 200 batches with 500 entries each
// (100,000 entries), until the window is on the screen with the first batch's history: the
// file opened, the batches listed, the first batch's entries in the table and on the chart.
#include "settings/settings_format.h"
#include "storage/cellar.h"
#include "ui/frmSulfite.h"
#include "ui/modProc.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWindow>

using namespace ardovin;

namespace {

constexpr int Batches = 200;
constexpr int EntriesPerBatch = 500;

// The cellar, made once: the shared cellar the bench is given (ARDOVIN_BENCH_CELLAR, on a local
// server), else a file on the disk where the build lies rather than in memory.
QString FullCellar(const QTemporaryDir& folder)
{
    QString path = qEnvironmentVariable("ARDOVIN_BENCH_CELLAR");
    if (path.isEmpty())
        path = folder.filePath(QStringLiteral("cellar.sqlite"));
    OpenFailure failure;
    std::unique_ptr<Cellar> cellar = OpenCellar(path, {}, failure);
    if (!cellar)
        qFatal("%s", qPrintable(failure.reason));
    if (!cellar->batches(true).list.isEmpty())
        return path; // filled by an earlier bench

    const QDateTime start(QDate(2024, 1, 1), QTime(8, 0), Qt::UTC);
    for (int b = 0; b < Batches; ++b) {
        Batch batch;
        batch.name = QStringLiteral("Tank %1").arg(b + 1, 3, 10, QLatin1Char('0'));
        batch.volume = 1000;
        QList<Entry> entries;
        for (int e = 0; e < EntriesPerBatch; ++e) {
            Entry entry;
            entry.at = start.addSecs(qint64(e) * 36 * 3600);
            entry.kind = e % 2 ? EntryKind::Addition : EntryKind::Measurement;
            entry.volume = 1000;
            if (entry.kind == EntryKind::Measurement) {
                std::tie(entry.ph, entry.freeSO2, entry.totalSO2) =
                    std::tuple(3.4 + e % 7 * 0.02, 20.0 + e % 13, 80.0 + e % 29);
            } else {
                std::tie(entry.compound, entry.form, entry.amount, entry.amountUnit,
                         entry.so2Added) =
                    std::tuple(SulphiteSource::PotassiumMetabisulphite, SourceForm::Powder, 30.0,
                               AdditionUnit::Grams, 17.29);
            }
            entries << entry;
        }
        QList<BatchRecords> records{{batch, entries}};
        if (const Failure failure = cellar->saveAll(records))
            qFatal("%s", qPrintable(*failure));
    }
    return path;
}

void WaitUntilExposed(const QWidget& window)
{
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_OpenFullCellar(benchmark::State& state)
{
    const QTemporaryDir folder(QDir::currentPath() + QStringLiteral("/cellar-XXXXXX"));
    const QString path = FullCellar(folder);
    QFile settings(folder.filePath(QStringLiteral("settings.cfg")));
    if (!settings.open(QIODevice::WriteOnly) ||
        settings.write(SettingsFileBytes(UserDefaults())) < 0)
        qFatal("no settings.cfg");
    settings.close();
    for (auto _ : state) {
        state.PauseTiming();
        frmSulfite main(folder.path(), folder.filePath(QStringLiteral("ardovin.lock")));
        main.SetCellarPath(path);
        main.Form_Load();
        main.show();
        WaitUntilExposed(main);
        state.ResumeTiming();
        main.findChild<QAction*>(QStringLiteral("mnuToolsCellar"))->trigger();
        auto* book = main.findChild<QWidget*>(QStringLiteral("frmCellar"));
        if (!book)
            qFatal("the cellar book did not open");
        WaitUntilExposed(*book);
        state.PauseTiming();
        main.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenFullCellar)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    modProc::SetMessageHandler([](const modProc::MessageRequest& request) {
        qFatal("unexpected message: %s", qPrintable(request.text));
        return modProc::Answer::Ok;
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    modProc::SetMessageHandler({});
    return 0;
}
