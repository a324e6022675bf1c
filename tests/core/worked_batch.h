#pragma once
// The main window's texts for the worked batch, as the core tests change them.
#include "core/calculation.h"
#include "tests/support.h"

// 23 U.S. gallons at pH 3.50, from 10 to 40 mg/L free SO2, potassium metabisulphite powder,
// shown in grams; changed by "field=text" pairs separated by blanks (_ for a blank in a text).
// "mol" alone stands for a molecular target of 0.80 with an existing molecular level of 0.20.
inline ardovin::FormTexts Batch(QString changes)
{
    ardovin::FormTexts t{"23",
                         "U.S. Gal.",
                         "3.50",
                         "10",
                         "Total Free SO2",
                         "40",
                         "0.00",
                         "Potassium Metabisulphite",
                         ardovin::SourceForm::Powder,
                         "0.44",
                         "10",
                         "g",
                         "0.00"};
    const QHash<QString, QString*> fields{
        {"size", &t.batchSize},   {"unit", &t.batchUnit},       {"ph", &t.ph},
        {"exist", &t.existSO2},   {"kind", &t.targetKind},      {"target", &t.targetSO2},
        {"mol", &t.targetMolSO2}, {"source", &t.source},        {"tablet", &t.tabWeight},
        {"percent", &t.solution}, {"addunit", &t.additionUnit}, {"existmol", &t.existMolSO2}};
    changes.replace(QRegularExpression("\\bmol\\b(?!=)"),
                    "kind=Molecular_SO2 mol=0.80 existmol=0.20");
    for (const QString& change : changes.split(u' ', Qt::SkipEmptyParts)) {
        const QString key = change.section(u'=', 0, 0),
                      text = change.section(u'=', 1).replace(u'_', u' ');
        if (key == u"form")
            t.form = *ardovin::FormFromText(text);
        else
            *fields.value(key) = text;
    }
    return t;
}
