// One press of Calculate on a filled main window: the validation, the calculation and the
// label updates, in process.
#include "settings/settings_format.h"
#include "ui/frmSulfite.h"
#include "ui/modProc.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

void SetField(frmSulfite& window, const char* name, const QString& text)
{
    window.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
}

void BM_CalculatePress(benchmark::State& state)
{
    QTemporaryDir folder;
    QFile settings(folder.filePath(QStringLiteral("settings.cfg")));
    settings.open(QIODevice::WriteOnly);
    settings.write(ardovin::SettingsFileBytes(ardovin::UserDefaults()));
    settings.close();
    // Any message would be a fault in the inputs below; answer it rather than block.
    modProc::SetMessageHandler([](const modProc::MessageRequest&) { return modProc::Answer::Yes; });

    frmSulfite window(folder.path(), folder.filePath(QStringLiteral("ardovin.lock")));
    window.Form_Load();
    window.show();
    SetField(window, "txtBatchSize", QStringLiteral("23"));
    SetField(window, "txtExistSO2", QStringLiteral("10"));
    SetField(window, "txtTargetSO2", QStringLiteral("40"));
    for (auto _ : state) {
        window.cmdCalculate_Click();
        QCoreApplication::processEvents(); // the label repaints
    }
    modProc::SetMessageHandler({});
}
BENCHMARK(BM_CalculatePress)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
