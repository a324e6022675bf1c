#pragma once
// The main window's texts for the worked batch, as the core tests change them.
#include "core/calculation.h"

#include <QHash>
#include <QStringList>

namespace {

using namespace ardovin;

// The worked batch: 23 U.S. gallons at pH 3.50, from 10 to 40 mg/L free SO2, potassium
// metabisulphite powder, shown in grams; changed by "field=text" pairs separated by blanks.
inline FormTexts Batch(const QString& changes)
{
    FormTexts t{"23",
                "U.S. Gal.",
                "3.50",
                "10",
                "Total Free SO2",
                "40",
                "0.00",
                "Potassium Metabisulphite",
                SourceForm::Powder,
                "0.44",
                "10",
                "g",
                "0.00"};
    const QHash<QString, QString*> fields{
        {"size", &t.batchSize},   {"unit", &t.batchUnit},       {"ph", &t.ph},
        {"exist", &t.existSO2},   {"kind", &t.targetKind},      {"target", &t.targetSO2},
        {"mol", &t.targetMolSO2}, {"source", &t.source},        {"tablet", &t.tabWeight},
        {"percent", &t.solution}, {"addunit", &t.additionUnit}, {"existmol", &t.existMolSO2}};
    for (const QString& change : changes.split(u' ', Qt::SkipEmptyParts)) {
        const QString key = change.section(u'=', 0, 0);
        const QString text = change.section(u'=', 1).replace(u'_', u' ');
        if (key == u"form")
            t.form = *FormFromText(text);
        else
            *fields.value(key) = text;
    }
    return t;
}

} // namespace
