#pragma once
// The main window's texts for the worked batch, as the core tests change them.
#include "core/calculation.h"
#include "tests/support.h"

// 23 U.S. gallons at pH 3.50, from 10 to 40 mg/L free SO2, potassium metabisulphite powder,
// shown in grams; changed by "field=text" pairs separated by blanks (_ for a blank in a text).
// "mol" alone stands for a molecular target of 0.80 with an existing molecular level of 0.20.
inline ardovin::FormTexts Batch(QString changes)
{
    ardovin::FormTexts t;
    const QHash<QString, QString*> fields{
        {"size", &t.batchSize},   {"unit", &t.batchUnit},       {"ph", &t.ph},
        {"exist", &t.existSO2},   {"kind", &t.targetKind},      {"target", &t.targetSO2},
        {"mol", &t.targetMolSO2}, {"source", &t.source},        {"tablet", &t.tabWeight},
        {"percent", &t.solution}, {"addunit", &t.additionUnit}, {"existmol", &t.existMolSO2}};
    changes.replace(QRegularExpression("\\bmol\\b(?!=)"),
                    "kind=Molecular_SO2 mol=0.80 existmol=0.20");
    changes.prepend(
        "size=23 unit=U.S._Gal. ph=3.50 exist=10 kind=Total_Free_SO2 target=40 mol=0.00 "
        "source=Potassium_Metabisulphite form=Powder tablet=0.44 percent=10 addunit=g "
        "existmol=0.00 ");
    for (const Change& change : Changes(changes)) {
        if (change.name == u"form")
            t.form = *ardovin::FormFromText(change.text);
        else
            *fields.value(change.name) = change.text;
    }
    return t;
}
