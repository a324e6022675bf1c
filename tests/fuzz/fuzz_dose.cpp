// The calculation from any main window texts, one a line in the order of FormTexts (a form that
// names no form picks one by its length): the checks come to an answer, every result is finite,
// every text shown is a number in the standard format, the addition never below zero.
#include "core/validation.h"
#include "tests/fuzz/fuzz_support.h"

#include <cmath>

using namespace ardovin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(u'\n');
    const auto line = [&lines](qsizetype i) { return lines.value(i); };
    FormTexts t;
    t.fields = {{InputField::BatchSize, line(0)},    {InputField::Ph, line(2)},
                {InputField::ExistSO2, line(3)},     {InputField::TargetSO2, line(5)},
                {InputField::TargetMolSO2, line(6)}, {InputField::TabWeight, line(9)},
                {InputField::Solution, line(10)}};
    t.batchUnit = line(1);
    t.targetKind = line(4);
    t.source = line(7);
    t.form = FormFromText(line(8)).value_or(AllForms[size_t(line(8).size()) % 3]);
    t.additionUnit = line(11);
    t.existMolSO2 = line(12);
    for (const fuzz::Locale& locale : fuzz::Locales()) {
        locale.use();
        (void)FirstInputError(t);
        (void)Confirmations(t);
        const DoseInputs inputs = ReadDoseInputs(t);
        const DoseResult r = ComputeDose(inputs);
        for (const float value :
             {r.BatchLitres, r.ExistingMolecularSO2, r.TargetFreeSO2, r.TargetMolecularSO2,
              r.FreeSO2Requirement, r.MolecularSO2Requirement, r.Amount, r.ShownAddition})
            FUZZ_REQUIRE(std::isfinite(value));
        const DoseDisplay d = DisplayDose(inputs, r);
        const QString zero = FormatStandard(0.0);
        for (const QString& shown :
             {d.existMolSO2, d.addition, d.so2Requirement, d.molSO2Requirement,
              d.targetSO2.value_or(zero), d.targetMolSO2.value_or(zero),
              ExistingMolecularText(t.field(InputField::ExistSO2), t.field(InputField::Ph))})
            FUZZ_REQUIRE(locale.isStandard(shown));
        FUZZ_REQUIRE(!d.addition.startsWith(locale.locale.negativeSign()));
    }
    return 0;
}
