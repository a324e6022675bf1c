// A cellar whose every call is made on a thread of its own, for a server that may be slow to
// answer or out of reach: the caller's thread waits as it chooses, and may stop waiting.
#include "storage/cellar.h"

#include <atomic>
#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <vector>

namespace ardovin {

namespace {

const QString StoppedWaiting = QStringLiteral(
    "You stopped waiting for the server. What was asked of it may still be done: the window "
    "reads the records again when the server answers. Look there before asking again.");

// Work posted to an object, run by the event loop of the object's thread.
class Job final : public QEvent
{
public:
    explicit Job(std::function<void()> work) : QEvent(Kind()), Work(std::move(work)) {}
    static QEvent::Type Kind()
    {
        static const auto kind = QEvent::Type(QEvent::registerEventType());
        return kind;
    }
    std::function<void()> Work;
};

class Runner final : public QObject
{
public:
    bool event(QEvent* event) override
    {
        if (event->type() != Job::Kind())
            return QObject::event(event);
        static_cast<Job*>(event)->Work();
        return true;
    }
};

// The event loop owns the job once it is posted.
void Post(QObject& to, std::function<void()> work)
{
    QCoreApplication::postEvent(&to, new Job(std::move(work)));
}

// A thread with the cellar it works on, and an object on the caller's thread that other
// clients' changes are told through.
struct Engine
{
    QThread thread;
    Runner runner; // lives on the thread: the work is posted to it
    Runner context;
    std::unique_ptr<Cellar> inner;
};

// Engines whose cellar was closed amid a call the user had stopped waiting for: each ends once
// that call is done, and is collected at the next close, or when Ardovin ends.
struct Reaper
{
    std::vector<std::unique_ptr<Engine>> engines;

    void Collect(bool all)
    {
        std::erase_if(engines, [all](const std::unique_ptr<Engine>& engine) {
            if (!all && !engine->thread.isFinished())
                return false;
            engine->thread.wait();
            return true;
        });
    }
    ~Reaper() { Collect(true); }
};
Reaper& Abandoned()
{
    static Reaper reaper;
    return reaper;
}

class ThreadedCellar final : public Cellar
{
public:
    explicit ThreadedCellar(Waiter wait) : Wait(std::move(wait)), Own(std::make_unique<Engine>())
    {
        Own->runner.moveToThread(&Own->thread);
        Own->thread.start();
    }
    ~ThreadedCellar() override
    {
        *Alive = false;
        Engine* engine = Own.get();
        Post(engine->runner, [engine] {
            engine->inner.reset(); // its connection ends on its own thread
            engine->thread.quit();
        });
        Abandoned().Collect(false);
        if (*InFlight == 0)
            Own->thread.wait();
        else // a call the user stopped waiting for goes on: its thread ends on its own
            Abandoned().engines.push_back(std::move(Own));
    }
    ThreadedCellar(const ThreadedCellar&) = delete;
    ThreadedCellar& operator=(const ThreadedCellar&) = delete;

    bool Open(const QString& location, const QString& password, OpenFailure& failure)
    {
        Engine* engine = Own.get();
        const auto opened =
            Call<std::tuple<OpenFailure, QString, QString, QString>>([engine, location, password] {
                OpenFailure f;
                engine->inner = OpenCellar(location, password, f);
                const Cellar* c = engine->inner.get();
                return c ? std::tuple(f, c->location(), c->readOnlyReason(), c->connectionNote())
                         : std::tuple(f, QString(), QString(), QString());
            });
        if (!opened) {
            failure = OpenFailure{StoppedWaiting, false};
            return false;
        }
        std::tie(failure, Location, ReadOnly, Note) = *opened;
        return failure.reason.isEmpty();
    }

    QString location() const override { return Location; }
    QString readOnlyReason() const override { return ReadOnly; }
    QString connectionNote() const override { return Note; }

    void watch(std::function<void()> changed) override
    {
        Changed = std::move(changed);
        Runner* context = &Own->context;
        const std::shared_ptr<bool> alive = Alive;
        (void)Call<bool>([this, context, alive] {
            Own->inner->watch([this, context, alive] {
                Post(*context, [this, alive] {
                    if (*alive)
                        Tell();
                });
            });
            return true;
        });
    }

