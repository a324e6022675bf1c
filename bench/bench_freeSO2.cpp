// Opening the Free SO2 by pH window from the Tools menu, until it is on the screen: the
// first time (the window is built), and again after it was closed (the window is kept, so this is
// its refresh from the main window's fields and its paint).
#include "settings/settings_format.h"
#include "ui/frmSulfite.h"
#include "ui/modProc.h"

#include <benchmark/benchmark.h>
#include <optional>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWindow>

namespace {

// Handles events until the window is on the screen; Qt paints a widget window as it is exposed.
void WaitUntilExposed(const QWidget& window)
{
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// A main window with the worked batch in it, its defaults from a settings.cfg beside it.
class FilledWindow
{
public:
    FilledWindow()
    {
        QFile settings(folder.filePath(QStringLiteral("settings.cfg")));
        settings.open(QIODevice::WriteOnly);
        settings.write(ardovin::SettingsFileBytes(ardovin::UserDefaults()));
        settings.close();
        window.Form_Load();
        window.show();
        for (auto [name, text] : {std::pair{"txtBatchSize", "23"}, {"txtExistSO2", "10"}})
            window.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
        WaitUntilExposed(window);
    }

    // Chooses Tools, Free SO2 by pH... and waits until the window is on the screen.
    QWidget& open()
    {
        window.findChild<QAction*>(QStringLiteral("mnuToolsFreeSO2"))->trigger();
        auto* chart = window.findChild<QWidget*>(QStringLiteral("frmFreeSO2"));
        if (!chart)
            qFatal("the Free SO2 by pH window did not open");
        WaitUntilExposed(*chart);
        return *chart;
    }

    QTemporaryDir folder;
    frmSulfite window{folder.path(), folder.filePath(QStringLiteral("ardovin.lock"))};
};

void BM_FirstOpenFreeSO2Window(benchmark::State& state)
{
    std::optional<FilledWindow> main;
    for (auto _ : state) {
        state.PauseTiming();
        main.emplace();
        state.ResumeTiming();
        main->open();
    }
}
// Once per process, as a user first opens it: fonts and styles are loaded only once.
BENCHMARK(BM_FirstOpenFreeSO2Window)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_ReopenFreeSO2Window(benchmark::State& state)
{
    FilledWindow main;
    QWidget& chart = main.open();
    for (auto _ : state) {
        state.PauseTiming();
        chart.close();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        main.open();
    }
}
BENCHMARK(BM_ReopenFreeSO2Window)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Any message would be a fault in the inputs above; answer it rather than block.
    modProc::SetMessageHandler([](const modProc::MessageRequest&) { return modProc::Answer::Ok; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    modProc::SetMessageHandler({});
    return 0;
}
