// Saves in a cellar book as another Ardovin would, until it is killed or done, and reports each
// save only once it is acknowledged: whatever it reported must be in the file afterwards.
// Usage: cellar_writer <file or address> <tag> <entries, 0 for no end> <shared batch id>
// Saves a batch named tag with its first entries, then one entry at a time; after each of these
// the shared batch's volume is read, raised by one and saved, read afresh where the save is
// refused, as a user would do it again.
// Prints "batch <id> 0", "entry <id> <n>" and "add <id> <n>"; a failure ends it with the reason.
#include "tests/storage/cellar_writer.h"

#include <cstdio>
#include <QCoreApplication>

using namespace ardovin;

namespace {

void Report(const char* what, qint64 id, int n)
{
    std::printf("%s %lld %d\n", what, id, n);
    std::fflush(stdout);
}

int Fail(const QString& reason)
{
    std::fprintf(stderr, "%s\n", qPrintable(reason));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return Fail(QStringLiteral("usage: cellar_writer <file> <tag> <entries> <shared id>"));
    const QString tag = args[2];
    const int count = args[3].toInt();
    const qint64 shared = args[4].toLongLong();
    OpenFailure failure;
    const auto cellar = OpenCellar(args[1], QString(), failure);
    if (!cellar)
        return Fail(failure.reason);
    QList<BatchRecords> records{{WriterBatch(tag), {}}};
    for (int n = 1; n <= FirstEntries; ++n)
        records[0].entries << WriterEntry(0, tag, n);
    if (const Failure failure = cellar->saveAll(records))
        return Fail(*failure);
    const auto& [batch, first] = records[0];
    Report("batch", batch.id, 0);
    for (int n = 1; n <= FirstEntries; ++n)
        Report("entry", first[n - 1].id, n);
    for (int n = FirstEntries + 1; count == 0 || n <= count; ++n) {
        Entry entry = WriterEntry(batch.id, tag, n);
        if (const Failure failure = cellar->save(entry))
            return Fail(*failure);
        Report("entry", entry.id, n);
        Failure failure = QStringLiteral("not tried");
        for (int attempt = 0; failure && attempt < 1000; ++attempt) {
            const Records<Batch> read = cellar->batches(true);
            failure = read.failure.value_or(QStringLiteral("the shared batch is gone"));
            for (Batch b : read.list)
                if (b.id == shared) {
                    b.volume += 1;
                    failure = cellar->save(b);
                }
        }
        if (failure)
            return Fail(*failure);
        Report("add", shared, n);
    }
    return 0;
}
