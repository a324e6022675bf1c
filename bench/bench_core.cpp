#include "core/dose.h"
#include "core/numbers.h"

#include <benchmark/benchmark.h>

using namespace ardovin;

static void BM_ComputeDose(benchmark::State& state)
{
    DoseInputs in;
    in.BatchSize = 23;
    in.BatchUnit = BatchUnit::USGallon;
    in.PH = 3.5f;
    in.ExistingFreeSO2 = 10;
    in.TargetKind = TargetKind::TotalFree;
    in.TargetFreeSO2 = 40;
    in.Source = SulphiteSource::PotassiumMetabisulphite;
    in.Form = SourceForm::Solution;
    in.SolutionPercent = 10;
    in.AdditionUnit = AdditionUnit::Teaspoons;
    for (auto _ : state) {
        benchmark::DoNotOptimize(in);
        benchmark::DoNotOptimize(ComputeDose(in));
    }
}
BENCHMARK(BM_ComputeDose);

static void BM_FormatStandardNumber(benchmark::State& state)
{
    double value = 1234.5678;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(FormatStandard(value));
    }
}
BENCHMARK(BM_FormatStandardNumber);

// A plain text, as a field holds it, and a grouped one, as a result label holds it.
static void BM_FormatStandardText(benchmark::State& state, const char* text)
{
    const QString field = QString::fromLatin1(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatStandard(field));
}
BENCHMARK_CAPTURE(BM_FormatStandardText, plain, "1234.5");
BENCHMARK_CAPTURE(BM_FormatStandardText, grouped, "1,234.5");

static void BM_ReadSingle(benchmark::State& state)
{
    const QString text = QStringLiteral("3.50");
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadSingle(text));
}
BENCHMARK(BM_ReadSingle);

static void BM_NumberLocale(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(NumberLocale());
}
BENCHMARK(BM_NumberLocale);

static void BM_ReadSingleGivenLocale(benchmark::State& state)
{
    const QString text = QStringLiteral("3.50");
    const QLocale locale = NumberLocale();
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseNumber(text, locale));
}
BENCHMARK(BM_ReadSingleGivenLocale);

BENCHMARK_MAIN();
