#pragma once

#include "core/calculation.h"

#include <optional>
#include <QStringList>
#include <vector>

namespace ardovin {

// The free SO2 a wine needs for a molecular SO2 aim, over the pH range of wines, worked out
// from the main window's own texts with the main window's own arithmetic.

// pH in hundredths, so that every step lands on the float that a typed "3.45" reads as.
inline constexpr int CurveFirstPh = 290;
inline constexpr int CurveLastPh = 400;
inline constexpr int TablePhStep = 5;

// The molecular SO2 aims every chart shows: a common one for reds, and one for whites.
inline constexpr float RedMolecularAim = 0.5f;
inline constexpr float WhiteMolecularAim = 0.8f;

// From CurveFirstPh to CurveLastPh in steps of stepHundredths.
std::vector<float> CurvePhValues(int stepHundredths);

// One curve: the free SO2 that holds the aim's molecular SO2 at each pH.
struct Curve
{
    float molecularAim = 0;
    bool isTarget = false; // the main window's own molecular target
    QString name;          // as the legend shows it
};

// What the window shows of the main window's inputs. A text that is empty or not a number
// gives nothing, never a zero.
struct WineCurves
{
    std::vector<Curve> curves;
    std::optional<float> pH;
    std::optional<float> freeSO2;
    std::optional<DoseInputs> dose; // set when an addition can be worked out
    QString additionUnit;
};

WineCurves ReadWineCurves(const FormTexts& texts);

// The wine's point as its label reads ("This wine: pH 3.50, free SO2 10.00 mg/L, ..."), or
// an empty text when pH or free SO2 does not read.
QString WinePointText(const WineCurves& wine);

// What a screen reader is told the chart shows, the wine's point included.
QString ChartDescription(const WineCurves& wine);

// The table: pH, then for each curve its free SO2 and the addition that takes the wine from
// its measured free SO2 there (0.00 where it holds enough already; empty where no addition
// can be worked out). Every number in the user's locale.
struct CurveTable
{
    QStringList header;
    std::vector<QStringList> rows;
};

CurveTable BuildCurveTable(const WineCurves& wine);

// Tab-separated, one line per row after the header, as spreadsheets paste it into columns.
QString TabSeparated(const CurveTable& table);

} // namespace ardovin