    Records<Batch> batches(bool withArchived) const override
    {
        Engine* engine = Own.get();
        return Call<Records<Batch>>(
                   [engine, withArchived] { return engine->inner->batches(withArchived); })
            .value_or(Records<Batch>{{}, StoppedWaiting});
    }
    Records<Entry> entries(qint64 batchId) const override
    {
        Engine* engine = Own.get();
        return Call<Records<Entry>>([engine, batchId] { return engine->inner->entries(batchId); })
            .value_or(Records<Entry>{{}, StoppedWaiting});
    }

    Failure save(Batch& batch) override { return Change(batch, &Cellar::save); }
    Failure save(Entry& entry) override { return Change(entry, &Cellar::save); }
    Failure saveAll(QList<BatchRecords>& batches) override
    {
        return Change(batches, &Cellar::saveAll);
    }
    Failure remove(const Batch& batch) override
    {
        Engine* engine = Own.get();
        return Call<Failure>([engine, batch] { return engine->inner->remove(batch); })
            .value_or(StoppedWaiting);
    }
    Failure remove(const Entry& entry) override
    {
        Engine* engine = Own.get();
        return Call<Failure>([engine, entry] { return engine->inner->remove(entry); })
            .value_or(StoppedWaiting);
    }

private:
    // A change to a record the caller gave: made on a copy, which the caller's record takes
    // only once the change is stored.
    template <typename Record> Failure Change(Record& record, Failure (Cellar::*change)(Record&))
    {
        Engine* engine = Own.get();
        const auto outcome = Call<std::pair<Failure, Record>>([engine, record, change]() mutable {
            Failure failure = (engine->inner.get()->*change)(record);
            return std::pair(failure, record);
        });
        if (!outcome)
            return StoppedWaiting;
        if (!outcome->first)
            record = outcome->second;
        return outcome->first;
    }

    // The work's outcome, once the thread has done it; none where the caller stopped waiting.
    // The work holds nothing of the caller's: it may outlive the call.
    template <typename Result> std::optional<Result> Call(std::function<Result()> work) const
    {
        struct Outcome
        {
            std::optional<Result> result;
            std::atomic<bool> done = false;
        };
        const auto outcome = std::make_shared<Outcome>();
        ++*InFlight;
        Post(Own->runner, [outcome, inFlight = InFlight, work = std::move(work)] {
            outcome->result = work();
            outcome->done.store(true, std::memory_order_release);
            --*inFlight;
        });
        const auto done = [&] { return outcome->done.load(std::memory_order_acquire); };
        ++Calling;
        const bool waited = Wait ? Wait(done) : (WaitUntil(done), true);
        --Calling;
        if (Calling == 0 && std::exchange(Untold, false)) {
            const std::shared_ptr<bool> alive = Alive;
            Post(Own->context, [this, alive] {
                if (*alive)
                    Tell();
            });
        }
        return waited && done() ? std::move(outcome->result) : std::nullopt;
    }

    static void WaitUntil(const std::function<bool()>& done)
    {
        while (!done())
            QThread::msleep(1);
    }

    // Another client's change, told on the caller's thread between its calls.
    void Tell() const
    {
        if (Calling > 0)
            Untold = true;
        else if (Changed)
            Changed();
    }

    Waiter Wait;
    std::unique_ptr<Engine> Own;
    std::shared_ptr<std::atomic<int>> InFlight = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<bool> Alive = std::make_shared<bool>(true);
    QString Location, ReadOnly, Note;
    std::function<void()> Changed;
    mutable int Calling = 0;
    mutable bool Untold = false;
};

} // namespace

std::unique_ptr<Cellar> OpenCellarOnThread(const QString& location, const QString& password,
                                           OpenFailure& failure, Waiter wait)
{
    auto cellar = std::make_unique<ThreadedCellar>(std::move(wait));
    if (!cellar->Open(location, password, failure))
        return nullptr;
    return cellar;
}

} // namespace ardovin
