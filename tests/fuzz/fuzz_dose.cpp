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
    const FormTexts t{
        line(0), line(1),  line(2),
        line(3), line(4),  line(5),
        line(6), line(7),  FormFromText(line(8)).value_or(AllForms[size_t(line(8).size()) % 3]),
        line(9), line(10), line(11),
        line(12)};
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
              ExistingMolecularText(t.existSO2, t.ph)})
            FUZZ_REQUIRE(locale.isStandard(shown));
        FUZZ_REQUIRE(!d.addition.startsWith(locale.locale.negativeSign()));
    }
    return 0;
}
