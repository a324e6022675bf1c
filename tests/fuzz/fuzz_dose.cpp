// The calculation from the main window's texts, whatever they hold.
//
// The input is the window's texts, one a line, in this order: batch size, batch unit, pH,
// existing SO2, target kind, target SO2, target molecular SO2, compound, source form, tablet
// weight, solution percentage, addition unit, existing molecular SO2 caption. A form text that
// names no form picks one by its length. Each input is calculated in an English and a German
// locale. Every text that the window would show must be a finite number in the standard
// format, and the shown addition is never below zero.
#include "core/calculation.h"
#include "core/validation.h"
#include "tests/fuzz/fuzz_support.h"

#include <cmath>
#include <cstdint>

using namespace ardovin;

namespace {

ardovin::FormTexts TextsFrom(const QString& input)
{
    const QStringList lines = input.split(u'\n');
    auto line = [&lines](qsizetype index) { return lines.value(index); };
    FormTexts texts;
    texts.batchSize = line(0);
    texts.batchUnit = line(1);
    texts.ph = line(2);
    texts.existSO2 = line(3);
    texts.targetKind = line(4);
    texts.targetSO2 = line(5);
    texts.targetMolSO2 = line(6);
    texts.source = line(7);
    texts.form = FormFromText(line(8)).value_or(AllForms[line(8).size() % AllForms.size()]);
    texts.tabWeight = line(9);
    texts.solution = line(10);
    texts.additionUnit = line(11);
    texts.existMolSO2 = line(12);
    return texts;
}

void CheckShown(const QString& shown, const char* what, const fuzz::FuzzLocale& locale,
                const QString& input)
{
    const QString context = QString::fromLatin1(locale.name) + u' ' + QString::fromLatin1(what) +
                            QStringLiteral(" shown as ") + fuzz::Shown(shown) +
                            QStringLiteral(" for ") + fuzz::Shown(input);
    FUZZ_REQUIRE(locale.standard.matches(shown), context);
    const std::optional<double> back = ParseNumber(shown, locale.locale).value;
    FUZZ_REQUIRE(back && std::isfinite(*back), context);
}

void Calculate(const QString& input, const fuzz::FuzzLocale& locale)
{
    fuzz::UseLocale(locale);
    const FormTexts texts = TextsFrom(input);
    // The validation sees the same texts first; it must come to an answer on any of them.
    (void)FirstInputError(texts);
    (void)Confirmations(texts);

    const DoseInputs inputs = ReadDoseInputs(texts);
    const DoseResult result = ComputeDose(inputs);
    for (const float value : {result.BatchLitres, result.ExistingMolecularSO2, result.TargetFreeSO2,
                              result.TargetMolecularSO2, result.FreeSO2Requirement,
                              result.MolecularSO2Requirement, result.Amount, result.AmountTsp,
                              result.AmountTbsp, result.AmountOz, result.ShownAddition})
        FUZZ_REQUIRE(std::isfinite(value), fuzz::Shown(input));

    const DoseDisplay shown = DisplayDose(inputs, result);
    CheckShown(shown.existMolSO2, "existing molecular SO2", locale, input);
    CheckShown(shown.addition, "addition", locale, input);
    FUZZ_REQUIRE(!locale.standard.isNegative(shown.addition), fuzz::Shown(shown.addition));
    CheckShown(shown.so2Requirement, "SO2 requirement", locale, input);
    CheckShown(shown.molSO2Requirement, "molecular SO2 requirement", locale, input);
    if (shown.targetSO2)
        CheckShown(*shown.targetSO2, "target SO2", locale, input);
    if (shown.targetMolSO2)
        CheckShown(*shown.targetMolSO2, "target molecular SO2", locale, input);
    CheckShown(ExistingMolecularText(texts.existSO2, texts.ph), "existing molecular caption",
               locale, input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const fuzz::FuzzLocale& locale : fuzz::Locales())
        Calculate(input, locale);
    return 0;
}
